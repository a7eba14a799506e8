// The preview's timing overlay drawn for real over a frame of a small session that times its
// passes: it changes pixels only inside its panel in the picture's corner (under a letterbox
// bar's offset), draws its text and graph there, raises no GL error, and leaves the program,
// matrices, bindings and state the frame had as they were. And the font atlas the generator
// wrote: one glyph a cell, white, space blank.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <lodepng.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/demo_session.h"
#include "engine/live_objects.h"
#include "runtime/frame_loop.h"
#include "tools/preview/overlay_font.h"
#include "tools/preview/timing_overlay.h"

using namespace Quorvel;
using namespace Quorvel::Preview;

namespace {

// 640 x 480: bars above and below the 640 x 360 picture, so the overlay's corner is the
// picture's, not the window's.
DemoSessionOptions timedSession() {
    DemoSessionOptions options;
    options.width = 640;
    options.height = 480;
    options.visible = false;
    options.sound = false;
    options.timePasses = true;
    return options;
}

std::vector<std::uint8_t> windowPixels(int width, int height) {
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

GLuint trivialProgram() {
    auto shader = [](GLenum type, const char* source) {
        const GLuint s = glCreateShader(type);
        glShaderSource(s, 1, &source, nullptr);
        glCompileShader(s);
        return s;
    };
    const GLuint vertex = shader(GL_VERTEX_SHADER, "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    const GLuint fragment = shader(GL_FRAGMENT_SHADER, "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

std::vector<GLfloat> matrix(GLenum which) {
    std::vector<GLfloat> m(16);
    glGetFloatv(which, m.data());
    return m;
}

GLint integer(GLenum which) {
    GLint value = -1;
    glGetIntegerv(which, &value);
    return value;
}

TEST(TimingOverlayGl, DrawsOnlyInItsCornerWithoutErrorsAndPutsTheFramesStateBack) {
    DemoSession session(timedSession());
    FrameTimer* timer = session.frameTimer();
    ASSERT_NE(timer, nullptr);
    // Three helix frames, not presented: the last stays in the back buffer to be drawn over.
    FrameHooks hooks = session.frameHooks();
    hooks.present = {};
    FrameLoop loop(session.programme().timeline(), FixedStepClock(20.0, 1.0 / 60.0), hooks);
    for (int i = 0; i < 3; ++i) loop.frame();
    timer->finish();
    TimingHistory history;
    history.add(timer->take(), 1.0);
    ASSERT_EQ(history.entries().size(), 3u);
    EXPECT_FALSE(history.entries().back().frame.spans.empty());

    const Viewport picture = session.window().viewport();
    ASSERT_EQ(picture, (Viewport{0, 60, 640, 360}));
    const std::vector<std::uint8_t> before = windowPixels(640, 480);
    while (glGetError() != GL_NO_ERROR) {
    }

    // A frame's state, each part unlike what the overlay sets: all of it must come back.
    const long texturesBefore = LiveObjects::count(LiveObjects::Texture);
    const GLuint program = trivialProgram();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glUseProgram(program);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3.0f, 4.0f, 5.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 3.0f, 4.0f);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    glScissor(600, 10, 8, 8);  // far from the corner: drawing must not be cut by it
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    if (session.multisampleBuffer()) glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, session.multisampleBuffer()->name());
    const GLint readBinding = integer(GL_READ_FRAMEBUFFER_BINDING_EXT);
    const std::vector<GLfloat> projection = matrix(GL_PROJECTION_MATRIX), modelview = matrix(GL_MODELVIEW_MATRIX);

    OverlayPicture drawn;
    {
        TimingOverlay overlay;
        ASSERT_TRUE(overlay.hasText()) << "data/overlay_font.png";
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(texture)) << "loading the font moved a binding";
        drawn = composeOverlay(history, 1.0, timer->gpu(), frameIntervalMs(60), overlay.cell());
        overlay.draw(drawn, picture);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(LiveObjects::count(LiveObjects::Texture), texturesBefore);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), GLint(program));
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), modelview);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(texture));
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 8);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING_EXT), readBinding);
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING_EXT), 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 60, 640, 360}));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[2], 0.3f);
    glUseProgram(0);
    glDeleteProgram(program);
    glDeleteTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_SCISSOR_TEST);

    // Every changed pixel is the panel's; inside it, text and graph lines come out brighter than
    // the frame beneath, which the panel only darkens.
    const std::vector<std::uint8_t> after = windowPixels(640, 480);
    long changed = 0, outside = 0, brighter = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const std::size_t i = (std::size_t(y) * 640 + x) * 4;
            const int b = before[i] + before[i + 1] + before[i + 2], a = after[i] + after[i + 1] + after[i + 2];
            if (b == a && before[i] == after[i]) continue;
            ++changed;
            const Point inPicture{float(x - picture.x), float(picture.y + picture.height - 1 - y)};
            if (!drawn.panel.contains(inPicture)) ++outside;
            if (a > b + 150) ++brighter;
        }
    EXPECT_EQ(outside, 0) << "of " << changed << " changed pixels";
    EXPECT_GT(changed, long(drawn.panel.width * drawn.panel.height / 2));
    EXPECT_GT(brighter, 500) << "no text drawn";
}

TEST(OverlayFontAtlas, OneWhiteGlyphACellAndABlankSpace) {
    std::vector<unsigned char> rgba;
    unsigned width = 0, height = 0;
    ASSERT_EQ(lodepng::decode(rgba, width, height, OverlayFont::kPath), 0u);
    ASSERT_EQ(width % OverlayFont::kColumns, 0u);
    ASSERT_EQ(height % OverlayFont::kRows, 0u);
    const unsigned cellWidth = width / OverlayFont::kColumns, cellHeight = height / OverlayFont::kRows;
    EXPECT_GE(OverlayFont::advance(int(width)), 6);  // legible: not a handful of pixels
    EXPECT_GE(cellHeight, 12u);
    for (int code = OverlayFont::kFirst; code <= OverlayFont::kLast; ++code) {
        const OverlayFont::Cell cell = OverlayFont::cellOf(char(code));
        int ink = 0;
        for (unsigned y = 0; y < cellHeight; ++y)
            for (unsigned x = 0; x < cellWidth; ++x) {
                const std::size_t i =
                    ((cell.row * cellHeight + y) * std::size_t(width) + cell.column * cellWidth + x) * 4;
                ink = std::max(ink, int(rgba[i + 3]));
                EXPECT_EQ(rgba[i] & rgba[i + 1] & rgba[i + 2], 255) << char(code);
            }
        if (code == ' ')
            EXPECT_EQ(ink, 0);
        else
            EXPECT_GT(ink, 200) << char(code);
    }
    EXPECT_EQ(OverlayFont::cellOf('\t').row, OverlayFont::cellOf('?').row);
}

}  // namespace
