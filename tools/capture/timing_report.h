// Frame times of a capture, grouped by the scenes drawn: the CSV record of every frame, the
// per-scene summary (median, 95th percentile, worst; with the frame timer's figures, the GPU's
// time of the frame and of each scene and pass, median and 95th percentile), and the gnuplot
// script that draws frame time (and each pass's) against demo time with the scene windows
// shaded. No GL, no clock.
//
//   std::vector<FrameTiming> frames = ...;   // one per rendered frame
//   std::cout << formatTimingTable(summariseTimings(frames));
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace Quorvel::Capture {

struct PassTiming {
    std::string name;  // "helix", "helix/object", "resolve"
    double ms;
};

struct FrameTiming {
    FrameTiming(long frame, double time, std::string scenes, double renderMs)
        : frame(frame), time(time), scenes(std::move(scenes)), renderMs(renderMs) {}
    long frame;
    double time;         // demo time, s
    std::string scenes;  // the scenes drawn, "tube+landscape"
    double renderMs;     // to glFinish, on the CPU's clock
    double gpuMs = -1.0;             // the frame timer's figure for the whole frame; below 0: none
    double cpuMs = -1.0;             // the CPU's time issuing the frame (the frame timer's), likewise
    std::vector<PassTiming> passes;  // its scenes and passes
};

struct PassSummary {
    std::string name;
    double medianMs = 0.0, p95Ms = 0.0;
};

struct TimingSummary {
    std::string scenes;
    long frames = 0;
    double medianMs = 0.0, p95Ms = 0.0, worstMs = 0.0;
    double gpuMedianMs = -1.0, gpuP95Ms = -1.0;  // below 0: not timed
    double cpuMedianMs = -1.0;
    std::vector<PassSummary> passes;             // in the order first drawn
};

// What the report's head says of where the times come from.
struct TimingHead {
    std::string renderer;  // GL_RENDERER
    int width = 0, height = 0;
    int samples = 0;
    bool gpuTimes = false;  // false: the frame timer read the CPU's clock
};
std::string formatTimingHead(const TimingHead& head);

// One row per distinct scene set, in the order the sets first appear; the 95th percentile is
// the nearest rank, the median of an even count the mean of the middle two.
std::vector<TimingSummary> summariseTimings(const std::vector<FrameTiming>& frames);
// Each set's row, then where timed, one line per scene and pass of it.
std::string formatTimingTable(const std::vector<TimingSummary>& rows);

// One line per frame; where frames were timed, a gpu_ms column and one column per scene and
// pass (in the order first drawn, empty where it did not draw).
void writeTimingCsv(std::ostream& out, const std::vector<FrameTiming>& frames);
// The pass columns writeTimingCsv writes, in order (none without timed frames).
std::vector<std::string> passColumns(const std::vector<FrameTiming>& frames);

struct SceneWindow {
    std::string label;
    double start, end;
};
// A gnuplot script that reads `csvPath` and writes `pngPath`: the render time, and where the
// CSV has them (`passes`, its pass columns), the frame's GPU time and each pass's below it.
std::string timingPlotScript(const std::string& csvPath, const std::string& pngPath,
                             const std::vector<SceneWindow>& windows, double from, double to,
                             const std::vector<std::string>& passes = {}, const std::string& title = "");

}  // namespace Quorvel::Capture
