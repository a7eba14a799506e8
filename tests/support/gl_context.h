// A real GL context for tests: a small GLFW window on the test display (Xvfb with Mesa's
// llvmpipe in CI), GLEW initialised, the compatibility profile the program uses.
// It does not set the program's fixed GL state; tests set what they rely on.
//
//   GlContext gl(64, 64);           // skips the test when no display can be opened
//   auto rgba = gl.readPixels();    // bottom row first, as GL returns it
#pragma once

#include <cstdint>
#include <vector>

struct GLFWwindow;

class GlContext {
public:
    GlContext(int width = 64, int height = 64);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool ok() const { return window != nullptr; }
    int width() const { return fbWidth; }
    int height() const { return fbHeight; }
    // RGBA bytes of the back buffer, GL order (first row is the bottom of the window).
    std::vector<std::uint8_t> readPixels() const;
    // RGBA of one pixel, x from the left, y from the bottom.
    std::uint32_t pixel(int x, int y) const;

private:
    GLFWwindow* window = nullptr;
    int fbWidth = 0;
    int fbHeight = 0;
};

// Asserts that a GL context exists, else fails the test: the test command always provides a display.
#define REQUIRE_GL(gl) ASSERT_TRUE((gl).ok()) << "no GL context: is DISPLAY set (run under Xvfb)?"
