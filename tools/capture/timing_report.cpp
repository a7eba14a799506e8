#include "tools/capture/timing_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <sstream>

#include "runtime/sample_statistics.h"

namespace Quorvel::Capture {

std::vector<TimingSummary> summariseTimings(const std::vector<FrameTiming>& frames) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> bySet;
    for (const FrameTiming& f : frames) {
        auto [it, added] = bySet.try_emplace(f.scenes);
        if (added) order.push_back(f.scenes);
        it->second.push_back(f.renderMs);
    }
    std::vector<TimingSummary> rows;
    for (const std::string& set : order) {
        const std::vector<double>& ms = bySet[set];
        TimingSummary row;
        row.scenes = set;
        row.frames = long(ms.size());
        row.medianMs = median(ms);
        row.p95Ms = percentile(ms, 0.95);
        row.worstMs = *std::max_element(ms.begin(), ms.end());
        rows.push_back(row);
    }
    return rows;
}

std::string formatTimingTable(const std::vector<TimingSummary>& rows) {
    std::ostringstream out;
    char line[160];
    std::snprintf(line, sizeof line, "%-22s %7s %10s %10s %10s\n", "scenes", "frames", "median ms", "p95 ms", "worst ms");
    out << line;
    for (const TimingSummary& r : rows) {
        std::snprintf(line, sizeof line, "%-22s %7ld %10.2f %10.2f %10.2f\n", r.scenes.c_str(), r.frames, r.medianMs,
                      r.p95Ms, r.worstMs);
        out << line;
    }
    return out.str();
}

void writeTimingCsv(std::ostream& out, const std::vector<FrameTiming>& frames) {
    out << "frame,time_s,scenes,render_ms\n";
    char line[128];
    for (const FrameTiming& f : frames) {
        std::snprintf(line, sizeof line, "%ld,%.6f,%s,%.4f\n", f.frame, f.time, f.scenes.c_str(), f.renderMs);
        out << line;
    }
}

std::string timingPlotScript(const std::string& csvPath, const std::string& pngPath,
                             const std::vector<SceneWindow>& windows, double from, double to) {
    static const char* const kShades[] = {"#4c72b0", "#dd8452", "#55a868", "#c44e52", "#8172b3", "#937860"};
    std::ostringstream s;
    s << "set terminal pngcairo size 1400,500 font 'Sans,10'\n"
      << "set output '" << pngPath << "'\n"
      << "set datafile separator ','\n"
      << "set title 'Frame render time'\n"
      << "set xlabel 'demo time (s)'\nset ylabel 'render time (ms)'\n"
      << "set xrange [" << from << ":" << to << "]\nset yrange [0:*]\nset grid ytics\nset key off\n";
    int i = 0;
    for (const SceneWindow& w : windows) {
        const double start = std::max(w.start, from), end = std::min(w.end, to);
        if (end <= start) continue;
        const char* shade = kShades[i % 6];
        // Overlapping windows stack their shades; the labels sit at two heights so they do not collide.
        s << "set object " << i + 1 << " rect from " << start << ", graph 0 to " << end
          << ", graph 1 behind fc rgb '" << shade << "' fs transparent solid 0.15 noborder\n";
        s << "set label " << i + 1 << " '" << w.label << "' at " << start << ", graph " << (i % 2 ? 0.9 : 0.96)
          << " offset 0.5,0 tc rgb '" << shade << "'\n";
        ++i;
    }
    s << "plot '" << csvPath << "' using 2:4 every ::1 with lines lw 1.2 lc rgb '#222222'\n";
    return s.str();
}

}  // namespace Quorvel::Capture
