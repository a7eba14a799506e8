#include "engine/framebuffer.h"
#include "stream_capture.h"
#include "shared_gl_context.h"

#include <gtest/gtest.h>

using namespace Quorvel;
using TexturePtr = boost::shared_ptr<EmptyTexture>;

namespace {
GlContext& context() {
    return sharedGlContext(64, 64);
}

TexturePtr colourTarget(std::uint32_t width, std::uint32_t height) {
    return TexturePtr(new EmptyTexture(width, height, 4, GL_RGBA, GL_UNSIGNED_BYTE));
}

TexturePtr depthTarget(std::uint32_t width, std::uint32_t height) {
    return TexturePtr(new EmptyTexture(width, height, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_FLOAT));
}

GLenum status(const FrameBuffer& framebuffer) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer.name);
    const GLenum result = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return result;
}

GLint boundFramebuffer() {
    GLint name = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &name);
    return name;
}
}  // namespace

TEST(FrameBufferGl, ColourThenDepthOfOneSize) {
    REQUIRE_GL(context());
    StreamCapture out(std::cout);
    FrameBuffer framebuffer;
    EXPECT_NE(framebuffer.name, 0u);
    EXPECT_EQ(framebuffer.width, 0u);

    FrameBuffer other;  // whatever was bound before, an attach leaves the window's framebuffer bound
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, other.name);
    framebuffer.attachColor(colourTarget(64, 36));
    EXPECT_EQ(boundFramebuffer(), 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, other.name);
    framebuffer.attachDepth(depthTarget(64, 36));
    EXPECT_EQ(boundFramebuffer(), 0);

    EXPECT_TRUE(framebuffer.hasColor);
    EXPECT_TRUE(framebuffer.hasDepth);
    EXPECT_EQ(framebuffer.width, 64u);
    EXPECT_EQ(framebuffer.height, 36u);
    EXPECT_EQ(framebuffer.storageWidth, 64u);
    EXPECT_EQ(framebuffer.storageHeight, 36u);
    EXPECT_EQ(status(framebuffer), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    EXPECT_EQ(out.text(), "");
}

TEST(FrameBufferGl, DepthFirstFixesTheSize) {
    REQUIRE_GL(context());
    StreamCapture out(std::cout);
    FrameBuffer framebuffer;
    framebuffer.attachDepth(depthTarget(32, 18));
    EXPECT_EQ(framebuffer.width, 32u);
    EXPECT_EQ(framebuffer.height, 18u);
    framebuffer.attachColor(colourTarget(32, 18));
    EXPECT_TRUE(framebuffer.hasColor);
    EXPECT_EQ(status(framebuffer), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    EXPECT_EQ(out.text(), "");
}

TEST(FrameBufferGl, RefusalsPrintAndChangeNothing) {
    REQUIRE_GL(context());
    StreamCapture out(std::cout);
    FrameBuffer framebuffer;
    const TexturePtr colour = colourTarget(64, 36);
    framebuffer.attachColor(colour);

    framebuffer.attachDepth(depthTarget(32, 18));
    EXPECT_EQ(out.text(), "fbo: texture does not match expected size\n");
    EXPECT_FALSE(framebuffer.hasDepth);
    EXPECT_FALSE(framebuffer.depthTexture);
    out.clear();

    framebuffer.attachColor(colour);  // even the same texture again
    EXPECT_EQ(out.text(), "fbo: already have a color attachment\n");
    out.clear();

    framebuffer.attachDepth(depthTarget(64, 36));
    framebuffer.attachDepth(depthTarget(64, 36));
    EXPECT_EQ(out.text(), "fbo: already have a depth attachment\n");
    EXPECT_EQ(framebuffer.colorTexture, colour);
}

TEST(FrameBufferGl, TargetWithoutStorageIsRefusedAndIncomplete) {
    REQUIRE_GL(context());
    StreamCapture out(std::cout);
    FrameBuffer framebuffer;
    TexturePtr empty = colourTarget(0, 36);
    out.clear();
    framebuffer.attachColor(empty);
    EXPECT_EQ(out.text(), "fbo: cannot bind an invalid texture\n");
    EXPECT_FALSE(framebuffer.hasColor);
    EXPECT_NE(status(framebuffer), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    out.clear();
    framebuffer.attachColor(TexturePtr());  // an empty handle is refused the same way
    EXPECT_EQ(out.text(), "fbo: cannot bind an invalid texture\n");
}

TEST(FrameBufferGl, SharesItsAttachmentsAndDeletesItsName) {
    REQUIRE_GL(context());
    TexturePtr colour = colourTarget(16, 16);
    const GLuint textureName = colour->name;
    GLuint framebufferName = 0;
    {
        FrameBuffer framebuffer;
        framebufferName = framebuffer.name;
        framebuffer.attachColor(colour);
        colour.reset();  // the scene drops its handle first
        EXPECT_TRUE(glIsTexture(textureName));
        EXPECT_TRUE(glIsFramebufferEXT(framebufferName));
    }
    EXPECT_FALSE(glIsFramebufferEXT(framebufferName));
    EXPECT_FALSE(glIsTexture(textureName));
}
