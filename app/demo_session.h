// The one start-up and shutdown of the program and its tools: everything the program owns for a
// run, built in the program's order and torn down in the order the GL and audio objects need.
// Built: settings (built-in defaults, then the caller's size), GLFW, the window with its GL
// checks and letterbox, the multisampled frame buffer where the driver can, the fixed GL state,
// the stopwatch (loading time runs from here), the music track, the programme (spectrum analyser
// and five scenes) loaded, and the frame at each cut drawn once out of sight, so that no scene's
// first frame is slow. Torn down: the scenes (while the GL context exists), the frame buffer, the
// window, GLFW, the music track (closing the audio device), the settings. It does not play: the
// program, the capture and the preview each run their own frames on it.
//
//   return runDemoSession(options, [](DemoSession& s) { FrameLoop loop(...); loop.run(); return 0; });
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "app/programme.h"
#include "engine/frame_target.h"
#include "engine/multisample_buffer.h"
#include "runtime/frame_loop.h"
#include "runtime/music_track.h"
#include "runtime/settings.h"
#include "runtime/stopwatch.h"
#include "runtime/window.h"

namespace Quorvel {

// Samples per pixel the frame is drawn with: smooth edges at a cost a GPU hardly notices.
constexpr int kFrameSamples = 4;

struct DemoSessionOptions {
    bool fullscreen = false;   // the "fullscreen" default the settings are written with
    std::int32_t width = 0;    // window size; 0 keeps the built-in settings
    std::int32_t height = 0;
    bool visible = true;       // false: a hidden window (frame capture)
    bool sound = true;         // false: the track is decoded but no audio device is opened
    int samples = kFrameSamples;  // multisampling of the frame and the off-screen passes; 0: none
    // Called with the name of each start-up and shutdown step as it happens (tests).
    std::function<void(const char* step)> trace;
};

class DemoSession {
public:
    // Runs the whole start-up through loading. Throws the program's error texts; a failed
    // GLFW start throws GlfwUnavailable. What was built before a failure is torn down.
    explicit DemoSession(const DemoSessionOptions& options);
    ~DemoSession();
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    struct GlfwUnavailable {};

    DemoWindow& window() { return *demoWindow; }
    // The window's frame hooks, drawing each frame into the multisampled buffer and resolving it
    // into the window before anything reads or shows it.
    FrameHooks frameHooks();
    // Samples per pixel the frame is drawn with (0: straight into the window).
    int samples() const { return frameTarget().samples; }
    MusicTrack& music() { return *track; }
    Programme& programme() { return *loadedProgramme; }
    Stopwatch& stopwatch() { return clock; }
    // Seconds from the stopwatch's start to the end of loading.
    double loadingSeconds() const { return loadingTime; }

    // Destroys every scene and builds and loads them again from data/ (the preview's reload).
    void reloadProgramme();

private:
    struct GlfwLibrary {
        GlfwLibrary();
        ~GlfwLibrary();
    };
    void step(const char* name) const;
    void loadProgramme();
    void beginFrame();
    void warmUp();

    std::function<void(const char*)> trace;
    Settings settings;
    std::optional<GlfwLibrary> glfw;
    std::unique_ptr<DemoWindow> demoWindow;
    std::unique_ptr<MultisampleBuffer> frameBuffer;
    Stopwatch clock;
    std::optional<MusicTrack> track;
    std::unique_ptr<Programme> loadedProgramme;
    double loadingTime = 0.0;
};

// Builds a session and hands it to `play`, returning what `play` returns. Start-up failures are
// reported the program's way: the error text (or "Error: GLFW - Initialization failed") and a
// line break on standard error, after everything built so far was torn down, and -1.
int runDemoSession(const DemoSessionOptions& options, const std::function<int(DemoSession&)>& play);

}  // namespace Quorvel
