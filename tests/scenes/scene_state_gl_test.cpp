// What each scene leaves behind for the next one, in full, after rendering under a letterboxed
// viewport with an offset (as on a 16:10 screen): viewport, both matrices, program, framebuffer,
// client arrays, depth test and mask, culling, blend function, texture units and their bindings,
// texturing, texture environment and current colour, each as the scene's description says.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "runtime/spectrum_analyser.h"
#include "runtime/window.h"
#include "scenes/face_scene.h"
#include "scenes/helix_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/tube_scene.h"
#include "scenes/wave_scene.h"
#include "tests/scenes/scene_frames.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

constexpr int kWidth = kSceneWidth, kHeight = kSceneHeight;
constexpr GLint kViewport[4] = {7, 9, kWidth - 14, kHeight - 18};
constexpr std::array<float, 4> kSentinelColour{0.25f, 0.5f, 0.75f, 1.0f};

struct LeftState {
    std::array<float, 4> colour;  // current colour
    GLint textureEnvironment;     // GL_TEXTURE_ENV_MODE on unit 0
};

class SceneState : public SceneGlTest {
protected:
    static MusicTrack& music() { return decodedSoundtrack(); }

    // The frame loop's state, a letterboxed viewport and a colour the scene may or may not change.
    static void prepareFrame() {
        startSceneFrame();
        glViewport(kViewport[0], kViewport[1], kViewport[2], kViewport[3]);
        glColor4f(kSentinelColour[0], kSentinelColour[1], kSentinelColour[2], kSentinelColour[3]);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glDepthMask(GL_TRUE);  // so one scene's fault does not show up as the next one's
    }

    static void expectLeft(const std::string& scene, const LeftState& expected) {
        SCOPED_TRACE(scene);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(viewport[i], kViewport[i]) << "viewport " << i;
        GLfloat matrix[16];
        for (GLenum which : {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX}) {
            glGetFloatv(which, matrix);
            for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << "matrix " << which;
        }
        GLint value = -1;
        glGetIntegerv(GL_MATRIX_MODE, &value);
        EXPECT_EQ(value, GL_MODELVIEW);
        glGetIntegerv(GL_CURRENT_PROGRAM, &value);
        EXPECT_EQ(value, 0);
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &value);
        EXPECT_EQ(value, 0);
        for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY})
            EXPECT_FALSE(glIsEnabled(array)) << "client array " << array;
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_EQ(mask, GL_TRUE);
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        glGetIntegerv(GL_BLEND_SRC, &value);
        EXPECT_EQ(value, GL_SRC_ALPHA);
        glGetIntegerv(GL_BLEND_DST, &value);
        EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
        EXPECT_EQ(value, GL_TEXTURE0);
        for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
            glActiveTexture(unit);
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
            EXPECT_EQ(value, 0) << "texture on unit " << unit - GL_TEXTURE0;
        }
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
        EXPECT_EQ(value, expected.textureEnvironment);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(colour[i], expected.colour[size_t(i)], 1e-6f) << "colour " << i;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};

}  // namespace

TEST_F(SceneState, LogoLeavesTheFrameLoopsStateAndColour) {
    REQUIRE_GL(gl);
    LogoScene logo(kWidth, kHeight);
    logo.load();
    prepareFrame();
    logo.render(6.0);
    expectLeft("logo", {kSentinelColour, GL_MODULATE});
}

TEST_F(SceneState, HelixLeavesBlackColourAndRestoresTheViewport) {
    REQUIRE_GL(gl);
    HelixScene helix(kWidth, kHeight);
    helix.load();
    prepareFrame();
    helix.render(59.9);
    prepareFrame();
    helix.render(60.0);
    // Step 17 leaves the colour black; the alpha is whatever the frame loop had.
    expectLeft("helix", {{0.0f, 0.0f, 0.0f, kSentinelColour[3]}, GL_MODULATE});
}

TEST_F(SceneState, LandscapeLeavesWhiteAtTheLastNamesOpacity) {
    REQUIRE_GL(gl);
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    wave.load();
    prepareFrame();
    wave.render(80.0);  // u = 6: Pelmo, drawn last, is not shown yet
    expectLeft("wave", {{1.0f, 1.0f, 1.0f, 0.0f}, GL_MODULATE});
    prepareFrame();
    wave.render(88.0);  // u = 14: Pelmo fully shown
    expectLeft("wave", {{1.0f, 1.0f, 1.0f, 1.0f}, GL_MODULATE});
}

TEST_F(SceneState, TubeLeavesWhiteAtTheMainGreetingsOpacity) {
    REQUIRE_GL(gl);
    TubeScene tube(kWidth, kHeight);
    tube.load();
    prepareFrame();
    tube.render(101.5);  // one second into greeting 0's period: opacity 0.5
    expectLeft("tube", {{1.0f, 1.0f, 1.0f, 0.5f}, GL_MODULATE});
}

TEST_F(SceneState, FaceLeavesWhiteInBothPhases) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    for (double time : {140.0, 160.0, 166.2}) {
        prepareFrame();
        face.render(time);
        expectLeft("face at " + std::to_string(time), {{1.0f, 1.0f, 1.0f, 1.0f}, GL_MODULATE});
    }
}
