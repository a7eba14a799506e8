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
#include <vector>

#include "app/programme.h"
#include "engine/frame_target.h"
#include "engine/frame_timer.h"
#include "engine/shared_multisample.h"
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
    // Time every frame, scene and pass (GPU timer queries where the driver has them): for the
    // tools; the program itself does not.
    bool timePasses = false;
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
    int samples() const { return target.samples; }
    MusicTrack& music() { return *track; }
    Programme& programme() { return *loadedProgramme; }
    Stopwatch& stopwatch() { return clock; }
    // Seconds from the stopwatch's start to the end of loading.
    double loadingSeconds() const { return loadingTime; }
    // The frames' times, scene by scene and pass by pass, read back a few frames after each is
    // drawn (take()); null unless the options asked for them. Frames are numbered from 0 in
    // the order the frame hooks draw them.
    FrameTimer* frameTimer() { return timer.get(); }
    // The frame's multisampled buffer, lent to the passes (null when the frame is not multisampled).
    const SharedMultisample* multisampleBuffer() const { return frameBuffer.get(); }

    // Restarts the stopwatch so that it reads `demoTime` from now on. Called the moment the
    // music starts: demo time is seconds since the music started, on the same counter.
    void startDemoClock(double demoTime = 0.0);

    // The drawable has a new size between frames (a canvas following its window): the
    // letterbox, the frame's multisampled buffer and the scenes' targets of the viewport's size
    // are rebuilt and drawn once out of sight, as loading does; no picture, mesh or shader is
    // loaded again, and the music and the clock run on. False (nothing done) for the same size.
    bool resize(int drawableWidth, int drawableHeight);

    // Destroys every scene and builds and loads them again from data/ (the preview's reload).
    void reloadProgramme();

    // Every GL object of the session made again on the same window and context: the frame's
    // buffer, the fixed state and the programme, from data/ as it is on disk (the web page's
    // files stay in memory, so nothing is downloaded again). For a context whose objects were
    // lost (a browser reclaiming the GPU) and given back empty; the music and clock are kept.
    void rebuildGlObjects();

private:
    struct GlfwLibrary {
        GlfwLibrary();
        ~GlfwLibrary();
    };
    void step(const char* name) const;
    void buildFrameBuffer();
    void loadProgramme();
    void beginFrame();
    void endFrame();
    SceneBrackets sceneBrackets();
    void warmUp(const std::vector<double>& cuts);

    std::function<void(const char*)> trace;
    Settings settings;
    std::optional<GlfwLibrary> glfw;
    std::unique_ptr<DemoWindow> demoWindow;
    int frameSamples = 0;  // what the driver grants of the samples asked for
    std::unique_ptr<SharedMultisample> frameBuffer;
    FrameTarget target;    // the frame buffer as the scenes are handed it
    std::unique_ptr<FrameTimer> timer;
    long framesBegun = 0;
    double frameStartedAt = 0.0;  // the CPU's clock at beginFrame, seconds
    Stopwatch clock;
    std::optional<MusicTrack> track;
    std::unique_ptr<Programme> loadedProgramme;
    double loadingTime = 0.0;
};

// Builds a session; a start-up failure is reported the program's way, after everything built so
// far was torn down: the error text (or "Error: GLFW - Initialization failed") and a line break
// on standard error, and null. For callers whose loop runs on after they return.
std::unique_ptr<DemoSession> openDemoSession(const DemoSessionOptions& options);

// Builds a session and hands it to `play`, returning what `play` returns. Failures, at start-up
// or raised by `play`, are reported as openDemoSession reports them, and give -1.
int runDemoSession(const DemoSessionOptions& options, const std::function<int(DemoSession&)>& play);

}  // namespace Quorvel
