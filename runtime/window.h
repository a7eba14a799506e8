// The demo's window and GL context on GLFW 3, with the behaviour the program relies on:
// Escape ends the run when released (not pressed), window events are processed right after each
// buffer swap, full screen opens on the primary monitor, and closing the window ends the loop.
// It checks the GL capabilities the scenes need and sets the program's fixed GL state.
// It does not own GLFW itself: glfwInit/glfwTerminate stay with the entry point.
//
//   GLFWwindow* w = openDemoWindow(settings, true);   // throws an error text on failure
//   Viewport v = applyLetterbox(w);  applyFixedGlState();
#pragma once

#include "runtime/frame_loop.h"
#include "runtime/letterbox.h"
#include "runtime/settings.h"

struct GLFWwindow;

namespace Quorvel {

constexpr const char* kWindowTitle = "Taluvine by Quorvel";

// Opens the window from "window_width", "window_height" and "fullscreen", makes its context
// current, initialises GLEW and checks for OpenGL 2.1 and EXT_framebuffer_object. Throws the
// program's error texts ("Error: GLFW - Failed to open window", ...). `visible` false opens it
// hidden (frame capture without a display to look at).
GLFWwindow* openDemoWindow(Settings& settings, bool visible = true);

// The key handler: releasing Escape requests the end of the run; everything else is ignored.
void onKey(int key, int action);

// Sets the 16:9 viewport inside the drawable size actually obtained and returns it.
Viewport applyLetterbox(GLFWwindow* window);

// Blending on (source alpha, one minus source alpha), depth test, culling and alpha test off,
// 2D texturing on, identity matrices.
void applyFixedGlState();

// Start of every frame: colour buffer cleared to black (depth untouched), identity matrices.
void beginGlFrame();

// Swap, then process window events (the key handler runs here).
void presentFrame(GLFWwindow* window);

bool windowOpen(GLFWwindow* window);

// The frame loop's hooks for this window: clear, swap and events, open test.
FrameHooks windowFrameHooks(GLFWwindow* window);

// GLEW's error text for its result code, as the program prints it.
const char* glewErrorText(int code);

}  // namespace Quorvel
