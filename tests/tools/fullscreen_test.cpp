// The full-screen build on a display the way a party shows it: a private X server on Xorg's dummy
// video driver whose mode is 1920 x 1080 and which also offers 1024 x 768. The display must keep
// its mode while the demo runs, and the picture must fill the screen (no bars at any edge).
#include <gtest/gtest.h>

#include <lodepng.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

// Mean brightness of the rows [top, top + rows) or, when `columns`, of the columns instead.
double meanOfBand(const std::vector<unsigned char>& rgba, unsigned width, unsigned height, unsigned first,
                  unsigned count, bool columns) {
    double sum = 0.0;
    unsigned n = 0;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const unsigned along = columns ? x : y;
            if (along < first || along >= first + count) continue;
            const size_t p = (size_t(y) * width + x) * 4;
            sum += (rgba[p] + rgba[p + 1] + rgba[p + 2]) / 3.0;
            ++n;
        }
    return n ? sum / n : 0.0;
}

TEST(FullScreen, KeepsTheDisplaysModeAndFillsTheScreen) {
    const char* source = std::getenv("QVL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const fs::path dir = freshFolder("fullscreen");
    fs::create_directory(dir / "play");
    fs::create_directory_symlink(binaryDir() / "data", dir / "play" / "data");
    const std::string d = "'" + dir.string() + "'";
    const std::string script =
        "for n in $(seq 91 140); do [ -e /tmp/.X$n-lock ] || break; done; "
        "Xorg :$n -config '" + std::string(source) + "/tests/tools/fullscreen/xorg-dummy.conf' -noreset -nolisten tcp "
        "-novtswitch -sharevts -logfile " + d + "/xorg.log >" + d + "/xorg.out 2>&1 & xpid=$!; "
        "export DISPLAY=:$n; for i in $(seq 300); do xrandr --current >/dev/null 2>&1 && break; sleep 0.1; done; "
        "echo \"before: $(xrandr --current | awk '/\\*/{print $1}')\"; "
        "cd " + d + "/play && { ALSOFT_DRIVERS=null timeout 120 '" + (binaryDir() / "qvl_taluvine_fullscreen").string() +
        "' >" + d + "/program.out 2>&1 & pid=$!; "
        "for i in $(seq 1200); do grep -q 'loading time' " + d + "/program.out 2>/dev/null && break; sleep 0.1; done; "
        "sleep 1.5; "
        "echo \"during: $(xrandr --current | awk '/\\*/{print $1}')\"; "
        "ffmpeg -v error -y -f x11grab -video_size 1920x1080 -i :$n -frames:v 1 " + d + "/screen.png; "
        "xdotool key Escape; wait $pid; status=$?; }; "
        "kill $xpid; wait $xpid 2>/dev/null; exit $status";
    const ProcessResult r = runShell(script);
    EXPECT_EQ(r.status, 0) << r.out << r.err << readFile(dir / "program.out") << readFile(dir / "xorg.out");
    EXPECT_NE(r.out.find("before: 1920x1080"), std::string::npos) << r.out << readFile(dir / "xorg.out");
    EXPECT_NE(r.out.find("during: 1920x1080"), std::string::npos) << r.out;
    EXPECT_NE(readFile(dir / "program.out").find("loading time: "), std::string::npos);

    std::vector<unsigned char> screen;
    unsigned width = 0, height = 0;
    ASSERT_EQ(lodepng::decode(screen, width, height, (dir / "screen.png").string()), 0u);
    ASSERT_EQ(width, 1920u);
    ASSERT_EQ(height, 1080u);
    // The logo's clouds reach every edge: a letterboxed or smaller picture leaves black bars.
    EXPECT_GT(meanOfBand(screen, width, height, 0, 8, false), 6.0) << "top rows";
    EXPECT_GT(meanOfBand(screen, width, height, height - 8, 8, false), 6.0) << "bottom rows";
    EXPECT_GT(meanOfBand(screen, width, height, 0, 8, true), 6.0) << "left columns";
    EXPECT_GT(meanOfBand(screen, width, height, width - 8, 8, true), 6.0) << "right columns";
    fs::remove_all(dir);
}

}  // namespace
