// The capture's pure parts: frame rates as fractions, the frame plan of a video, the soundtrack
// cut to the sample, the per-scene timing summary, the encoder's command line, the progress
// line on a terminal and in a log, and --help.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <stdexcept>

#include "tools/capture/capture_options.h"
#include "tools/capture/edge_figure.h"
#include "tools/capture/progress_report.h"
#include "tools/capture/soundtrack_cut.h"
#include "tools/capture/timing_report.h"
#include "tools/capture/video_encoder.h"

using namespace Quorvel::Capture;

namespace {

bool parse(std::vector<const char*> args, CaptureOptions& o, std::string& error) {
    args.insert(args.begin(), "qvl_capture");
    return parseCaptureOptions(int(args.size()), args.data(), o, error);
}

TEST(FrameRate, WholeDecimalAndFractionalRates) {
    struct Case {
        const char* text;
        long numerator, denominator;
    };
    for (const Case& c : {Case{"60", 60, 1}, Case{"60000/1001", 60000, 1001}, Case{"29.97", 2997, 100}, Case{".5", 5, 10}}) {
        long n = 0, d = 0;
        ASSERT_TRUE(parseFrameRate(c.text, n, d)) << c.text;
        EXPECT_EQ(n, c.numerator) << c.text;
        EXPECT_EQ(d, c.denominator) << c.text;
    }
    long n = 0, d = 0;
    for (const char* bad : {"", "0", "0/1", "1/0", "-30", "30/", "/2", "1e3", "2000", "30x", "3.1.4", "nan", "60/1/2"})
        EXPECT_FALSE(parseFrameRate(bad, n, d)) << bad;
}

TEST(VideoOptions, RangeDefaultsToTheProgrammeAndEndsWithTheFrames) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--video", "v.mp4", "--fps", "60000/1001", "--size", "1920x1080"}, o, error)) << error;
    EXPECT_FALSE(o.single);
    EXPECT_EQ(o.from, 0.0);
    EXPECT_EQ(o.to, 172.0);
    EXPECT_EQ(o.width, 1920);
    CapturePlan plan = planCapture(o);
    EXPECT_EQ(plan.frames, 10310);  // ceil(172 * 59.94)
    EXPECT_NEAR(frameTime(o, plan, 10309), 10309 * 1001.0 / 60000.0, 1e-9);

    o = CaptureOptions();
    ASSERT_TRUE(parse({"--video", "v.mp4", "--from", "20", "--to", "22", "--fps", "10"}, o, error)) << error;
    plan = planCapture(o);
    EXPECT_EQ(plan.frames, 20);  // [20, 22): the last frame is at 21.9 and lasts to 22
    EXPECT_DOUBLE_EQ(frameTime(o, plan, 19), 21.9);

    ASSERT_TRUE(parse({"--timing", "t.csv", "--plot", "t.png", "--from", "90"}, o = CaptureOptions(), error)) << error;
    EXPECT_EQ(o.to, 172.0);
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--video", "v.mp4", "--time", "3"},
             {"--video", "v.mp4", "--out-dir", "d"},
             {"--video", "v.mp4", "--from", "30", "--to", "30"},
             {"--video", ""},
             {"--plot", "p.png", "--from", "0", "--to", "1", "--out-dir", "d"},
             {"--timing", "t.csv", "--time", "3", "--out", "f.png"},
             {"--video", "v.mp4", "--fps", "1/0"}}) {
        CaptureOptions b;
        EXPECT_FALSE(parse(bad, b, error)) << bad[0] << " " << bad[1] << " " << bad[2];
    }
}

TEST(SoundtrackCut, StartsAtTheFirstFrameAndLastsAsLongAsTheFrames) {
    // 1 s of stereo at 1000 Hz whose left sample is its own frame index.
    std::vector<char> pcm(1000 * 4, 0);
    for (int i = 0; i < 1000; ++i) {
        pcm[size_t(i) * 4] = char(i & 0xff);
        pcm[size_t(i) * 4 + 1] = char(i >> 8);
    }
    auto left = [](const std::vector<char>& p, size_t frame) {
        return int((unsigned char)p[frame * 4]) | int((unsigned char)p[frame * 4 + 1]) << 8;
    };
    const std::vector<char> cut = cutSoundtrack(pcm, 2, 1000, 0.25, 5, 10, 1);  // 5 frames at 10 fps
    ASSERT_EQ(cut.size(), 500u * 4);
    EXPECT_EQ(left(cut, 0), 250);
    EXPECT_EQ(left(cut, 499), 749);
    // Past the end of the track: silence, and still the full length.
    const std::vector<char> tail = cutSoundtrack(pcm, 2, 1000, 0.9, 3, 10, 1);
    ASSERT_EQ(tail.size(), 300u * 4);
    EXPECT_EQ(left(tail, 99), 999);
    EXPECT_EQ(left(tail, 100), 0);
    // Fractional rates round the total, not each frame: 10310 frames at 60000/1001 fps.
    EXPECT_EQ(soundtrackLength(44100, 10310, 60000, 1001), 7585428);  // 172.0052 s * 44100, rounded
}

TEST(TimingSummary, MedianPercentileAndWorstPerSceneSet) {
    std::vector<FrameTiming> frames;
    for (int i = 1; i <= 20; ++i) frames.push_back({i, i * 0.1, "helix", double(i)});  // 1..20 ms
    frames.push_back({21, 2.1, "helix+logo", 7.0});
    frames.push_back({22, 2.2, "helix+logo", 9.0});
    const std::vector<TimingSummary> rows = summariseTimings(frames);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].scenes, "helix");
    EXPECT_EQ(rows[0].frames, 20);
    EXPECT_DOUBLE_EQ(rows[0].medianMs, 10.5);
    EXPECT_DOUBLE_EQ(rows[0].p95Ms, 19.0);
    EXPECT_DOUBLE_EQ(rows[0].worstMs, 20.0);
    EXPECT_DOUBLE_EQ(rows[1].medianMs, 8.0);
    const std::string table = formatTimingTable(rows);
    EXPECT_NE(table.find("helix+logo"), std::string::npos);
    std::ostringstream csv;
    writeTimingCsv(csv, {frames[0]});
    EXPECT_EQ(csv.str(), "frame,time_s,scenes,render_ms\n1,0.100000,helix,1.0000\n");
}

TEST(VideoEncoder, AsksForH264AndAacAtTheExactRate) {
    VideoSettings s;
    s.output = "out.mp4";
    s.width = 320;
    s.height = 180;
    s.fpsNumerator = 60000;
    s.fpsDenominator = 1001;
    s.audioFile = "cut.raw";
    const std::vector<std::string> args = ffmpegArguments(s);
    std::string line;
    for (const std::string& a : args) line += a + " ";
    EXPECT_NE(line.find("-framerate 60000/1001 "), std::string::npos) << line;
    EXPECT_NE(line.find("-video_size 320x180 "), std::string::npos);
    EXPECT_NE(line.find("-c:v libx264 "), std::string::npos);
    EXPECT_NE(line.find("-c:a aac "), std::string::npos);
    EXPECT_EQ(args.back(), "out.mp4");
}

}  // namespace

namespace {

// Every text a run of `frames` frames, one each `step` seconds, prints.
std::vector<std::string> progressOf(bool terminal, long frames, double step) {
    ProgressReport progress(terminal, frames);
    std::vector<std::string> printed;
    for (long done = 1; done <= frames; ++done) {
        const std::string text = progress.update(done, 40.0 + 0.1 * double(done), step * double(done));
        if (!text.empty()) printed.push_back(text);
    }
    printed.push_back(progress.finish());
    return printed;
}

TEST(Progress, OnATerminalOneLineIsRewrittenAFewTimesASecond) {
    const std::vector<std::string> printed = progressOf(true, 100, 0.02);  // 2 s in all
    ASSERT_GE(printed.size(), 6u);
    EXPECT_LE(printed.size(), 10u);
    for (size_t k = 0; k + 1 < printed.size(); ++k) {
        EXPECT_EQ(printed[k][0], '\r') << printed[k];
        EXPECT_EQ(printed[k].find('\n'), std::string::npos) << printed[k];
    }
    EXPECT_EQ(printed[printed.size() - 2].rfind("\rframe 100/100 at 50 s, 50 frames/s, 0:00 left", 0), 0u);
    EXPECT_EQ(printed.back(), "\n");  // the line is ended once
}

TEST(Progress, IntoALogPlainLinesAtEachTenthAndEveryFewSeconds) {
    const std::vector<std::string> quick = progressOf(false, 100, 0.01);  // 1 s: the tenths alone
    ASSERT_EQ(quick.size(), 11u);
    EXPECT_EQ(quick[0].rfind("frame 10/100 at 41 s", 0), 0u) << quick[0];
    EXPECT_EQ(quick[9].rfind("frame 100/100", 0), 0u) << quick[9];
    EXPECT_EQ(quick.back(), "");
    for (size_t k = 0; k + 1 < quick.size(); ++k) {
        EXPECT_EQ(quick[k].find('\r'), std::string::npos);
        EXPECT_EQ(quick[k].back(), '\n');
    }
    // 1000 frames over 200 s: a line at least every five seconds, never thousands.
    const std::vector<std::string> slow = progressOf(false, 1000, 0.2);
    EXPECT_GE(slow.size(), 40u);
    EXPECT_LE(slow.size(), 52u);
}

TEST(Progress, ClockTextRoundsToTheSecond) {
    EXPECT_EQ(clockText(65.4), "1:05");
    EXPECT_EQ(clockText(3599.6), "60:00");
    EXPECT_EQ(clockText(-3.0), "0:00");
}

TEST(CaptureOptions, HelpAnywhereAsksForTheUsageOnly) {
    for (std::vector<const char*> args : {std::vector<const char*>{"--help"}, {"--video", "v.mp4", "-h"},
                                           {"--fps", "0", "--help"}}) {
        CaptureOptions o;
        std::string error;
        EXPECT_TRUE(parse(args, o, error)) << error;
        EXPECT_TRUE(o.help);
    }
}

}  // namespace

namespace {

TEST(CaptureOptions, SamplesFromNoneToSixteen) {
    int samples = -1;
    EXPECT_TRUE(parseSamples("0", samples));
    EXPECT_EQ(samples, 0);
    EXPECT_TRUE(parseSamples("16", samples));
    EXPECT_EQ(samples, 16);
    for (const char* bad : {"-1", "17", "4x", ""}) EXPECT_FALSE(parseSamples(bad, samples)) << bad;
}

// A width x height picture, grey `left` left of column `edge` and `right` from it.
std::vector<std::uint8_t> step(int width, int height, double edge, int left, int right) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double cover = std::clamp(x + 1.0 - edge, 0.0, 1.0);  // share of the pixel right of the edge
            const auto v = std::uint8_t(std::lround(left + (right - left) * cover));
            rgba.insert(rgba.end(), {v, v, v, 255});
        }
    return rgba;
}

TEST(StaircaseFigure, HalvingAveragesEachTwoByTwoBlock) {
    const std::vector<std::uint8_t> twice = {0, 0, 0, 255, 100, 100, 100, 255, 40, 40, 40, 255, 60, 60, 60, 255,
                                             20, 20, 20, 255, 40, 40, 40, 255, 0, 0, 0, 255, 100, 100, 100, 255};
    EXPECT_EQ(halveSize(twice, 2, 1), (std::vector<std::uint8_t>{40, 40, 40, 255, 50, 50, 50, 255}));
    EXPECT_THROW(halveSize(twice, 3, 1), std::invalid_argument);
}

TEST(StaircaseFigure, StrongestEdgesLieOnTheStep) {
    const std::vector<std::size_t> edges = strongestEdges(step(16, 8, 8.0, 0, 200), 16, 8, 0.1);
    ASSERT_FALSE(edges.empty());
    for (std::size_t p : edges) EXPECT_TRUE(p % 16 == 7 || p % 16 == 8) << p % 16;
}

TEST(StaircaseFigure, AHardEdgeWhereTheSmoothPictureBlendsCountsAgainstIt) {
    // The reference has its edge half way through a pixel: that pixel is a blend.
    const std::vector<std::uint8_t> twice = step(32, 16, 15.0, 0, 200), smooth = halveSize(twice, 16, 8);
    EXPECT_EQ(staircaseFigure(smooth, 16, 8, twice), 0.0);
    const double hard = staircaseFigure(step(16, 8, 8.0, 0, 200), 16, 8, twice);
    const double blended = staircaseFigure(step(16, 8, 7.5, 0, 200), 16, 8, twice);
    EXPECT_GT(hard, 20.0);
    EXPECT_LT(blended, 1.0);
}

}  // namespace
