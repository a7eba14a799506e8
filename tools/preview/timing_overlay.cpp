#include "tools/preview/timing_overlay.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace Quorvel::Preview {

namespace {

struct Colour {
    float r, g, b, a;
};

Colour inkColour(Ink ink) {
    switch (ink) {
        case Ink::Heading: return {0.95f, 0.94f, 0.91f, 1.0f};
        case Ink::Text: return {0.80f, 0.82f, 0.86f, 1.0f};
        case Ink::Note: return {0.56f, 0.60f, 0.67f, 1.0f};
        case Ink::Frame: return {0.25f, 0.84f, 1.0f, 1.0f};
        case Ink::Cpu: return {1.0f, 0.70f, 0.28f, 1.0f};
        case Ink::Interval: return {1.0f, 0.48f, 0.30f, 1.0f};
    }
    return {1.0f, 1.0f, 1.0f, 1.0f};
}

constexpr Colour kPanel = {0.02f, 0.03f, 0.05f, 0.82f};
constexpr Colour kGraphGround = {0.05f, 0.08f, 0.15f, 0.85f};

void colour(const Colour& c) { glColor4f(c.r, c.g, c.b, c.a); }

void fill(const Box& box) {
    glBegin(GL_QUADS);
    glVertex2f(box.x, box.y);
    glVertex2f(box.x + box.width, box.y);
    glVertex2f(box.x + box.width, box.y + box.height);
    glVertex2f(box.x, box.y + box.height);
    glEnd();
}

// Through the pixels' centres, so that a one-pixel line lights one row of pixels.
void polyline(const std::vector<Point>& points) {
    glBegin(GL_LINE_STRIP);
    for (const Point& p : points) glVertex2f(p.x + 0.5f, p.y + 0.5f);
    glEnd();
}

// Everything a scene may have left on that would change a flat colour or a texel on its way to
// the window: the attribute stack puts it back afterwards.
void plainState() {
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    for (GLint unit = units - 1; unit >= 0; --unit) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    for (GLenum cap : {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_CULL_FACE, GL_ALPHA_TEST, GL_LIGHTING,
                       GL_FOG, GL_COLOR_LOGIC_OP, GL_LINE_STIPPLE, GL_LINE_SMOOTH, GL_POLYGON_STIPPLE})
        glDisable(cap);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace

TimingOverlay::TimingOverlay(const char* fontPath) {
    // Loading binds the texture and sets the unpack alignment: put back as they were.
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    font = std::make_unique<Texture>(fontPath);
    if (font->name != 0) {
        // One texel a pixel: the hinted glyphs stay sharp, and no cell bleeds into its neighbour.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glPopClientAttrib();
    glPopAttrib();
}

CellSize TimingOverlay::cell() const {
    if (!hasText()) return {};
    return {OverlayFont::advance(int(font->width)), int(font->height) / OverlayFont::kRows};
}

void TimingOverlay::draw(const OverlayPicture& picture, const Viewport& viewport) {
    // Drivers without separate read and draw bindings have one, which both names read.
    const bool separateBindings = GLEW_EXT_framebuffer_blit;
    GLint drawBinding = 0, readBinding = 0, program = 0;
    glGetIntegerv(separateBindings ? GL_DRAW_FRAMEBUFFER_BINDING_EXT : GL_FRAMEBUFFER_BINDING_EXT, &drawBinding);
    glGetIntegerv(separateBindings ? GL_READ_FRAMEBUFFER_BINDING_EXT : GL_FRAMEBUFFER_BINDING_EXT, &readBinding);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    // The window's buffer first: its draw buffer is what the attribute stack saves and restores.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glPushAttrib(GL_ALL_ATTRIB_BITS);  // the active texture unit and matrix mode among them
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);  // whose texture matrix the glyphs' coordinates go through
    for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(matrix);
        glPushMatrix();
        glLoadIdentity();
    }
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, viewport.width, viewport.height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    plainState();

    colour(kPanel);
    fill(picture.panel);
    drawGraph(picture.graph);
    if (hasText()) drawText(picture);

    glActiveTexture(GL_TEXTURE0);
    for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(matrix);
        glPopMatrix();
    }
    glPopAttrib();
    glUseProgram(GLuint(program));
    if (separateBindings) {
        glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, GLuint(readBinding));
        glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, GLuint(drawBinding));
    } else {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(drawBinding));
    }
}

void TimingOverlay::drawGraph(const TimingGraph& graph) {
    colour(kGraphGround);
    fill(graph.box);
    colour(inkColour(Ink::Interval));
    polyline({{graph.box.x, graph.intervalY}, {graph.box.x + graph.box.width - 1.0f, graph.intervalY}});
    colour(inkColour(Ink::Cpu));
    polyline(graph.cpu);
    colour(inkColour(Ink::Frame));
    polyline(graph.frame);
}

void TimingOverlay::drawText(const OverlayPicture& picture) {
    const CellSize size = cell();
    const float cellWidth = float(font->width) / OverlayFont::kColumns;
    const float cellHeight = float(size.lineHeight);
    const float s = font->extentS / OverlayFont::kColumns, t = font->extentT / OverlayFont::kRows;
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font->name);
    glBegin(GL_QUADS);
    for (const PlacedText& placed : picture.text) {
        colour(inkColour(placed.run.ink));
        float x = placed.at.x - OverlayFont::kPadX;
        const float y = placed.at.y;
        for (char c : placed.run.text) {
            const OverlayFont::Cell cell = OverlayFont::cellOf(c);
            const float s0 = float(cell.column) * s, t0 = float(cell.row) * t;
            glTexCoord2f(s0, t0);
            glVertex2f(x, y);
            glTexCoord2f(s0 + s, t0);
            glVertex2f(x + cellWidth, y);
            glTexCoord2f(s0 + s, t0 + t);
            glVertex2f(x + cellWidth, y + cellHeight);
            glTexCoord2f(s0, t0 + t);
            glVertex2f(x, y + cellHeight);
            x += float(size.advance);
        }
    }
    glEnd();
}

int displayRefreshHz(GLFWwindow* window) {
    GLFWmonitor* monitor = window ? glfwGetWindowMonitor(window) : nullptr;
    if (!monitor) monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    return mode ? mode->refreshRate : 0;
}

}  // namespace Quorvel::Preview
