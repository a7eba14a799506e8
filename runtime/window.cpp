#include "runtime/window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>

#include "runtime/frame_loop.h"

namespace Quorvel {

namespace {

void keyCallback(GLFWwindow*, int key, int, int action, int) { onKey(key, action); }

}  // namespace

void onKey(int key, int action) {
    if (key == GLFW_KEY_ESCAPE && action == GLFW_RELEASE) quitRequested = true;
}

const char* glewErrorText(int code) {
    static const char* const texts[] = {"Error: GLEW - No error", "Error: GLEW - Missing GL version",
                                        "Error: GLEW - GL 1.1 and up are not supported",
                                        "Error: GLEW - GLX 1.2 and up are not supported",
                                        "Error: GLEW - Unknown error"};
    return texts[std::min(std::max(code, 0), 4)];
}

GLFWwindow* openDemoWindow(Settings& settings, bool visible) {
    glfwDefaultWindowHints();
    // The wave and face scenes depth-test straight on the screen, so the window needs depth.
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    GLFWmonitor* monitor = settings.getBool("fullscreen") ? glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* window = glfwCreateWindow(settings.getInt("window_width"), settings.getInt("window_height"),
                                          kWindowTitle, monitor, nullptr);
    if (!window) throw "Error: GLFW - Failed to open window";
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    glfwSetKeyCallback(window, keyCallback);

    const GLenum result = glewInit();
    if (result != GLEW_OK) throw glewErrorText(static_cast<int>(result));
    if (!GLEW_VERSION_2_1) throw "Error: OpenGL 2.1 required";
    if (!GLEW_EXT_framebuffer_object) throw "Error: EXT_framebuffer_object extension required";
    return window;
}

Viewport applyLetterbox(GLFWwindow* window) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);  // the drawable size, which full screen decides
    const Viewport v = letterbox(width, height);
    glViewport(v.x, v.y, v.width, v.height);
    return v;
}

void applyFixedGlState() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void beginGlFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void presentFrame(GLFWwindow* window) {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

bool windowOpen(GLFWwindow* window) { return !glfwWindowShouldClose(window); }

FrameHooks windowFrameHooks(GLFWwindow* window) {
    FrameHooks hooks;
    hooks.beginFrame = beginGlFrame;
    hooks.present = [window] { presentFrame(window); };
    hooks.windowOpen = [window] { return windowOpen(window); };
    return hooks;
}

}  // namespace Quorvel
