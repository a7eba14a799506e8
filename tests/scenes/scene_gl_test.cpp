// The logo and helix scenes drawn for real (Xvfb + Mesa), with the data/ folder of the build:
// frames that show something, the title in its corner, the rung flash on a beat, the GL state
// a scene leaves behind, and nothing at all before load. Small viewports keep llvmpipe quick.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "scenes/helix_scene.h"
#include "scenes/logo_scene.h"
#include "runtime/window.h"
#include "tests/scenes/scene_frames.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

constexpr int kWidth = kSceneWidth, kHeight = kSceneHeight;

// The contents of a render target (first row at the bottom, as GL keeps it).
std::vector<std::uint8_t> readTarget(const EmptyTexture& target) {
    std::vector<std::uint8_t> rgba(size_t(target.width) * target.height * 4);
    glBindTexture(GL_TEXTURE_2D, target.name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return rgba;
}

// Sum of the red channel over the pixels that are clearly warmer than they are blue.
double warmth(const std::vector<std::uint8_t>& rgba) {
    double sum = 0.0;
    for (size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] > rgba[i + 2] + 40) sum += rgba[i];
    return sum;
}

class SceneGl : public SceneGlTest {};

}  // namespace

TEST_F(SceneGl, RenderBeforeLoadDrawsNothingAndKeepsTheState) {
    REQUIRE_GL(gl);
    LogoScene logo(kWidth, kHeight);
    HelixScene helix(kWidth, kHeight);
    startSceneFrame();
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(3, 5, 100, 50);
    glColor3f(0.25f, 0.5f, 0.75f);
    const std::vector<std::uint8_t> before = gl.readPixels();
    logo.render(6.0);
    helix.render(6.0);
    EXPECT_EQ(gl.readPixels(), before);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[2], 100);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(SceneGl, LogoFramesShowTheLogoAndClearTheWayBy13Seconds) {
    REQUIRE_GL(gl);
    LogoScene logo(kWidth, kHeight);
    logo.load();
    ASSERT_TRUE(logo.loaded);
    ASSERT_GT(logo.logoTexture->width, 0u) << "is data/ built (qvl_data)?";
    startSceneFrame();
    logo.render(6.0);
    const Brightness shown = brightness(gl.readPixels());
    EXPECT_GT(shown.mean, 40.0);
    EXPECT_GT(shown.spread, 20.0);
    // At the last frame the logo has dissolved: it covers nothing.
    startSceneFrame();
    logo.render(12.95);
    EXPECT_LT(brightness(gl.readPixels()).mean, 1.0);
}

TEST_F(SceneGl, HelixFramesShowTheHelixAndLeaveTheFrameLoopsState) {
    REQUIRE_GL(gl);
    HelixScene helix(kWidth, kHeight);
    helix.load();
    ASSERT_TRUE(helix.loaded);
    ASSERT_EQ(helix.backgroundFrameBuffer->width, std::uint32_t(kWidth));
    ASSERT_EQ(helix.objectFrameBuffer->height, std::uint32_t(kHeight));
    for (double time : {20.0, 60.0}) {
        startSceneFrame();
        helix.render(time);
        const Brightness frame = brightness(gl.readPixels());
        EXPECT_GT(frame.mean, 30.0) << "at " << time;
        EXPECT_GT(frame.spread, 20.0) << "at " << time;
    }
    GLint value = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    GLfloat matrix[16], colour[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[0], 1.0f);
    EXPECT_EQ(matrix[12], 0.0f);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(SceneGl, TitleSitsInTheTopLeftCornerOfTheBackground) {
    REQUIRE_GL(gl);
    HelixScene helix(kWidth, kHeight);
    helix.load();
    startSceneFrame();
    helix.render(30.0);
    const std::vector<std::uint8_t> background = readTarget(*helix.backgroundColour);
    // Warm off-white text pixels, counted per quarter of the target (rows bottom first).
    int corners[2][2] = {{0, 0}, {0, 0}};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* p = &background[size_t(4 * (y * kWidth + x))];
            if (p[0] > 150 && p[1] > 150 && p[2] > 140) ++corners[y >= kHeight / 2][x >= kWidth / 2];
        }
    EXPECT_GT(corners[1][0], 20);  // top left
    EXPECT_EQ(corners[0][0], 0);
    EXPECT_EQ(corners[0][1], 0);
    EXPECT_EQ(corners[1][1], 0);
}

TEST_F(SceneGl, RungsLightUpJustAfterABeat) {
    REQUIRE_GL(gl);
    HelixScene helix(kWidth, kHeight);
    helix.load();
    // The scene's first frame draws its bands in GL's initial white; later ones in black.
    startSceneFrame();
    helix.render(59.0);
    // Beat 6 (59.0762 s) lights group 0 after every group has faded out.
    startSceneFrame();
    helix.render(59.05);
    const double before = warmth(readTarget(*helix.objectColour));
    startSceneFrame();
    helix.render(59.10);
    const double after = warmth(readTarget(*helix.objectColour));
    EXPECT_GT(after, before * 2.0 + 1000.0);
}
