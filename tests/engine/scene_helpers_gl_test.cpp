// The scenes' shared pass helpers: a multitextured quad hands each unit its own coordinates at
// the right corner, the viewport guard puts the caller's viewport back, an off-screen target
// is complete at the size asked with or without depth, and plain-pointer members are deleted
// in the order given and left null.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>
#include <vector>

#include "engine/live_objects.h"
#include "engine/scene_helpers.h"
#include "engine/shader.h"
#include "engine/shader_program.h"
#include "tests/engine/shared_gl_context.h"

using namespace Quorvel;

namespace {

constexpr int kSize = 64;

// Shows unit 0's (s, t) in red and green and unit 1's in blue and alpha.
GLuint coordinateProgram() {
    const char* vertex =
        "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_TexCoord[1] = gl_MultiTexCoord1;"
        " gl_Position = gl_Vertex; }";
    const char* fragment = "void main() { gl_FragColor = vec4(gl_TexCoord[0].st, gl_TexCoord[1].st); }";
    const GLuint program = glCreateProgram();
    for (auto [type, source] : {std::pair{GLenum(GL_VERTEX_SHADER), vertex}, {GLenum(GL_FRAGMENT_SHADER), fragment}}) {
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    return program;
}

// Channel k of a pixel, 0 red to 3 alpha.
int channel(std::uint32_t rgba, int k) { return int((rgba >> (24 - 8 * k)) & 0xffu); }

TEST(SceneHelpers, MultitexturedQuadGivesEachUnitItsCoordinatesAtEachCorner) {
    GlContext& gl = sharedGlContext(kSize, kSize);
    REQUIRE_GL(gl);
    glViewport(0, 0, kSize, kSize);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const GLuint program = coordinateProgram();
    glUseProgram(program);
    // Unit 0 runs left to right and top to bottom; unit 1 the other way round.
    const float corners[4][6] = {{-1, 1, 0, 0, 1, 1}, {1, 1, 1, 0, 0, 1}, {1, -1, 1, 1, 0, 0}, {-1, -1, 0, 1, 1, 0}};
    drawMultitexturedQuad(corners);
    glUseProgram(0);
    glDeleteProgram(program);
    const std::uint32_t topLeft = gl.pixel(0, kSize - 1), bottomRight = gl.pixel(kSize - 1, 0);
    EXPECT_LT(channel(topLeft, 0), 8);
    EXPECT_LT(channel(topLeft, 1), 8);
    EXPECT_GT(channel(topLeft, 2), 247);
    EXPECT_GT(channel(topLeft, 3), 247);
    EXPECT_GT(channel(bottomRight, 0), 247);
    EXPECT_GT(channel(bottomRight, 1), 247);
    EXPECT_LT(channel(bottomRight, 2), 8);
    EXPECT_LT(channel(bottomRight, 3), 8);
}

TEST(SceneHelpers, ViewportGuardSetsTheOffscreenViewportAndRestoresTheCallers) {
    GlContext& gl = sharedGlContext(kSize, kSize);
    REQUIRE_GL(gl);
    glViewport(3, 5, 40, 20);
    GLint inside[4], after[4];
    {
        const ViewportGuard guard(32, 18);
        glGetIntegerv(GL_VIEWPORT, inside);
    }
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_EQ(std::vector<GLint>(inside, inside + 4), (std::vector<GLint>{0, 0, 32, 18}));
    EXPECT_EQ(std::vector<GLint>(after, after + 4), (std::vector<GLint>{3, 5, 40, 20}));
}

TEST(SceneHelpers, OffscreenTargetIsCompleteAtTheSizeAskedWithOrWithoutDepth) {
    GlContext& gl = sharedGlContext(kSize, kSize);
    REQUIRE_GL(gl);
    for (bool withDepth : {false, true}) {
        boost::shared_ptr<FrameBuffer> frameBuffer;
        boost::shared_ptr<EmptyTexture> colour, depth;
        buildOffscreenTarget(48, 27, "test: fbo error", frameBuffer, colour, withDepth ? &depth : nullptr);
        ASSERT_TRUE(frameBuffer && colour);
        EXPECT_EQ(frameBuffer->hasColor, true);
        EXPECT_EQ(frameBuffer->hasDepth, withDepth);
        EXPECT_EQ(bool(depth), withDepth);
        EXPECT_EQ(colour->width, 48u);
        EXPECT_EQ(colour->height, 27u);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer->name);
        EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    EXPECT_EQ(LiveObjects::total(), 0);
}

struct Noted {
    Noted(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
    ~Noted() { log.push_back(name); }
    std::string name;
    std::vector<std::string>& log;
};

TEST(SceneHelpers, PlainPointersAreDeletedInTheOrderGivenAndLeftNull) {
    std::vector<std::string> log;
    Noted* program = new Noted("program", log);
    Noted* shader = new Noted("shader", log);
    Noted* never = nullptr;
    releaseInOrder(program, never, shader);
    EXPECT_EQ(log, (std::vector<std::string>{"program", "shader"}));
    EXPECT_EQ(program, nullptr);
    EXPECT_EQ(shader, nullptr);

    log.clear();
    std::vector<Noted*> greetings = {new Noted("first", log), new Noted("second", log), new Noted("third", log)};
    releaseLastFirst(greetings);
    EXPECT_EQ(log, (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_TRUE(greetings.empty());
}

}  // namespace
