// The capture's timing report with the frame timer's figures: per scene set, each scene's and
// pass's GPU time (median, 95th percentile), the CSV's pass columns, and the head naming the
// renderer, size and samples; on the driver with timer queries, and with them hidden, where the
// times are the CPU's and that is said once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/process.h"
#include "tools/capture/timing_report.h"

using namespace Quorvel::Capture;
namespace fs = std::filesystem;

namespace {

FrameTiming timedFrame(long n, const char* scenes, double objectMs) {
    FrameTiming f{n, double(n), scenes, 10.0};
    f.gpuMs = 3.0 + objectMs;
    f.cpuMs = 0.5;
    f.passes = {{"helix", 2.0 + objectMs}, {"helix/object", objectMs}, {"resolve", 1.0}};
    return f;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(PassTimingSummary, EachPassGetsItsMedianAndPercentileWithinItsSceneSet) {
    std::vector<FrameTiming> frames;
    for (int i = 1; i <= 20; ++i) frames.push_back(timedFrame(i, "helix", double(i)));
    frames.push_back({21, 21.0, "helix+logo", 9.0});  // a frame the timer lost: no GPU figures
    const std::vector<TimingSummary> rows = summariseTimings(frames);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[0].gpuMedianMs, 13.5);
    EXPECT_DOUBLE_EQ(rows[0].gpuP95Ms, 22.0);
    EXPECT_DOUBLE_EQ(rows[0].cpuMedianMs, 0.5);
    ASSERT_EQ(rows[0].passes.size(), 3u);
    EXPECT_EQ(rows[0].passes[1].name, "helix/object");
    EXPECT_DOUBLE_EQ(rows[0].passes[1].medianMs, 10.5);
    EXPECT_DOUBLE_EQ(rows[0].passes[1].p95Ms, 19.0);
    EXPECT_LT(rows[1].gpuMedianMs, 0.0);
    EXPECT_TRUE(rows[1].passes.empty());
    const std::string table = formatTimingTable(rows);
    EXPECT_NE(table.find("GPU median ms"), std::string::npos) << table;
    EXPECT_NE(table.find("  helix/object"), std::string::npos) << table;

    std::ostringstream csv;
    writeTimingCsv(csv, {frames[0], frames[20]});
    EXPECT_EQ(csv.str(),
              "frame,time_s,scenes,render_ms,gpu_ms,cpu_ms,helix_ms,helix/object_ms,resolve_ms\n"
              "1,1.000000,helix,10.0000,4.0000,0.5000,3.0000,1.0000,1.0000\n"
              "21,21.000000,helix+logo,9.0000,,,,,\n");
    const std::string head = formatTimingHead({"llvmpipe", 1920, 1080, 4, false});
    EXPECT_NE(head.find("renderer: llvmpipe\n"), std::string::npos);
    EXPECT_NE(head.find("1920x1080, samples: 4"), std::string::npos);
    EXPECT_NE(head.find("CPU"), std::string::npos);
}

// Two frames of the helix with the logo: every one of its passes in the table and the CSV.
TEST(PassTimingCapture, TheReportNamesTheRendererAndTimesEveryPassWithOrWithoutTimerQueries) {
    const fs::path folder = freshFolder("pass_timing");
    const std::string timers = "timers: no GL_ARB_timer_query or GL_EXT_timer_query";
    for (const bool hidden : {false, true}) {
        const fs::path csv = folder / (hidden ? "cpu.csv" : "gpu.csv");
        const ProcessResult r = runShell(std::string("cd '") + binaryDir().string() + "' && " +
                                         (hidden ? "MESA_EXTENSION_OVERRIDE='-GL_ARB_timer_query -GL_EXT_timer_query' " : "") +
                                         "./qvl_capture --hidden --size 192x108 --from 8 --to 9 --fps 2 --timing '" +
                                         csv.string() + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("renderer: "), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("size: 192x108, samples: 4"), std::string::npos) << r.out;
        EXPECT_EQ(occurrences(r.out, timers), hidden ? 1u : 0u) << r.out;
        EXPECT_NE(r.out.find(hidden ? "the CPU's time of each pass" : "the GPU's time, from timer queries"),
                  std::string::npos)
            << r.out;
        const std::string columns = fileText(csv).substr(0, fileText(csv).find('\n'));
        for (const char* pass : {"helix/background", "helix/object", "helix/blur", "helix/combine", "helix/post", "logo",
                                 "resolve"}) {
            EXPECT_NE(r.out.find(std::string("  ") + pass + " "), std::string::npos) << pass << " in\n" << r.out;
            EXPECT_NE(columns.find(std::string(",") + pass + "_ms"), std::string::npos) << pass << " in " << columns;
        }
    }
}
