// The demo's window and GL context on GLFW 3, with the behaviour the program relies on:
// Escape ends the run when released (not pressed), window events are processed right after each
// buffer swap, full screen opens on the primary monitor at the mode it already has (so the
// display is never switched), and closing the window ends the loop.
// Opening it checks the GL capabilities the scenes need and letterboxes the drawable 16:9; the
// key events go to the handler this window holds (no process-wide key state). It does not own
// GLFW itself: the start-up that owns the window initialises and terminates the library.
//
//   DemoWindow window(settings);                  // throws an error text on failure
//   applyFixedGlState();  FrameLoop loop(timeline, clock, window.frameHooks());
#pragma once

#include <functional>

#include "runtime/frame_loop.h"
#include "runtime/letterbox.h"
#include "runtime/settings.h"

struct GLFWwindow;

namespace Quorvel {

constexpr const char* kWindowTitle = "Taluvine by Quorvel";

// The size a window opens at: full screen takes the monitor's current mode (nothing changes
// the display's mode), a window the size the settings name.
struct WindowSize {
    int width, height;
};
WindowSize windowSizeFor(bool fullscreen, int settingsWidth, int settingsHeight, int monitorWidth, int monitorHeight);

// The program's key rule: true when this key event ends the run (Escape released).
bool onKey(int key, int action);

// GLEW's error text for its result code, as the program prints it.
const char* glewErrorText(int code);

class DemoWindow {
public:
    // A key event as GLFW reports it: key, action (press, repeat, release) and modifiers.
    using KeyHandler = std::function<void(int key, int action, int mods)>;

    // Opens the window from "window_width", "window_height" and "fullscreen" (full screen takes
    // the primary monitor's current mode instead of the size), makes its context current,
    // initialises GLEW, checks for OpenGL 2.1 and EXT_framebuffer_object and sets the 16:9
    // viewport inside the drawable size obtained. Throws the program's error texts ("Error:
    // GLFW - Failed to open window", ...). `visible` false opens it hidden (frame capture).
    explicit DemoWindow(Settings& settings, bool visible = true);
    ~DemoWindow();
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;

    GLFWwindow* handle() const { return window; }
    // The letterboxed viewport, and the whole drawable it sits in.
    const Viewport& viewport() const { return letterboxed; }
    int drawableWidth() const { return width; }
    int drawableHeight() const { return height; }

    // The drawable now has this size (a canvas resized with its window while playing): the letterbox
    // and the GL viewport follow. The desktop's window keeps the size it opened with.
    void resize(int drawableWidth, int drawableHeight);

    // Replaces the program's key rule (the preview queues its own keys); empty restores it.
    void setKeyHandler(KeyHandler handler);
    // True once the window was closed or the program's key rule asked to end the run.
    bool open() const;
    // Swap, then process window events (the key handler runs here).
    void present();
    // The frame loop's hooks for this window: clear, swap and events, open test.
    FrameHooks frameHooks();

private:
    static void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);

    GLFWwindow* window = nullptr;
    Viewport letterboxed{};
    int width = 0, height = 0;
    KeyHandler keyHandler;
    bool quitKeyReleased = false;
};

// Blending on (source alpha, one minus source alpha), depth test, culling and alpha test off,
// 2D texturing on, identity matrices.
void applyFixedGlState();

// Start of every frame: colour buffer cleared to black (depth untouched), identity matrices.
void beginGlFrame();

}  // namespace Quorvel
