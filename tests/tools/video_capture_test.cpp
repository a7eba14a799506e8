// The capture tool's video and timing outputs, as a user runs them: a short video that ffprobe
// reads as one H.264 and one AAC stream of the right length, whose frames match the PNG capture
// of the same time; the party preset as a site or a projector's player reads it; an interrupted
// capture that still leaves a playable file; an encoder that fails with a clear message; a timing
// report with its plot.
#include <gtest/gtest.h>

#include <lodepng.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
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

// ffprobe's "key=value" lines for the first stream of a kind, without decoding.
std::string streamFields(const fs::path& video, const std::string& stream) {
    const ProcessResult r = runShell("ffprobe -v error -select_streams " + stream + " -show_entries stream -of default=noprint_wrappers=1 '" +
                                     video.string() + "'");
    return r.status == 0 ? "\n" + r.out : "ffprobe failed: " + r.err;
}

// The value of `key` in such lines, "" when it has none.
std::string field(const std::string& lines, const std::string& key) {
    const size_t at = lines.find("\n" + key + "=");
    if (at == std::string::npos) return "";
    const size_t start = at + key.size() + 2;
    return lines.substr(start, lines.find('\n', start) - start);
}

struct Packet {
    long long pts = 0, duration = 0;
    bool key = false;
};

// The packets of a stream in the file's (decoding) order.
std::vector<Packet> packets(const fs::path& video, const std::string& stream) {
    const ProcessResult r = runShell("ffprobe -v error -select_streams " + stream +
                                     " -show_entries packet=pts,duration,flags -of csv=p=0 '" + video.string() + "'");
    std::vector<Packet> list;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        Packet p;
        char flags[8] = {};
        if (std::sscanf(line.c_str(), "%lld,%lld,%7s", &p.pts, &p.duration, flags) < 2) continue;
        p.key = flags[0] == 'K';
        list.push_back(p);
    }
    return list;
}

// The MP4's top-level boxes in file order.
std::vector<std::string> topLevelBoxes(const fs::path& file) {
    const std::string bytes = readFile(file);
    std::vector<std::string> boxes;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        std::uint64_t size = 0;
        for (int i = 0; i < 4; ++i) size = size << 8 | (unsigned char)bytes[at + i];
        if (size == 1 && at + 16 <= bytes.size()) {  // a 64-bit size follows the type
            size = 0;
            for (int i = 8; i < 16; ++i) size = size << 8 | (unsigned char)bytes[at + i];
        }
        boxes.push_back(bytes.substr(at + 4, 4));
        if (size < 8) break;  // 0: to the end of the file
        at += size;
    }
    return boxes;
}

// Signed 16-bit stereo samples from whatever ffmpeg reads with `input`.
std::vector<std::int16_t> decodedSound(const std::string& input, const fs::path& raw) {
    EXPECT_EQ(runShell("cd '" + binaryDir().string() + "' && ffmpeg -v error -y " + input + " -map 0:a -f s16le -ac 2 '" +
                       raw.string() + "'").status, 0) << input;
    const std::string bytes = readFile(raw);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// The landscape (cheap under llvmpipe) at the preset's true size, over two seconds: four GOPs.
TEST(VideoCapture, PartyPresetIsWhatASiteOrAProjectorsPlayerExpects) {
    const fs::path dir = freshFolder("party");
    const fs::path video = dir / "party.mp4";
    const ProcessResult r = runShell(captureCommand("--video '" + video.string() + "' --preset party --from 80 --to 82"));
    ASSERT_EQ(r.status, 0) << r.err;

    const std::string v = streamFields(video, "v");
    EXPECT_EQ(field(v, "codec_name"), "h264") << v;
    EXPECT_EQ(field(v, "profile"), "High");
    EXPECT_EQ(field(v, "level"), "42");
    EXPECT_EQ(field(v, "pix_fmt"), "yuv420p");
    EXPECT_EQ(field(v, "width"), "1920");
    EXPECT_EQ(field(v, "height"), "1080");
    EXPECT_EQ(field(v, "r_frame_rate"), "60/1");
    EXPECT_EQ(field(v, "color_space"), "bt709");
    EXPECT_EQ(field(v, "color_range"), "tv");
    const std::string a = streamFields(video, "a");
    EXPECT_EQ(field(a, "codec_name"), "aac") << a;
    EXPECT_EQ(field(a, "profile"), "LC");
    EXPECT_EQ(field(a, "sample_rate"), "48000");
    EXPECT_EQ(field(a, "channels"), "2");
    // 120 frames of 800 samples each, as the track's edit list presents them and as the packets
    // (the first one the encoder's priming, before 0) end.
    EXPECT_EQ(field(a, "time_base"), "1/48000");
    EXPECT_EQ(field(a, "duration_ts"), "96000");
    const std::vector<Packet> sound = packets(video, "a");
    ASSERT_FALSE(sound.empty());
    EXPECT_EQ(sound.back().pts + sound.back().duration, 96000);

    // A keyframe on frames 0, 30, 60 and 90 only, and no frame after one in the file shows
    // before it: each GOP is closed, so a cut or a seek there needs nothing earlier.
    const std::vector<Packet> frames = packets(video, "v");
    ASSERT_EQ(frames.size(), 120u);
    std::vector<long long> shown;
    for (const Packet& p : frames) shown.push_back(p.pts);
    std::sort(shown.begin(), shown.end());
    std::vector<long> keyframes;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i].key) continue;
        keyframes.push_back(long(std::lower_bound(shown.begin(), shown.end(), frames[i].pts) - shown.begin()));
        for (size_t later = i + 1; later < frames.size(); ++later)
            EXPECT_GE(frames[later].pts, frames[i].pts) << "open GOP at frame " << keyframes.back();
    }
    EXPECT_EQ(keyframes, (std::vector<long>{0, 30, 60, 90}));

    // x264 writes its settings into the stream: 12 Mb/s, never above it over two seconds.
    const std::string bytes = readFile(video);
    EXPECT_NE(bytes.find(" bitrate=12000 "), std::string::npos);
    EXPECT_NE(bytes.find(" vbv_maxrate=12000 vbv_bufsize=24000 "), std::string::npos);
    // The index before the media: a player can start while the file is still arriving.
    const std::vector<std::string> boxes = topLevelBoxes(video);
    const auto moov = std::find(boxes.begin(), boxes.end(), "moov"), mdat = std::find(boxes.begin(), boxes.end(), "mdat");
    ASSERT_NE(moov, boxes.end());
    ASSERT_NE(mdat, boxes.end());
    EXPECT_LT(moov, mdat);

    // The sound is the soundtrack from 80 s, as ffmpeg decodes, cuts and resamples it itself:
    // off by one sample at 48 kHz the difference is about 15 % of the signal, AAC's own about 3 %.
    const std::vector<std::int16_t> got = decodedSound("-i '" + video.string() + "'", dir / "got.raw");
    const std::vector<std::int16_t> want =
        decodedSound("-ss 80 -t 2 -i data/e5_t5.ogg -af aresample=48000:resampler=soxr", dir / "want.raw");
    ASSERT_EQ(want.size(), 96000u * 2);
    ASSERT_GE(got.size(), want.size());  // the decoder keeps the last AAC frame's padding
    double difference = 0.0, signal = 0.0;
    for (size_t i = 0; i < want.size(); ++i) {
        difference += std::pow(double(got[i]) - want[i], 2.0);
        signal += std::pow(double(want[i]), 2.0);
    }
    EXPECT_GT(signal / double(want.size()), 1e5) << "the soundtrack is near silent at 80 s";
    EXPECT_LT(std::sqrt(difference / signal), 0.07);
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
                            "--video v.mp4 --from 9 --to 3", "--plot p.png --from 0 --to 1 --out-dir d",
                            "--video v.mp4 --preset party --size 640x360", "--video v.mp4 --preset vhs"}) {
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
    EXPECT_EQ(csv.rfind("frame,time_s,scenes,render_ms,gpu_ms,cpu_ms,landscape_ms,landscape/sky_ms,", 0), 0u) << csv;
    EXPECT_NE(csv.find("\n0,92.000000,landscape,"), std::string::npos) << csv;
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    EXPECT_EQ(lodepng::decode(rgba, w, h, (dir / "t.png").string()), 0u);
    EXPECT_EQ(w, 1400u);
    fs::remove_all(dir);
}

}  // namespace
