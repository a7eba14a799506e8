// Frame times of a capture, grouped by the scenes drawn: the CSV record of every frame, the
// per-scene summary (median, 95th percentile, worst), and the gnuplot script that draws frame
// time against demo time with the scene windows shaded. No GL, no clock.
//
//   std::vector<FrameTiming> frames = ...;   // one per rendered frame
//   std::cout << formatTimingTable(summariseTimings(frames));
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace Quorvel::Capture {

struct FrameTiming {
    long frame;
    double time;         // demo time, s
    std::string scenes;  // the scenes drawn, "tube+landscape"
    double renderMs;
};

struct TimingSummary {
    std::string scenes;
    long frames = 0;
    double medianMs = 0.0, p95Ms = 0.0, worstMs = 0.0;
};

// One row per distinct scene set, in the order the sets first appear; the 95th percentile is
// the nearest rank, the median of an even count the mean of the middle two.
std::vector<TimingSummary> summariseTimings(const std::vector<FrameTiming>& frames);
std::string formatTimingTable(const std::vector<TimingSummary>& rows);

void writeTimingCsv(std::ostream& out, const std::vector<FrameTiming>& frames);

struct SceneWindow {
    std::string label;
    double start, end;
};
// A gnuplot script that reads `csvPath` and writes `pngPath`.
std::string timingPlotScript(const std::string& csvPath, const std::string& pngPath,
                             const std::vector<SceneWindow>& windows, double from, double to);

}  // namespace Quorvel::Capture
