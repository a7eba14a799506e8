#include "runtime/window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>

namespace Quorvel {

bool onKey(int key, int action) { return key == GLFW_KEY_ESCAPE && action == GLFW_RELEASE; }

const char* glewErrorText(int code) {
    static const char* const texts[] = {"Error: GLEW - No error", "Error: GLEW - Missing GL version",
                                        "Error: GLEW - GL 1.1 and up are not supported",
                                        "Error: GLEW - GLX 1.2 and up are not supported",
                                        "Error: GLEW - Unknown error"};
    return texts[std::min(std::max(code, 0), 4)];
}

WindowSize windowSizeFor(bool fullscreen, int settingsWidth, int settingsHeight, int monitorWidth, int monitorHeight) {
    if (fullscreen && monitorWidth > 0 && monitorHeight > 0) return {monitorWidth, monitorHeight};
    return {settingsWidth, settingsHeight};
}

DemoWindow::DemoWindow(Settings& settings, bool visible) {
    glfwDefaultWindowHints();
    // The wave and face scenes depth-test straight on the screen, so the window needs depth.
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    GLFWmonitor* monitor = settings.getBool("fullscreen") ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode) {
        // The monitor's own mode, refresh rate included, so GLFW keeps it instead of switching.
        glfwWindowHint(GLFW_RED_BITS, mode->redBits);
        glfwWindowHint(GLFW_GREEN_BITS, mode->greenBits);
        glfwWindowHint(GLFW_BLUE_BITS, mode->blueBits);
        glfwWindowHint(GLFW_REFRESH_RATE, mode->refreshRate);
    }
    const WindowSize size = windowSizeFor(monitor != nullptr, settings.getInt("window_width"),
                                          settings.getInt("window_height"), mode ? mode->width : 0, mode ? mode->height : 0);
    window = glfwCreateWindow(size.width, size.height, kWindowTitle, monitor, nullptr);
    if (!window) throw "Error: GLFW - Failed to open window";
    glfwSetWindowUserPointer(window, this);
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    glfwSetKeyCallback(window, keyCallback);
    // On the big screen no pointer sits in the middle of the picture.
    if (monitor) glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

    const GLenum result = glewInit();
    if (result != GLEW_OK) throw glewErrorText(static_cast<int>(result));
    if (!GLEW_VERSION_2_1) throw "Error: OpenGL 2.1 required";
    if (!GLEW_EXT_framebuffer_object) throw "Error: EXT_framebuffer_object extension required";

    int drawableWidth = 0, drawableHeight = 0;
    glfwGetFramebufferSize(window, &drawableWidth, &drawableHeight);  // the drawable size, which full screen decides
    resize(drawableWidth, drawableHeight);
}

void DemoWindow::resize(int drawableWidth, int drawableHeight) {
    width = drawableWidth;
    height = drawableHeight;
    letterboxed = letterbox(width, height);
    glViewport(letterboxed.x, letterboxed.y, letterboxed.width, letterboxed.height);
}

// A window whose constructor threw is left to glfwTerminate, which closes every window.
DemoWindow::~DemoWindow() { glfwDestroyWindow(window); }

void DemoWindow::keyCallback(GLFWwindow* window, int key, int, int action, int mods) {
    auto* self = static_cast<DemoWindow*>(glfwGetWindowUserPointer(window));
    if (self->keyHandler)
        self->keyHandler(key, action, mods);
    else if (onKey(key, action))
        self->quitKeyReleased = true;
}

void DemoWindow::setKeyHandler(KeyHandler handler) { keyHandler = std::move(handler); }

bool DemoWindow::open() const { return !quitKeyReleased && !glfwWindowShouldClose(window); }

void DemoWindow::present() {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

FrameHooks DemoWindow::frameHooks() {
    FrameHooks hooks;
    hooks.beginFrame = beginGlFrame;
    hooks.present = [this] { present(); };
    hooks.windowOpen = [this] { return open(); };
    return hooks;
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

}  // namespace Quorvel
