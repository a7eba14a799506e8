#include "tools/preview/timing_overlay_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "runtime/sample_statistics.h"

namespace Quorvel::Preview {

namespace {

constexpr int kNameColumns = 14;    // a span's name, indented, then its figure
constexpr float kMargin = 12.0f;    // from the picture's corner to the panel
constexpr float kPadding = 8.0f;    // inside the panel
constexpr float kGap = 6.0f;        // between the figures, the graph and its legend
constexpr float kGraphHeight = 72.0f;
constexpr float kGraphMinWidth = 240.0f;

std::string figure(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, ms < 1000.0 ? "%7.2f" : "%7.0f", ms);
    return text;
}

// "helix/object" reads "  object": the leaf, indented by its depth, cut to fit its column.
std::string spanLabel(const std::string& name) {
    const std::size_t depth = std::size_t(std::count(name.begin(), name.end(), '/'));
    const std::size_t slash = name.rfind('/');
    std::string label = std::string(2 * depth, ' ') + (slash == std::string::npos ? name : name.substr(slash + 1));
    if (label.size() > kNameColumns - 1) label.resize(kNameColumns - 1);
    return label + std::string(kNameColumns - label.size(), ' ');
}

TextLine figureLine(const std::string& name, double ms, Ink ink) { return {{spanLabel(name) + figure(ms), ink}}; }

// Whole frame intervals, at least two, so that the slowest frame of the history fits.
double graphTopMs(const TimingHistory& history, double intervalMs) {
    double slowest = 0.0;
    for (const TimingHistory::Entry& entry : history.entries())
        slowest = std::max({slowest, entry.frame.frameMs, entry.frame.cpuMs});
    return std::max(2.0, std::ceil(slowest / intervalMs)) * intervalMs;
}

}  // namespace

double frameIntervalMs(int refreshHz) { return 1000.0 / (refreshHz > 0 ? refreshHz : 60); }

void TimingHistory::add(std::vector<TimedFrame> frames, double now) {
    for (TimedFrame& frame : frames) recent.push_back({now, std::move(frame)});
    while (!recent.empty() && recent.front().at < now - kGraphSeconds) recent.pop_front();
}

TimingSummary summarise(const TimingHistory& history, double now) {
    std::vector<const TimedFrame*> latest;
    for (const TimingHistory::Entry& entry : history.entries())
        if (entry.at >= now - kMedianSeconds && entry.at <= now) latest.push_back(&entry.frame);
    TimingSummary summary;
    summary.frames = int(latest.size());
    if (latest.empty()) return summary;
    std::vector<double> frameMs, cpuMs;
    for (const TimedFrame* frame : latest) {
        frameMs.push_back(frame->frameMs);
        cpuMs.push_back(frame->cpuMs);
    }
    summary.frameMs = median(frameMs);
    summary.cpuMs = median(cpuMs);
    for (const SpanTime& span : latest.back()->spans) {
        std::vector<double> ms;
        for (const TimedFrame* frame : latest)
            for (const SpanTime& s : frame->spans)
                if (s.name == span.name) ms.push_back(s.ms);
        summary.passes.push_back({span.name, median(ms)});
    }
    return summary;
}

TimingGraph graphOf(const TimingHistory& history, double now, double intervalMs, const Box& box) {
    TimingGraph graph;
    graph.box = box;
    graph.topMs = graphTopMs(history, intervalMs);
    // Pixels, not edges: the box's last row and column are height - 1 and width - 1 from its first.
    auto y = [&](double ms) {
        return float(box.y + (box.height - 1.0) * (1.0 - std::min(ms, graph.topMs) / graph.topMs));
    };
    graph.intervalY = y(intervalMs);
    for (const TimingHistory::Entry& entry : history.entries()) {
        const double along = std::clamp((entry.at - (now - kGraphSeconds)) / kGraphSeconds, 0.0, 1.0);
        const float x = float(box.x + (box.width - 1.0) * along);
        graph.frame.push_back({x, y(entry.frame.frameMs)});
        graph.cpu.push_back({x, y(entry.frame.cpuMs)});
    }
    return graph;
}

std::string plainText(const TextLine& line) {
    std::string text;
    for (const TextRun& run : line) text += run.text;
    return text;
}

std::vector<TextLine> figureLines(const TimingSummary& summary, bool gpu) {
    std::vector<TextLine> lines;
    lines.push_back({{gpu ? "GPU ms, median of 1 s" : "CPU ms, median of 1 s", Ink::Heading}});
    if (!gpu) lines.push_back({{"(no GPU timer queries)", Ink::Note}});
    if (summary.frames == 0) {
        lines.push_back({{"waiting for timed frames", Ink::Note}});
        return lines;
    }
    lines.push_back(figureLine(gpu ? "frame GPU" : "frame", summary.frameMs, Ink::Frame));
    lines.push_back(figureLine("frame CPU", summary.cpuMs, Ink::Cpu));
    for (const PassTime& pass : summary.passes) lines.push_back(figureLine(pass.name, pass.ms, Ink::Text));
    return lines;
}

std::vector<TextLine> graphLines(bool gpu, double intervalMs, double topMs) {
    char span[32], scale[64];
    std::snprintf(span, sizeof span, " ms, last %.0f s", kGraphSeconds);
    std::snprintf(scale, sizeof scale, " %.1f ms = %.0f Hz, top %.0f ms", intervalMs, 1000.0 / intervalMs, topMs);
    return {
        {{gpu ? "GPU" : "frame", Ink::Frame},
         {" and ", Ink::Note},
         {"CPU", Ink::Cpu},
         {gpu ? span : " ms, CPU clock", Ink::Note}},
        {{"--", Ink::Interval}, {scale, Ink::Note}},
    };
}

OverlayPicture composeOverlay(const TimingHistory& history, double now, bool gpu, double intervalMs, CellSize cell) {
    const std::vector<TextLine> figures = figureLines(summarise(history, now), gpu);
    const std::vector<TextLine> legend = graphLines(gpu, intervalMs, graphTopMs(history, intervalMs));
    std::size_t columns = 0;
    for (const std::vector<TextLine>* lines : {&figures, &legend})
        for (const TextLine& line : *lines) columns = std::max(columns, plainText(line).size());
    const float innerWidth = std::max(kGraphMinWidth, float(columns) * float(cell.advance));

    OverlayPicture picture;
    float y = kMargin + kPadding;
    const float left = kMargin + kPadding;
    auto place = [&](const std::vector<TextLine>& lines) {
        for (const TextLine& line : lines) {
            float x = left;
            for (const TextRun& run : line) {
                picture.text.push_back({{x, y}, run});
                x += float(run.text.size()) * float(cell.advance);
            }
            y += float(cell.lineHeight);
        }
    };
    place(figures);
    y += kGap;
    picture.graph = graphOf(history, now, intervalMs, {left, y, innerWidth, kGraphHeight});
    y += kGraphHeight + kGap;
    place(legend);
    picture.panel = {kMargin, kMargin, innerWidth + 2 * kPadding, y + kPadding - kMargin};
    return picture;
}

}  // namespace Quorvel::Preview
