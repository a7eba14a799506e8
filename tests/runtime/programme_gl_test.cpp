// The programme as shipped, checked against numbers written here: the scenes in drawing order
// with their windows, offsets and start tests, the order they load in, and the texture memory
// the loading report prints for a known viewport.
#include <gtest/gtest.h>

#include <lodepng.h>

#include <iostream>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/programme.h"
#include "engine/texture_memory.h"
#include "tests/engine/stream_capture.h"
#include "tests/scenes/scratch_data.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

constexpr int kWidth = 256, kHeight = 144;

GlContext& context() {
    static GlContext shared(kWidth, kHeight);
    return shared;
}

MusicTrack& music() {
    static MusicTrack track{MusicTrack::Silent{}};
    return track;
}

}  // namespace

TEST(ShippedProgramme, DrawsTheFiveScenesInOrderWithTheirWindows) {
    Programme programme(kWidth, kHeight, music());
    const auto& order = programme.timeline().drawingOrder();
    ASSERT_EQ(order.size(), 5u);
    struct Expected {
        const std::type_info& type;
        double start, end, offset;
        bool testStart;
    };
    const Expected expected[5] = {{typeid(HelixScene), 5.0, 74.0, 8.0, true},
                                  {typeid(LogoScene), 0.0, 13.0, 0.0, false},
                                  {typeid(WaveScene), 74.0, 100.0, 0.0, true},
                                  {typeid(TubeScene), 94.0, 135.0, 5.0, true},
                                  {typeid(FaceScene), 134.0, 170.0, 0.0, true}};
    for (size_t i = 0; i < 5; ++i) {
        const Scene& scene = *order[i].scene;
        EXPECT_EQ(typeid(scene), expected[i].type) << "position " << i;
        EXPECT_EQ(scene.startTime, expected[i].start) << "position " << i;
        EXPECT_EQ(scene.endTime, expected[i].end) << "position " << i;
        EXPECT_EQ(order[i].testStart, expected[i].testStart) << "position " << i;
        EXPECT_EQ(scene.viewportWidth, kWidth);
        EXPECT_EQ(scene.viewportHeight, kHeight);
        if (expected[i].type != typeid(LogoScene)) {  // the logo neither sets nor uses its offset
            EXPECT_EQ(scene.timeOffset, expected[i].offset) << "position " << i;
        }
    }
}

TEST(ShippedProgramme, LoadsLogoHelixTubeWaveFaceInThatOrder) {
    GlContext& gl = context();
    REQUIRE_GL(gl);
    // Without each scene's first shader, each load announces itself on standard error.
    const std::vector<std::string> firstShaders{"logo.vert", "helix_bg.vert", "tube_tube.vert", "wave_line.vert",
                                                "face_face.vert"};
    ScratchData data;
    for (const std::string& name : firstShaders) data.remove(name);
    data.enter();
    std::string errors;
    {
        Programme programme(kWidth, kHeight, music());
        StreamCapture capture(std::cerr);
        StreamCapture quiet(std::cout);
        programme.load();
        errors = capture.text();
    }
    data.leave();
    size_t previous = 0;
    for (const std::string& name : firstShaders) {
        const size_t at = errors.find("data/" + name);
        ASSERT_NE(at, std::string::npos) << name << " in:\n" << errors;
        EXPECT_GE(at, previous) << name << " loaded out of order";
        previous = at;
    }
}

TEST(ShippedProgramme, TextureMemoryIsThePicturesAndTheTargets) {
    GlContext& gl = context();
    REQUIRE_GL(gl);
    // Each stored byte once: an RGBA picture or colour target is 4 bytes a pixel, a depth target 4.
    // Every picture the scenes load.
    const char* pictures[] = {"logo_logo.png",      "logo_clouds.png",   "helix_wall.png",     "helix_clouds.png",
                              "helix_title_crop.png", "greet1.png",      "greet_abv.png",      "greet_bri.png",
                              "greet_cul.png",      "greet_dap.png",     "greet_efo.png",      "greet_gim.png",
                              "greet_hok.png",      "greet2.png",        "wave_skydome2.png",  "name_pelmo.png",
                              "name_tornwick.png",  "credits.png",       "face_bg.png",        "face_normal.png",
                              "face_lightprobe.png", "face_eyes.png"};
    std::int64_t expected = 0;
    for (const char* name : pictures) {
        std::vector<unsigned char> rgba;
        unsigned w = 0, h = 0;
        ASSERT_EQ(lodepng::decode(rgba, w, h, std::string("data/") + name), 0u) << name;
        expected += std::int64_t(w) * h * 4;
    }
    // Render targets of the viewport's size: colour for the helix background, object, blur and
    // post passes and the tube; depth for the helix object pass and the tube.
    expected += 5 * std::int64_t(kWidth) * kHeight * 4 + 2 * std::int64_t(kWidth) * kHeight * 4;
    const std::int32_t before = textureMemoryBytes;
    {
        Programme programme(kWidth, kHeight, music());
        StreamCapture quiet(std::cout);
        programme.load();
    }
    EXPECT_EQ(std::int64_t(textureMemoryBytes - before), expected);
}
