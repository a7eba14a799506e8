// The capture's pure parts: frame rates as fractions, the frame plan of a video, the soundtrack
// cut to the sample, the per-scene timing summary, the encoder's command line and its delivery presets (levels against the H.264 table), the progress
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

// The command line as one string, each argument followed by a space.
std::string commandLine(const VideoSettings& s) {
    std::string line;
    for (const std::string& a : ffmpegArguments(s)) line += a + " ";
    return line;
}

TEST(VideoEncoder, AsksForH264AndAacAtTheExactRate) {
    VideoSettings s;
    s.output = "out.mp4";
    s.width = 320;
    s.height = 180;
    s.fpsNumerator = 60000;
    s.fpsDenominator = 1001;
    s.audioFile = "cut.raw";
    const std::string line = commandLine(s);
    EXPECT_NE(line.find("-framerate 60000/1001 "), std::string::npos) << line;
    EXPECT_NE(line.find("-video_size 320x180 "), std::string::npos);
    EXPECT_NE(line.find("-c:v libx264 "), std::string::npos);
    EXPECT_NE(line.find("-c:a aac "), std::string::npos);
    EXPECT_EQ(ffmpegArguments(s).back(), "out.mp4");
    // Without a preset: constant quality, the soundtrack's own rate, the encoder's keyframes.
    EXPECT_NE(line.find("-crf 18 "), std::string::npos) << line;
    EXPECT_NE(line.find("-b:a 192k "), std::string::npos) << line;
    for (const char* absent : {"-b:v", "-profile:v", "-level:v", "-g ", "-af ", "-ar 48000", "bt709"})
        EXPECT_EQ(line.find(absent), std::string::npos) << absent << " in " << line;
}

// The settings the capture hands the encoder for `arguments` (after "--video v.mp4").
VideoSettings presetSettings(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), {"--video", "v.mp4"});
    CaptureOptions o;
    std::string error;
    EXPECT_TRUE(parse(arguments, o, error)) << error;
    VideoSettings s;
    s.output = o.video;
    s.width = o.width;
    s.height = o.height;
    s.fpsNumerator = o.fpsNumerator;
    s.fpsDenominator = o.fpsDenominator;
    s.frames = planCapture(o).frames;
    s.audioFile = "cut.raw";
    s.encoding = o.encoding;
    return s;
}

TEST(VideoPresets, PartyIsHighProfileClosedGopsAtTwelveMegabitsWith48kHzSound) {
    const VideoSettings s = presetSettings({"--preset", "party", "--from", "80", "--to", "82"});
    const std::string line = commandLine(s);
    for (const char* part : {"-video_size 1920x1080 ", "-framerate 60/1 ", "-c:v libx264 ", "-profile:v high ",
                             "-level:v 4.2 ", "-b:v 12000k -maxrate 12000k -bufsize 24000k ", "-g 30 ",
                             "-sc_threshold 0 ", "-flags:v +cgop ", "-pix_fmt yuv420p ",
                             "-colorspace bt709 ", "scale=out_color_matrix=bt709:out_range=tv ",
                             "-ar 44100 -ac 2 -i cut.raw ",  // the cut as the track has it
                             "resampler=soxr", "-ar 48000 ", "-c:a aac -profile:a aac_low -b:a 320k ",
                             "-movflags +faststart "})
        EXPECT_NE(line.find(part), std::string::npos) << part << " not in " << line;
    // 120 frames of 800 samples: the sound ends with the last frame, to the sample.
    EXPECT_NE(line.find("apad=whole_len=96000,atrim=end_sample=96000 "), std::string::npos) << line;
    // The resampled sound replaces the cut's rate once: a single -af, a single output -ar.
    EXPECT_EQ(line.find("-af "), line.rfind("-af "));

    const std::string four = commandLine(presetSettings({"--preset", "party-4k"}));
    for (const char* part : {"-video_size 3840x2160 ", "-level:v 5.2 ", "-b:v 50000k -maxrate 50000k ", "-g 30 ",
                             "whole_len=8256000,"})  // 172 s at 48 kHz
        EXPECT_NE(four.find(part), std::string::npos) << part << " not in " << four;
}

TEST(VideoPresets, FractionalRatesStillEndTheSoundOnTheLastFrame) {
    VideoSettings s;
    s.output = "out.mp4";
    s.fpsNumerator = 60000;
    s.fpsDenominator = 1001;
    s.frames = 10310;
    s.audioFile = "cut.raw";
    s.encoding.audioRate = 48000;
    // 10310 * 1001 / 60000 s is 8256248 samples at 48 kHz exactly.
    EXPECT_NE(commandLine(s).find("apad=whole_len=8256248,atrim=end_sample=8256248 "), std::string::npos)
        << commandLine(s);
    s.audioRate = 48000;  // a track already at the rate is not resampled
    EXPECT_EQ(commandLine(s).find("-af "), std::string::npos) << commandLine(s);
}

// Each preset's level admits its picture: H.264 Annex A, table A-1 (macroblocks a second and a
// frame, kbit/s for Baseline and Main; High allows 1.25 times that).
TEST(VideoPresets, EachLevelIsTheLowestThatAdmitsItsSizeRateAndBitrate) {
    struct Level {
        const char* name;
        long mbPerSecond, mbPerFrame, kbps;
    };
    const Level levels[] = {{"4", 245760, 8192, 20000},   {"4.1", 245760, 8192, 50000},
                            {"4.2", 522240, 8704, 50000}, {"5", 589824, 22080, 135000},
                            {"5.1", 983040, 36864, 240000}, {"5.2", 2073600, 36864, 240000}};
    auto admits = [](const Level& l, const VideoPreset& p) {
        const long frame = long((p.width + 15) / 16) * long((p.height + 15) / 16);
        return frame <= l.mbPerFrame && frame * p.fps <= l.mbPerSecond && p.encoding.videoKbps <= l.kbps * 5 / 4;
    };
    for (const char* name : {"party", "party-4k"}) {
        const VideoPreset* p = findVideoPreset(name);
        ASSERT_NE(p, nullptr) << name;
        const Level* lowest = nullptr;
        for (const Level& l : levels)
            if (!lowest && admits(l, *p)) lowest = &l;
        ASSERT_NE(lowest, nullptr) << name;
        EXPECT_EQ(p->encoding.level, lowest->name) << name;
    }
    EXPECT_EQ(findVideoPreset("party")->encoding.level, "4.2");
    EXPECT_EQ(findVideoPreset("youtube"), nullptr);
}

TEST(VideoPresets, APresetSetsSizeAndRateAndTakesNeither) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--video", "v.mp4", "--preset", "party"}, o, error)) << error;
    EXPECT_EQ(o.width, 1920);
    EXPECT_EQ(o.height, 1080);
    EXPECT_EQ(o.fpsNumerator, 60);
    EXPECT_EQ(o.fpsDenominator, 1);
    EXPECT_EQ(planCapture(o).frames, 10320);  // the whole programme
    EXPECT_EQ(o.encoding.gopFrames, 30);
    ASSERT_TRUE(parse({"--preset", "party-4k", "--video", "v.mp4", "--from", "10", "--to", "20"}, o = CaptureOptions(),
                      error)) << error;
    EXPECT_EQ(o.width, 3840);
    EXPECT_EQ(o.height, 2160);
    EXPECT_EQ(planCapture(o).frames, 600);
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--preset", "party", "--from", "0", "--to", "1", "--out-dir", "d"},
             {"--video", "v.mp4", "--preset", "party", "--size", "640x360"},
             {"--video", "v.mp4", "--preset", "party", "--fps", "30"},
             {"--video", "v.mp4", "--preset", "youtube"},
             {"--video", "v.mp4", "--preset", ""}}) {
        CaptureOptions b;
        EXPECT_FALSE(parse(bad, b, error)) << bad[0] << " " << bad[1] << " " << bad[2] << " " << bad[3];
    }
    // Without a preset, the capture's own encoding.
    ASSERT_TRUE(parse({"--video", "v.mp4"}, o = CaptureOptions(), error)) << error;
    EXPECT_EQ(o.encoding.videoKbps, 0);
    EXPECT_EQ(o.encoding.audioRate, 0);
    EXPECT_EQ(o.width, 1024);
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
