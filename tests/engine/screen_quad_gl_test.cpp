#include "engine/framebuffer.h"
#include "engine/texture.h"
#include "temp_files.h"
#include "shared_gl_context.h"

#include <gtest/gtest.h>

using namespace Quorvel;

namespace {
constexpr int kSize = 64;
// Colours as RGB: the window may or may not keep alpha.
constexpr std::uint32_t kRed = 0xff0000, kGreen = 0x00ff00, kBlue = 0x0000ff, kClear = 0x000000, kWhite = 0xffffff;

GlContext& context() {
    return sharedGlContext(kSize, kSize);
}

std::uint32_t rgbAt(int x, int y) {
    return context().pixel(x, y) >> 8;
}

void resetState() {
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void fillRect(float x0, float y0, float x1, float y1, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(r, g, b, 1);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

void expectUnitZeroEmptyAndTexturingOn() {
    GLint unit = 0, bound = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(bound, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}
}  // namespace

TEST(ScreenQuadGl, RenderTargetComesOutUpright) {
    REQUIRE_GL(context());
    resetState();
    boost::shared_ptr<EmptyTexture> colour(new EmptyTexture(kSize, kSize, 4, GL_RGBA, GL_UNSIGNED_BYTE));
    FrameBuffer framebuffer;
    framebuffer.attachColor(colour);

    // Render green above red and a blue mark at the top-left into the target.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer.name);
    glClear(GL_COLOR_BUFFER_BIT);
    fillRect(-1, -1, 1, 0, 1, 0, 0);
    fillRect(-1, 0, 1, 1, 0, 1, 0);
    fillRect(-1, 0.5f, -0.5f, 1, 0, 0, 1);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    glClear(GL_COLOR_BUFFER_BIT);
    colour->drawFullscreen();
    EXPECT_EQ(rgbAt(48, 8), kRed);     // bottom stays bottom
    EXPECT_EQ(rgbAt(48, 40), kGreen);  // top stays top
    EXPECT_EQ(rgbAt(4, 60), kBlue);    // left stays left
    EXPECT_EQ(rgbAt(60, 60), kGreen);
    EXPECT_EQ(rgbAt(0, 0), kRed);      // covers the whole viewport, unscaled
    EXPECT_EQ(rgbAt(kSize - 1, kSize - 1), kGreen);
    expectUnitZeroEmptyAndTexturingOn();
}

TEST(ScreenQuadGl, PixelQuadPutsAHalfSizePictureInTheTopLeftQuarter) {
    REQUIRE_GL(context());
    resetState();
    // 960 x 540: top half red, bottom half blue, a green pixel column at the left edge's top.
    TempFolder folder;
    const unsigned width = 960, height = 540;
    std::vector<unsigned char> rgba(width * height * 4, 255);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            unsigned char* p = &rgba[(y * width + x) * 4];
            const bool top = y < height / 2;
            p[0] = top ? 255 : 0;
            p[1] = 0;
            p[2] = top ? 0 : 255;
        }
    }
    const std::string path = folder.writePng("half.png", width, height, rgba);
    Texture picture(path.c_str());
    ASSERT_EQ(picture.errorCode, 0u);
    // Outside the picture show the border, not a repeat, so the quarter is visible.
    picture.bind(GL_TEXTURE0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    picture.unbind();

    picture.drawPixelQuad(1080);
    // Window rows count from the bottom: the quarter is x < 32, y >= 32.
    EXPECT_EQ(rgbAt(8, 56), kRed);   // picture top at the window top
    EXPECT_EQ(rgbAt(24, 36), kBlue);
    EXPECT_EQ(rgbAt(8, 60), kRed);
    EXPECT_EQ(rgbAt(48, 56), kClear);  // right of the picture
    EXPECT_EQ(rgbAt(8, 16), kClear);   // below the picture
    EXPECT_EQ(rgbAt(48, 16), kClear);
    expectUnitZeroEmptyAndTexturingOn();
}

TEST(ScreenQuadGl, PixelQuadOfAFullSizePictureFillsTheQuad) {
    REQUIRE_GL(context());
    resetState();
    TempFolder folder;
    const unsigned width = 1920, height = 1080;
    std::vector<unsigned char> rgba(width * height * 4, 255);  // white
    const std::string path = folder.writePng("full.png", width, height, rgba);
    Texture picture(path.c_str());
    picture.drawPixelQuad(1080);
    EXPECT_EQ(rgbAt(0, 0), kWhite);
    EXPECT_EQ(rgbAt(kSize - 1, kSize - 1), kWhite);
}
