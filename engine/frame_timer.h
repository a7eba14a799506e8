// Where a frame's time goes, pass by pass, without waiting for the GPU. A frame is a run of
// marks: each begin or end of a named span (a scene, a pass of it) writes one, and the time
// between two marks counts for every span open across it, so nested spans need no nested
// queries. The marks themselves are written by a backend (GPU timer queries, or the CPU's
// clock where the driver has none); a frame is read back only once all its marks are ready,
// a few frames later, from a small ring of frames in flight. No GL here.
//
//   FrameTimer timer(makeTimerBackend());          // engine/gpu_timer.h
//   timer.beginFrame(n);  { TimedPass pass("object"); ... }  timer.endFrame(cpuMs);
//   for (const TimedFrame& f : timer.take()) ...    // frames read back since the last take
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Quorvel {

// Writes and reads the marks of frames in flight. A slot holds one frame's marks.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    // Mark `index` of the frame in `slot`, at this point of the command stream.
    virtual void mark(int slot, int index) = 0;
    // Whether marks 0 .. count - 1 of `slot` can be read without waiting.
    virtual bool ready(int slot, int count) = 0;
    // Milliseconds between marks `index` and `index + 1` of `slot` (once ready).
    virtual double intervalMs(int slot, int index) = 0;
    // Waits until everything marked so far is ready (the end of a run; it stalls).
    virtual void drain() = 0;
    // True for GPU times, false for the CPU's clock.
    virtual bool gpu() const = 0;
};

struct SpanTime {
    std::string name;  // "helix", "helix/object": the scene, then the pass within it
    double ms = 0.0;
};

struct TimedFrame {
    long frame = 0;        // the number given to beginFrame
    double frameMs = 0.0;  // first mark to last: the whole frame as drawn
    double cpuMs = 0.0;    // as given to endFrame
    std::vector<SpanTime> spans;  // in the order they were opened; a span opened twice is summed
};

// The spans of one frame from its marks: `opens[i]` is the name opened at mark i, or empty where
// mark i closes the innermost open span; `intervalsMs[i]` lies between marks i and i + 1.
std::vector<SpanTime> spanTimes(const std::vector<std::string>& opens, const std::vector<double>& intervalsMs);

class FrameTimer {
public:
    static constexpr int kSlots = 4;     // frames in flight before one is dropped rather than waited for
    static constexpr int kMarks = 128;   // marks a frame can hold; spans beyond it are not timed

    explicit FrameTimer(std::unique_ptr<TimerBackend> backend);

    void beginFrame(long frame);
    void begin(const char* name);
    void end();
    void endFrame(double cpuMs);
    // The frames read back since the last call, oldest first.
    std::vector<TimedFrame> take();
    // Reads back every frame still in flight, waiting for the GPU.
    void finish();

    bool gpu() const { return backend->gpu(); }
    bool inFrame() const { return open != nullptr; }
    // Frames whose slot was needed again before they were ready: their times are lost.
    long dropped() const { return droppedFrames; }

private:
    struct Slot {
        bool pending = false;
        long frame = 0;
        double cpuMs = 0.0;
        std::vector<std::string> opens;  // one entry per mark
        int depth = 0;
    };
    void mark(const std::string& opens);
    void readBack(bool wait);
    void collect(Slot& slot, int index);

    std::unique_ptr<TimerBackend> backend;
    Slot slots[kSlots];
    int next = 0;              // the slot the next frame takes
    Slot* open = nullptr;      // the frame being drawn
    std::vector<std::string> stack;  // names of the open spans, outermost first
    std::vector<TimedFrame> ready;
    long droppedFrames = 0;
};

// The frame being timed, for passes to name themselves in; null when nothing is timed.
FrameTimer* activeFrameTimer();
void setActiveFrameTimer(FrameTimer* timer);

// A span for as long as it lives, in the active timer's frame; nothing at all when none is timing.
class TimedPass {
public:
    explicit TimedPass(const char* name);
    ~TimedPass();
    TimedPass(const TimedPass&) = delete;
    TimedPass& operator=(const TimedPass&) = delete;

private:
    FrameTimer* timer;
};

}  // namespace Quorvel
