// The programme leaves nothing behind: the toolkit's live GL objects go back to zero when the
// programme is destroyed, and every texture, framebuffer, shader and program name it had is
// no longer one afterwards. Run twice, as the preview tool rebuilds scenes, nothing accumulates.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "app/programme.h"
#include "engine/live_objects.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;

namespace {

constexpr int kWidth = 96, kHeight = 54;

struct GlNames {
    std::vector<GLuint> textures, framebuffers, shaders, programs;
};

// Mesa hands out small names from 1 upwards: a scan finds every name the programme holds.
GlNames liveNames() {
    GlNames names;
    for (GLuint n = 1; n < 4096; ++n) {
        if (glIsTexture(n)) names.textures.push_back(n);
        if (glIsFramebufferEXT(n)) names.framebuffers.push_back(n);
        if (glIsShader(n)) names.shaders.push_back(n);
        if (glIsProgram(n)) names.programs.push_back(n);
    }
    return names;
}

TEST(Teardown, TheProgrammeLeavesNoLiveObjectsAndNoGlNames) {
    GlContext gl(kWidth, kHeight);
    REQUIRE_GL(gl);
    MusicTrack music{MusicTrack::Silent{}};
    ASSERT_EQ(LiveObjects::total(), 0);
    for (int round = 0; round < 2; ++round) {
        GlNames held;
        {
            Programme programme(kWidth, kHeight, music);
            programme.load();
            for (float time : {4.0f, 46.0f, 96.0f, 150.0f}) programme.timeline().dispatch(time);
            EXPECT_GT(LiveObjects::count(LiveObjects::Texture), 20);
            EXPECT_GT(LiveObjects::count(LiveObjects::Framebuffer), 2);
            EXPECT_GT(LiveObjects::count(LiveObjects::Program), 10);
            EXPECT_EQ(LiveObjects::count(LiveObjects::Shader), 2 * LiveObjects::count(LiveObjects::Program));
            held = liveNames();
            EXPECT_EQ(long(held.textures.size()), LiveObjects::count(LiveObjects::Texture));
            EXPECT_EQ(long(held.framebuffers.size()), LiveObjects::count(LiveObjects::Framebuffer));
            EXPECT_EQ(long(held.programs.size()), LiveObjects::count(LiveObjects::Program));
        }
        for (int k = 0; k < LiveObjects::KindCount; ++k)
            EXPECT_EQ(LiveObjects::count(LiveObjects::Kind(k)), 0) << LiveObjects::kindName(LiveObjects::Kind(k));
        for (GLuint n : held.textures) EXPECT_FALSE(glIsTexture(n)) << "texture " << n;
        for (GLuint n : held.framebuffers) EXPECT_FALSE(glIsFramebufferEXT(n)) << "framebuffer " << n;
        for (GLuint n : held.shaders) EXPECT_FALSE(glIsShader(n)) << "shader " << n;
        for (GLuint n : held.programs) EXPECT_FALSE(glIsProgram(n)) << "program " << n;
    }
}

}  // namespace
