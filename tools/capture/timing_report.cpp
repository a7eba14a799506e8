#include "tools/capture/timing_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <sstream>

#include "runtime/sample_statistics.h"

namespace Quorvel::Capture {

namespace {

struct SetFigures {
    std::vector<double> renderMs, gpuMs, cpuMs;
    std::vector<std::string> passOrder;
    std::map<std::string, std::vector<double>> passMs;
};

}  // namespace

std::vector<TimingSummary> summariseTimings(const std::vector<FrameTiming>& frames) {
    std::vector<std::string> order;
    std::map<std::string, SetFigures> bySet;
    for (const FrameTiming& f : frames) {
        auto [it, added] = bySet.try_emplace(f.scenes);
        if (added) order.push_back(f.scenes);
        SetFigures& set = it->second;
        set.renderMs.push_back(f.renderMs);
        if (f.gpuMs < 0.0) continue;
        set.gpuMs.push_back(f.gpuMs);
        set.cpuMs.push_back(f.cpuMs);
        for (const PassTiming& pass : f.passes) {
            auto [passIt, newPass] = set.passMs.try_emplace(pass.name);
            if (newPass) set.passOrder.push_back(pass.name);
            passIt->second.push_back(pass.ms);
        }
    }
    std::vector<TimingSummary> rows;
    for (const std::string& name : order) {
        const SetFigures& set = bySet[name];
        TimingSummary row;
        row.scenes = name;
        row.frames = long(set.renderMs.size());
        row.medianMs = median(set.renderMs);
        row.p95Ms = percentile(set.renderMs, 0.95);
        row.worstMs = *std::max_element(set.renderMs.begin(), set.renderMs.end());
        if (!set.gpuMs.empty()) {
            row.gpuMedianMs = median(set.gpuMs);
            row.gpuP95Ms = percentile(set.gpuMs, 0.95);
            row.cpuMedianMs = median(set.cpuMs);
        }
        for (const std::string& pass : set.passOrder) {
            const std::vector<double>& ms = set.passMs.at(pass);
            row.passes.push_back({pass, median(ms), percentile(ms, 0.95)});
        }
        rows.push_back(row);
    }
    return rows;
}

std::string formatTimingHead(const TimingHead& head) {
    std::ostringstream out;
    out << "renderer: " << head.renderer << "\n"
        << "size: " << head.width << "x" << head.height << ", samples: " << head.samples << "\n"
        << (head.gpuTimes ? "GPU ms: the GPU's time, from timer queries\n"
                          : "GPU ms: no timer queries on this driver; the CPU's time of each pass instead\n");
    return out.str();
}

std::string formatTimingTable(const std::vector<TimingSummary>& rows) {
    const bool timed = std::any_of(rows.begin(), rows.end(), [](const TimingSummary& r) { return r.gpuMedianMs >= 0.0; });
    std::ostringstream out;
    char line[200];
    std::snprintf(line, sizeof line, "%-22s %7s %10s %10s %10s", "scenes", "frames", "median ms", "p95 ms", "worst ms");
    out << line << (timed ? "   GPU median ms   GPU p95 ms   CPU median ms\n" : "\n");
    for (const TimingSummary& r : rows) {
        std::snprintf(line, sizeof line, "%-22s %7ld %10.2f %10.2f %10.2f", r.scenes.c_str(), r.frames, r.medianMs,
                      r.p95Ms, r.worstMs);
        out << line;
        if (r.gpuMedianMs >= 0.0) {
            std::snprintf(line, sizeof line, " %15.3f %12.3f %15.3f", r.gpuMedianMs, r.gpuP95Ms, r.cpuMedianMs);
            out << line;
        }
        out << "\n";
        for (const PassSummary& pass : r.passes) {
            std::snprintf(line, sizeof line, "  %-61s %15.3f %12.3f\n", pass.name.c_str(), pass.medianMs, pass.p95Ms);
            out << line;
        }
    }
    return out.str();
}

std::vector<std::string> passColumns(const std::vector<FrameTiming>& frames) {
    std::vector<std::string> columns;
    for (const FrameTiming& f : frames)
        for (const PassTiming& pass : f.passes)
            if (std::find(columns.begin(), columns.end(), pass.name) == columns.end()) columns.push_back(pass.name);
    return columns;
}

void writeTimingCsv(std::ostream& out, const std::vector<FrameTiming>& frames) {
    const bool timed = std::any_of(frames.begin(), frames.end(), [](const FrameTiming& f) { return f.gpuMs >= 0.0; });
    const std::vector<std::string> columns = passColumns(frames);
    out << "frame,time_s,scenes,render_ms";
    if (timed) {
        out << ",gpu_ms,cpu_ms";
        for (const std::string& name : columns) out << "," << name << "_ms";
    }
    out << "\n";
    char line[128];
    for (const FrameTiming& f : frames) {
        std::snprintf(line, sizeof line, "%ld,%.6f,%s,%.4f", f.frame, f.time, f.scenes.c_str(), f.renderMs);
        out << line;
        if (timed) {
            if (f.gpuMs >= 0.0) {
                std::snprintf(line, sizeof line, ",%.4f,%.4f", f.gpuMs, f.cpuMs);
                out << line;
            } else {
                out << ",,";
            }
            for (const std::string& name : columns) {
                out << ",";
                for (const PassTiming& pass : f.passes)
                    if (pass.name == name) {
                        std::snprintf(line, sizeof line, "%.4f", pass.ms);
                        out << line;
                    }
            }
        }
        out << "\n";
    }
}

std::string timingPlotScript(const std::string& csvPath, const std::string& pngPath,
                             const std::vector<SceneWindow>& windows, double from, double to,
                             const std::vector<std::string>& passes, const std::string& title) {
    static const char* const kShades[] = {"#4c72b0", "#dd8452", "#55a868", "#c44e52", "#8172b3", "#937860"};
    std::ostringstream s;
    s << "set terminal pngcairo size 1400,500 font 'Sans,10'\n"
      << "set output '" << pngPath << "'\n"
      << "set datafile separator ','\n"
      << "set title '" << (title.empty() ? std::string("Frame render time") : title) << "' noenhanced\n"
      << "set xlabel 'demo time (s)'\nset ylabel 'time (ms)'\n"
      << "set xrange [" << from << ":" << to << "]\nset yrange [0:*]\nset grid ytics\n"
      << (passes.empty() ? "set key off\n" : "set key outside right top noenhanced\n");
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
    s << "plot '" << csvPath << "' using 2:4 every ::1 with lines lw 1.2 lc rgb '#222222' title 'render (CPU, to glFinish)'";
    if (!passes.empty()) {
        s << ", '' using 2:5 every ::1 with lines lw 1.2 lc rgb '#1f3b73' title 'frame (GPU)'";
        // The passes only: a scene's own line would sit over the sum of its passes.
        for (std::size_t k = 0; k < passes.size(); ++k)
            if (passes[k].find('/') != std::string::npos || passes[k] == "resolve")
                s << ", '' using 2:" << 7 + k << " every ::1 with lines lw 0.8 title '" << passes[k] << "'";
    }
    s << "\n";
    return s.str();
}

}  // namespace Quorvel::Capture
