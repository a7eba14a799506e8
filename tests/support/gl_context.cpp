#include "tests/support/gl_context.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

GlContext::GlContext(int width, int height) {
    if (!glfwInit()) return;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "qvl test", nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        return;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window);
        glfwTerminate();
        window = nullptr;
        return;
    }
    glfwGetFramebufferSize(window, &fbWidth, &fbHeight);
    glViewport(0, 0, fbWidth, fbHeight);
}

GlContext::~GlContext() {
    if (!window) return;
    glfwDestroyWindow(window);
    glfwTerminate();
}

std::vector<std::uint8_t> GlContext::readPixels() const {
    std::vector<std::uint8_t> rgba(static_cast<size_t>(fbWidth) * fbHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, fbWidth, fbHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

std::uint32_t GlContext::pixel(int x, int y) const {
    std::uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
