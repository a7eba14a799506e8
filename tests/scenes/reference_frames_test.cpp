// Small reference frames of every scene, rendered by the capture tool (the same fixed-step
// loop as the program) and compared with pictures checked in under tests/reference/. The
// tolerance survives harmless driver rounding but not a flipped pass, a swapped texture unit,
// a moved object or a missing pass: the mean difference per channel must stay under 1.5 levels
// and fewer than 0.5% of the pixels may be off by more than 32 levels in any channel.
// On a failure the actual frame and a difference picture (differences x4) are written beside
// the test in the build folder, to be looked at before a reference is replaced. The frames as
// the demo draws them are under tests/reference/; the same moments drawn without multisampling,
// which must not change, under tests/reference/aliased/. To accept new
// references: QVL_UPDATE_REFERENCES=1 ctest --test-dir build -R reference_frames (README).
#include <gtest/gtest.h>

#include <lodepng.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

constexpr unsigned kWidth = 192, kHeight = 108;
constexpr double kStep = 2.0;  // seconds between captured frames (--fps 0.5)

// Two or three moments of each scene, on the capture's 2-second grid.
const int kTimes[] = {4, 8, 20, 46, 60, 76, 88, 96, 120, 130, 140, 150, 160, 168};

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

Picture load(const std::filesystem::path& path) {
    Picture p;
    if (lodepng::decode(p.rgba, p.width, p.height, path.string()) != 0) p = Picture{};
    return p;
}

struct Difference {
    double meanPerChannel = 0.0;  // mean absolute difference of r, g, b
    double farShare = 0.0;        // share of pixels off by more than 32 in some channel
};

Difference compare(const Picture& a, const Picture& b, std::vector<unsigned char>& picture) {
    Difference d;
    const size_t pixels = size_t(a.width) * a.height;
    picture.assign(pixels * 4, 255);
    size_t far = 0;
    double sum = 0.0;
    for (size_t i = 0; i < pixels; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int delta = std::abs(int(a.rgba[4 * i + c]) - int(b.rgba[4 * i + c]));
            sum += delta;
            worst = std::max(worst, delta);
            picture[4 * i + c] = (unsigned char)std::min(255, delta * 4);
        }
        far += worst > 32;
    }
    d.meanPerChannel = sum / double(pixels * 3);
    d.farShare = double(far) / double(pixels);
    return d;
}

// Captures the programme with `options` and compares each moment with its picture in `folder`
// (under tests/reference) .
void expectFramesMatch(const std::string& options, const std::string& folder) {
    const std::filesystem::path build = binaryDir();
    const char* sourceDir = std::getenv("QVL_SOURCE_DIR");
    ASSERT_NE(sourceDir, nullptr);
    const std::filesystem::path references = std::filesystem::path(sourceDir) / "tests" / "reference" / folder;
    const std::filesystem::path frames = freshFolder("reference_frames" + folder);
    const ProcessResult run = runShell("cd '" + build.string() + "' && ./qvl_capture --from 0 --to 170 --fps 0.5 " +
                                       "--size 192x108 --hidden " + options + " --out-dir '" + frames.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const bool update = std::getenv("QVL_UPDATE_REFERENCES") != nullptr;
    const std::filesystem::path failures = build / "reference-failures" / folder;
    for (int time : kTimes) {
        SCOPED_TRACE("frame at " + std::to_string(time) + " s");
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05d.png", int(time / kStep));
        const std::filesystem::path actualPath = frames / name;
        const std::string referenceName = "t" + std::to_string(time) + ".png";
        if (update) {
            std::filesystem::copy_file(actualPath, references / referenceName,
                                       std::filesystem::copy_options::overwrite_existing);
            continue;
        }
        const Picture actual = load(actualPath), reference = load(references / referenceName);
        ASSERT_EQ(actual.width, kWidth);
        ASSERT_EQ(actual.height, kHeight);
        ASSERT_EQ(reference.width, kWidth) << "missing reference " << referenceName;
        ASSERT_EQ(reference.height, kHeight);
        std::vector<unsigned char> picture;
        const Difference d = compare(actual, reference, picture);
        const bool close = d.meanPerChannel < 1.5 && d.farShare < 0.005;
        EXPECT_TRUE(close) << "mean difference " << d.meanPerChannel << " per channel, " << 100.0 * d.farShare
                           << "% of pixels far off; see " << failures.string();
        if (!close) {
            std::filesystem::create_directories(failures);
            std::filesystem::copy_file(actualPath, failures / ("t" + std::to_string(time) + "_actual.png"),
                                       std::filesystem::copy_options::overwrite_existing);
            lodepng::encode((failures / ("t" + std::to_string(time) + "_difference.png")).string(), picture, kWidth,
                            kHeight);
        }
    }
    std::filesystem::remove_all(frames);
}

}  // namespace

TEST(ReferenceFrames, EveryScenesFramesMatchTheirReferences) { expectFramesMatch("", ""); }

// Without multisampling (a driver without it, or --samples 0) every frame is what it was before
// the frame and the off-screen passes were multisampled: the aliased references.
TEST(ReferenceFrames, WithoutMultisamplingTheFramesAreAsTheyWere) { expectFramesMatch("--samples 0", "aliased"); }
