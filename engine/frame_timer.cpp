#include "engine/frame_timer.h"

#include <algorithm>

namespace Quorvel {

std::vector<SpanTime> spanTimes(const std::vector<std::string>& opens, const std::vector<double>& intervalsMs) {
    std::vector<SpanTime> spans;
    std::vector<std::size_t> openSpans;  // indices into spans, outermost first
    for (std::size_t i = 0; i < opens.size(); ++i) {
        if (!opens[i].empty()) {
            auto found = std::find_if(spans.begin(), spans.end(), [&](const SpanTime& s) { return s.name == opens[i]; });
            if (found == spans.end()) found = spans.insert(spans.end(), SpanTime{opens[i], 0.0});
            openSpans.push_back(std::size_t(found - spans.begin()));
        } else if (!openSpans.empty()) {
            openSpans.pop_back();
        }
        if (i < intervalsMs.size())
            for (std::size_t s : openSpans) spans[s].ms += intervalsMs[i];
    }
    return spans;
}

FrameTimer::FrameTimer(std::unique_ptr<TimerBackend> backend) : backend(std::move(backend)) {}

void FrameTimer::beginFrame(long frame) {
    if (open) endFrame(0.0);  // a frame left open is closed rather than mixed with this one
    readBack(false);
    Slot& slot = slots[next];
    if (slot.pending) ++droppedFrames;  // still in flight after kSlots frames: not waited for
    slot = Slot{};
    slot.frame = frame;
    open = &slot;
    stack.clear();
    mark("");
}

void FrameTimer::begin(const char* name) {
    if (!open) return;
    // Room is kept for this span's end, the ends of those around it and the frame's end; a span
    // that does not fit is not timed, and its end must then write nothing either.
    const bool fits = open->opens.size() + 2 + stack.size() < std::size_t(kMarks);
    std::string full = stack.empty() || stack.back().empty() ? name : stack.back() + "/" + name;
    if (!fits) full.clear();
    stack.push_back(full);
    if (fits) mark(full);
}

void FrameTimer::end() {
    if (!open || stack.empty()) return;
    const bool timed = !stack.back().empty();
    stack.pop_back();
    if (timed) mark("");
}

void FrameTimer::endFrame(double cpuMs) {
    if (!open) return;
    while (!stack.empty()) end();
    mark("");
    open->cpuMs = cpuMs;
    open->pending = true;
    open = nullptr;
    next = (next + 1) % kSlots;
}

void FrameTimer::mark(const std::string& opens) {
    backend->mark(int(open - slots), int(open->opens.size()));
    open->opens.push_back(opens);
}

// Oldest first, stopping at the first frame not ready: a younger one is not either, and the
// frames come out in order.
void FrameTimer::readBack(bool wait) {
    if (wait) backend->drain();
    for (int k = 0; k < kSlots; ++k) {
        const int index = (next + k) % kSlots;
        Slot& slot = slots[index];
        if (!slot.pending) continue;
        if (!wait && !backend->ready(index, int(slot.opens.size()))) break;
        collect(slot, index);
    }
}

void FrameTimer::collect(Slot& slot, int index) {
    std::vector<double> intervals;
    for (int i = 0; i + 1 < int(slot.opens.size()); ++i) intervals.push_back(backend->intervalMs(index, i));
    TimedFrame frame;
    frame.frame = slot.frame;
    frame.cpuMs = slot.cpuMs;
    for (double ms : intervals) frame.frameMs += ms;
    frame.spans = spanTimes(slot.opens, intervals);
    ready.push_back(std::move(frame));
    slot.pending = false;
}

std::vector<TimedFrame> FrameTimer::take() {
    if (!open) readBack(false);  // between frames only: a backend may end a running query to look
    std::vector<TimedFrame> frames;
    frames.swap(ready);
    return frames;
}

void FrameTimer::finish() { readBack(true); }

namespace {
FrameTimer* active = nullptr;
}

FrameTimer* activeFrameTimer() { return active; }
void setActiveFrameTimer(FrameTimer* timer) { active = timer; }

TimedPass::TimedPass(const char* name) : timer(active && active->inFrame() ? active : nullptr) {
    if (timer) timer->begin(name);
}

TimedPass::~TimedPass() {
    if (timer) timer->end();
}

}  // namespace Quorvel
