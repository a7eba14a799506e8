// The frame capture tool: options and frame plan without GL; with GL, upright read-back, the
// written picture's size, and a whole programme on the fixed-step clock ending after 172 s.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <lodepng.h>

#include <filesystem>

#include "tests/support/gl_context.h"
#include "tests/support/process.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_readback.h"

using namespace Quorvel::Capture;
namespace fs = std::filesystem;

namespace {

bool parse(std::vector<const char*> args, CaptureOptions& o, std::string& error) {
    args.insert(args.begin(), "qvl_capture");
    return parseCaptureOptions(int(args.size()), args.data(), o, error);
}

TEST(CaptureOptions, AcceptsTheTwoFormsAndRejectsMixturesAndBadValues) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--time", "12.5", "--out", "f.png"}, o, error)) << error;
    EXPECT_TRUE(o.single);
    EXPECT_EQ(o.time, 12.5);
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 768);

    o = CaptureOptions();
    ASSERT_TRUE(parse({"--from", "1", "--to", "2", "--fps", "24", "--out-dir", "d", "--size", "320x180"}, o, error));
    EXPECT_FALSE(o.single);
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 180);

    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {},
             {"--time", "1"},
             {"--time", "1", "--out", "f.png", "--from", "0"},
             {"--time", "abc", "--out", "f.png"},
             {"--time", "-1", "--out", "f.png"},
             {"--from", "3", "--to", "2", "--out-dir", "d"},
             {"--time", "1", "--out", "f.png", "--size", "0x10"},
             {"--time", "1", "--out", "f.png", "--size", "640"},
             {"--time", "1", "--out", "f.png", "--size", "99999999999x1"},
             {"--time", "1", "--out", "f.png", "--size", "64x36junk"},
             {"--time", "1", "--out", "f.png", "--fps", "0"},
             {"--time", "1", "--out"},
             {"--bogus", "1"}}) {
        CaptureOptions b;
        EXPECT_FALSE(parse(bad, b, error)) << (bad.empty() ? "(none)" : bad[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CapturePlan, SingleFrameIsPrecededByUpToOneSecond) {
    CaptureOptions o;
    o.single = true;
    o.fpsNumerator = 30;
    o.time = 44.5;
    CapturePlan p = planCapture(o);
    EXPECT_EQ(p.frames, 31);
    EXPECT_EQ(p.firstWritten, 30);
    EXPECT_NEAR(p.firstTime + p.step * 30, 44.5, 1e-9);  // the written frame is exactly at T
    o.time = 0.5;  // nothing before 0
    p = planCapture(o);
    EXPECT_EQ(p.frames, 16);
    EXPECT_NEAR(p.firstTime, 0.0, 1e-9);

    o.single = false;
    o.from = 10;
    o.to = 11;
    o.outDir = "d";
    o.fpsNumerator = 4;
    p = planCapture(o);
    EXPECT_EQ(p.frames, 5);
    EXPECT_EQ(p.firstWritten, 0);
    EXPECT_EQ(p.firstTime, 10.0);
}

TEST(FrameReadback, PicturesComeOutUprightTopRowFirst) {
    GlContext gl(32, 16);
    REQUIRE_GL(gl);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);  // the upper half of the window in red
    glVertex2f(-1, 0);
    glVertex2f(1, 0);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    const std::vector<unsigned char> rgba = readBackUpright(32, 16);
    ASSERT_EQ(rgba.size(), 32u * 16 * 4);
    EXPECT_EQ(rgba[0], 255);  // first row: red top
    EXPECT_EQ(rgba[2], 0);
    const size_t last = (15 * 32) * 4;
    EXPECT_EQ(rgba[last + 0], 0);  // last row: blue bottom
    EXPECT_EQ(rgba[last + 2], 255);
    EXPECT_EQ(rgba[3], 255);
}

TEST(CaptureTool, WritesAFrameOfTheWindowSize) {
    const fs::path dir = freshFolder("capture");
    const fs::path png = dir / "frame.png";
    const ProcessResult r =
        runShell("cd '" + binaryDir().string() + "' && ./qvl_capture --time 2 --size 160x120 --out '" + png.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    ASSERT_EQ(lodepng::decode(rgba, w, h, png.string()), 0u);
    EXPECT_EQ(w, 160u);
    EXPECT_EQ(h, 120u);
    // 160 x 120 letterboxes to 160 x 90: the bars (rows 0-14 at the top) stay black.
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[1], 0);
    EXPECT_EQ(rgba[2], 0);
    fs::remove_all(dir);
}

TEST(CaptureTool, WholeProgrammeOnTheFixedStepClockEndsAfter172Seconds) {
    const fs::path dir = freshFolder("programme");
    const ProcessResult r = runShell("cd '" + binaryDir().string() +
                                     "' && ./qvl_capture --from 0 --to 400 --fps 1 --size 64x36 --out-dir '" +
                                     dir.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    // Frames at 0, 1, ..., 173 s: the first frame above 172 s is the last one.
    EXPECT_TRUE(fs::exists(dir / "frame_00173.png"));
    EXPECT_FALSE(fs::exists(dir / "frame_00174.png"));
    EXPECT_NE(r.out.find("the programme ended at 173"), std::string::npos) << r.out;

    // A single frame after the end cannot be captured, and says so.
    const ProcessResult late = runShell("cd '" + binaryDir().string() + "' && ./qvl_capture --time 180 --size 64x36 --out '" +
                                        (dir / "late.png").string() + "'");
    EXPECT_EQ(late.status, 1);
    EXPECT_NE(late.err.find("before the requested frame"), std::string::npos) << late.err;
    EXPECT_FALSE(fs::exists(dir / "late.png"));
    fs::remove_all(dir);
}

// The value printed before `unit` after `label` in the capture's memory line; -1 when absent.
double megabytesAfter(const std::string& out, const std::string& label) {
    const size_t at = out.find(label);
    if (at == std::string::npos) return -1.0;
    const size_t mb = out.rfind(" MB", at);
    const size_t start = out.rfind(' ', mb - 1);
    return std::stod(out.substr(start + 1, mb - start - 1));
}

// The whole programme, every scene, a few frames a second: in the sanitized variant this is the
// run AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer watch (any report ends the
// process with a non-zero status). Memory must stop growing once every scene has drawn.
TEST(CaptureTool, WholeProgrammeRunsCleanAndMemoryStaysSteady) {
    const fs::path dir = freshFolder("steady");
    const ProcessResult r = runShell("cd '" + binaryDir().string() +
                                     "' && ./qvl_capture --from 0 --to 172 --fps 4 --size 64x36 --hidden --out-dir '" +
                                     dir.string() + "'");
    fs::remove_all(dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
    const double loaded = megabytesAfter(r.out, "after loading");
    const double warm = megabytesAfter(r.out, "once every scene had drawn");
    const double end = megabytesAfter(r.out, "at the end");
    ASSERT_GT(loaded, 0.0) << r.out;
    ASSERT_GT(warm, 0.0) << r.out;
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's quarantine holds freed memory on purpose
    EXPECT_LT(end - warm, 4.0) << r.out;
#endif
    std::cout << "resident memory: " << loaded << " MB loaded, " << warm << " MB warm, " << end << " MB at the end\n";
}

}  // namespace
