// Every file the scenes read from data/, damaged the ways copies get damaged: missing, empty,
// replaced by random bytes, cut in half. For each, the whole programme is built and loaded in
// this process at a small size and a frame of every scene is drawn: nothing may crash or read
// out of bounds (the sanitized variant checks that), and the file is named on standard error.
// The soundtrack is the exception: its failures end the process with their own line and 255.
//
// CI takes one damage per file, in turn; QVL_DAMAGE_MATRIX=full takes all four for every file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "app/programme.h"
#include "runtime/vorbis_decode.h"
#include "tests/engine/stream_capture.h"
#include "tests/scenes/scratch_data.h"
#include "tests/support/gl_context.h"
#include "tests/support/process.h"

using namespace Quorvel;
namespace fs = std::filesystem;

namespace {

enum class Damage { Missing, Empty, RandomBytes, Truncated };
const char* const kDamageNames[] = {"missing", "empty", "random bytes", "truncated"};
constexpr int kWidth = 64, kHeight = 36;
// A time inside every scene's window, and the overlaps.
constexpr float kSceneTimes[] = {4.0f, 20.0f, 46.0f, 70.0f, 80.0f, 96.0f, 120.0f, 140.0f, 160.0f};

std::string damaged(const std::string& original, Damage damage, unsigned seed) {
    switch (damage) {
        case Damage::Missing:
        case Damage::Empty: return std::string();
        case Damage::Truncated: return original.substr(0, original.size() / 2);
        case Damage::RandomBytes: {
            std::mt19937 random(seed);
            std::string bytes(std::min<size_t>(original.size(), 1 << 20), '\0');
            for (char& c : bytes) c = char(random() & 0xff);
            return bytes;
        }
    }
    return original;
}

void apply(ScratchData& data, const std::string& file, const std::string& original, Damage damage, unsigned seed) {
    if (damage == Damage::Missing)
        data.remove(file);
    else
        data.writeFile(file, damaged(original, damage, seed));
}

std::vector<std::string> sceneFiles() {
    std::vector<std::string> files;
    // The music has its own test below; the preview's overlay type is no scene's.
    for (const auto& entry : fs::directory_iterator("data"))
        if (entry.path().filename() != "e5_t5.ogg" && entry.path().filename() != "overlay_font.png")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool fullMatrix() {
    const char* matrix = std::getenv("QVL_DAMAGE_MATRIX");
    return matrix && std::string(matrix) == "full";
}

struct Outcome {
    std::string out, err;
};

// Builds, loads and draws the programme from the scratch folder, with the streams captured.
Outcome runProgramme(ScratchData& data, const MusicTrack& music) {
    Outcome outcome;
    StreamCapture out(std::cout), err(std::cerr);
    data.enter();
    {
        Programme programme(kWidth, kHeight, music);
        programme.load();
        for (float time : kSceneTimes) programme.timeline().dispatch(time);
    }
    data.leave();
    outcome.out = out.text();
    outcome.err = err.text();
    return outcome;
}

bool isShader(const std::string& file) {
    const std::string ext = fs::path(file).extension().string();
    return ext == ".vert" || ext == ".frag";
}

// What standard error must hold about a damaged file: the PNG decoder's line for a picture (it
// names the problem, not the file), the path for the other loaders' lines; empty when no line is
// owed (a cut model or curve file can still be a valid, smaller one).
std::string expectedMention(const std::string& file, Damage damage) {
    const std::string path = "data/" + file;
    const std::string ext = fs::path(file).extension().string();
    if (ext == ".png") return "lodepng error";
    if (damage == Damage::Truncated && ext != ".png") return "";
    if (isShader(file) || ext == ".obj" || ext == ".anim") return path;
    return "?";  // a new kind of file: this test must learn what it owes
}

TEST(DamagedData, EveryFileTheScenesReadFailsSoftlyAndIsNamed) {
    GlContext gl(kWidth, kHeight);
    REQUIRE_GL(gl);
    MusicTrack music{MusicTrack::Silent{}};
    const std::vector<std::string> files = sceneFiles();
    ASSERT_GT(files.size(), 50u);
    int tried = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        const std::string original = readFile(fs::path("data") / file);
        for (int d = 0; d < 4; ++d) {
            if (!fullMatrix() && d != int(i % 4)) continue;
            const Damage damage = Damage(d);
            SCOPED_TRACE(file + " " + kDamageNames[d]);
            ScratchData data;
            apply(data, file, original, damage, unsigned(i * 4 + d));
            const Outcome outcome = runProgramme(data, music);
            const std::string mention = expectedMention(file, damage);
            if (!mention.empty()) {
                EXPECT_NE(outcome.err.find(mention), std::string::npos) << outcome.err;
            }
            // A shader cut short fails to compile: the driver's link log is its trace.
            if (mention.empty() && isShader(file)) {
                EXPECT_FALSE(outcome.out.empty() && outcome.err.empty());
            }
            ++tried;
        }
    }
    std::cout << tried << " damaged copies loaded and drawn" << std::endl;
}

TEST(DamagedData, TheSoundtrackKeepsItsOwnLinesAndStatus) {
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    const std::string original = readFile("data/e5_t5.ogg");
    ASSERT_FALSE(original.empty());
    struct Case {
        Damage damage;
        const char* line;
    };
    for (const Case& c : {Case{Damage::Missing, "^Cannot open data/e5_t5.ogg for reading...\n$"},
                          Case{Damage::Empty, "^Error opening data/e5_t5.ogg for decoding...\n$"},
                          Case{Damage::RandomBytes, "^Error opening data/e5_t5.ogg for decoding...\n$"}}) {
        SCOPED_TRACE(kDamageNames[int(c.damage)]);
        ScratchData data;
        apply(data, "e5_t5.ogg", original, c.damage, 7);
        data.enter();
        EXPECT_EXIT(MusicTrack{MusicTrack::Silent{}}, ::testing::ExitedWithCode(255), c.line);
        data.leave();
    }
    // Cut in half, the stream decodes up to the cut: the demo plays what is left, or, if the
    // cut splits a packet the decoder cannot pass, ends with the decoding line.
    ScratchData data;
    apply(data, "e5_t5.ogg", original, Damage::Truncated, 7);
    data.enter();
    DecodedAudio audio;
    const DecodeStatus status = decodeVorbisFile("data/e5_t5.ogg", audio);
    data.leave();
    EXPECT_TRUE(status == DecodeStatus::Ok || status == DecodeStatus::DecodeError);
    if (status == DecodeStatus::Ok) {
        EXPECT_GT(audio.pcm.size(), 0u);
    }
}

}  // namespace
