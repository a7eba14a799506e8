// The capture tool's video and timing outputs, as a user runs them: a short video that ffprobe
// reads as one H.264 and one AAC stream of the right length, whose frames match the PNG capture
// of the same time; an interrupted capture that still leaves a playable file; an encoder that
// fails with a clear message; a timing report with its plot.
#include <gtest/gtest.h>

#include <lodepng.h>
#include <signal.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

std::string captureCommand(const std::string& arguments) {
    return "cd '" + binaryDir().string() + "' && ./qvl_capture --hidden " + arguments;
}

// "key=value" lines of ffprobe for one stream kind.
std::string probe(const fs::path& video, const std::string& streams, const std::string& entries) {
    const ProcessResult r = runShell("ffprobe -v error -select_streams " + streams + " -count_frames -show_entries stream=" +
                                     entries + " -of default=noprint_wrappers=1 '" + video.string() + "'");
    return r.status == 0 ? r.out : "ffprobe failed: " + r.err;
}

double valueOf(const std::string& text, const std::string& key) {
    const size_t at = text.find(key + "=");
    return at == std::string::npos ? -1.0 : std::atof(text.c_str() + at + key.size() + 1);
}

TEST(VideoCapture, TwoSecondsAtTenFramesASecondWithSoundOfTheSameLength) {
    const fs::path dir = freshFolder("video");
    const fs::path video = dir / "v.mp4";
    const ProcessResult r =
        runShell(captureCommand("--video '" + video.string() + "' --from 20 --to 22 --fps 10 --size 320x180"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string v = probe(video, "v", "codec_name,width,height,nb_read_frames,duration");
    const std::string a = probe(video, "a", "codec_name,duration");
    EXPECT_NE(v.find("codec_name=h264"), std::string::npos) << v;
    EXPECT_NE(a.find("codec_name=aac"), std::string::npos) << a;
    EXPECT_EQ(valueOf(v, "width"), 320);
    EXPECT_EQ(valueOf(v, "height"), 180);
    EXPECT_EQ(valueOf(v, "nb_read_frames"), 20);
    EXPECT_NEAR(valueOf(v, "duration"), 2.0, 0.001);
    EXPECT_NEAR(valueOf(a, "duration"), valueOf(v, "duration"), 0.1) << a;  // within one frame

    // Frame 10 of the video is demo time 21.0; the PNG capture of 21.0 renders the same frames
    // before it at the same rate, so the two differ by the encoder's loss only.
    const fs::path fromVideo = dir / "video_frame.png", fromPng = dir / "png_frame.png";
    ASSERT_EQ(runShell("ffmpeg -v error -i '" + video.string() + "' -vf 'select=eq(n\\,10)' -vframes 1 '" +
                       fromVideo.string() + "'").status, 0);
    ASSERT_EQ(runShell(captureCommand("--time 21 --fps 10 --size 320x180 --out '" + fromPng.string() + "'")).status, 0);
    std::vector<unsigned char> a1, b1;
    unsigned w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    ASSERT_EQ(lodepng::decode(a1, w1, h1, fromVideo.string()), 0u);
    ASSERT_EQ(lodepng::decode(b1, w2, h2, fromPng.string()), 0u);
    ASSERT_EQ(w1, w2);
    ASSERT_EQ(h1, h2);
    double difference = 0.0;
    for (size_t i = 0; i < a1.size(); i += 4)
        for (int c = 0; c < 3; ++c) difference += std::abs(int(a1[i + c]) - int(b1[i + c]));
    EXPECT_LT(difference / (double(w1) * h1 * 3), 4.0) << "mean difference per channel";
    fs::remove_all(dir);
}

TEST(VideoCapture, InterruptedHalfWayLeavesAPlayableFile) {
    const fs::path dir = freshFolder("interrupted");
    const fs::path video = dir / "v.mp4";
    // The capture gets SIGINT once it has printed progress past frame 5 of 100.
    const ProcessResult r = runShell(
        captureCommand("--video '" + video.string() + "' --from 40 --to 50 --fps 10 --size 160x90") +
        " > progress.txt & pid=$!; for i in $(seq 600); do grep -q 'frame [5-9]/\\|frame [1-9][0-9]/' progress.txt 2>/dev/null && break; "
        "sleep 0.1; done; kill -INT $pid; wait $pid; status=$?; cat progress.txt; rm -f progress.txt; exit $status");
    EXPECT_EQ(r.status, 130) << r.out << r.err;
    EXPECT_NE(r.out.find("stopped by signal 2"), std::string::npos) << r.out;
    const std::string v = probe(video, "v", "nb_read_frames");
    const double frames = valueOf(v, "nb_read_frames");
    EXPECT_GE(frames, 5) << v;
    EXPECT_LT(frames, 100) << v;
    fs::remove_all(dir);
}

TEST(VideoCapture, BadOptionsAreRefusedWithStatusTwo) {
    for (const char* bad : {"--video v.mp4 --fps 0", "--video v.mp4 --fps 30/0", "--video v.mp4 --size 99999x9",
                            "--video v.mp4 --from 9 --to 3", "--plot p.png --from 0 --to 1 --out-dir d"}) {
        const ProcessResult r = runShell(captureCommand(bad));
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.err.rfind("qvl_capture: ", 0), 0u) << bad << ": " << r.err;
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << bad;
    }
}

TEST(VideoCapture, HelpPrintsTheUsageAndSucceeds) {
    const ProcessResult r = runShell(captureCommand("--help"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("usage: qvl_capture", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
}

TEST(VideoCapture, ProgressIntoAPipeIsPlainLines) {
    const fs::path dir = freshFolder("progress");
    const ProcessResult r =
        runShell(captureCommand("--timing '" + (dir / "t.csv").string() + "' --from 0 --to 2 --fps 10 --size 64x36"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find('\r'), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("frame 2/20 at 0.1 s"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("frame 20/20 at 1.9 s"), std::string::npos) << r.out;
    fs::remove_all(dir);
}

TEST(VideoCapture, AFailingEncoderIsAnErrorNotAShortFile) {
    const ProcessResult r = runShell(captureCommand("--video /nonexistent-folder/v.mp4 --from 0 --to 1 --fps 10 --size 64x36"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the video encoder failed"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists("/nonexistent-folder/v.mp4"));
}

TEST(TimingReport, CsvSummaryAndPlot) {
    const fs::path dir = freshFolder("timing");
    const ProcessResult r = runShell(captureCommand("--timing '" + (dir / "t.csv").string() + "' --plot '" +
                                                    (dir / "t.png").string() + "' --from 92 --to 96 --fps 2 --size 64x36"));
    ASSERT_EQ(r.status, 0) << r.err;
    // 92 and 93 s: the landscape alone; from 94 s the tube draws over it.
    EXPECT_NE(r.out.find("landscape "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("landscape+tube"), std::string::npos) << r.out;
    const std::string csv = readFile(dir / "t.csv");
    EXPECT_EQ(csv.rfind("frame,time_s,scenes,render_ms\n0,92.000000,landscape,", 0), 0u) << csv;
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    EXPECT_EQ(lodepng::decode(rgba, w, h, (dir / "t.png").string()), 0u);
    EXPECT_EQ(w, 1400u);
    fs::remove_all(dir);
}

}  // namespace
