// qvl_taluvine in a web page. The same start-up (DemoSession), programme and frame loop as the
// desktop program; what differs is who owns the loop. A browser tab must get control back after
// every frame, so the frame loop's one-frame step runs from emscripten_set_main_loop, and a
// browser holds audio until the visitor clicks or presses a key, so the page shows a start
// gate and the demo clock starts only once the music is really playing.
// Unlike the desktop program, the page is a player, as a video is: the page's bar, keys, a
// hidden tab and a lost GL context pause, seek and step it through the player the preview
// uses too (runtime/player.h); a frame-rate guard draws fewer pixels where the GPU cannot keep
// up. What the page and the program pass each other is listed in page/module.js.
#include <GL/glew.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>

#include "app/demo.h"
#include "app/demo_session.h"
#include "platform/web/canvas_size.h"
#include "platform/web/frame_rate_guard.h"
#include "runtime/frame_loop.h"
#include "runtime/frame_statistics.h"
#include "runtime/player.h"
#include "runtime/timeline.h"

// web_gl.js: the GL layer's and the emulation's own objects after a lost context came back.
extern "C" int qvl_web_gl_context_restored();
// web_audio.js: the audio library's positions of a track played from an offset.
extern "C" void qvl_web_mend_audio_offsets();

namespace Quorvel {
namespace {

using Web::CanvasSize;

enum class Phase { Gate, WaitingForAudio, Playing, Over };

struct WebRun {
    std::unique_ptr<DemoSession> session;
    std::unique_ptr<FrameLoop> loop;
    std::unique_ptr<FrameStatistics> statistics;
    Phase phase = Phase::Gate;
    double startTime = 0.0;  // demo time to start from (the page's #t=, like the preview's --from)
    // For checking against the capture tool: the page's #t=T&hold draws the second before T at
    // the capture's 30 frames a second and then stays at T, silent, whatever the frame rate.
    bool hold = false;
    long heldFrames = 0;
    double begunAt = 0.0;  // browser milliseconds when the visitor let the page start
    std::optional<Player> player;  // from the first frame played on
    double time = 0.0;             // the demo time the frame being drawn shows
    // While paused, a frame is drawn only when something changed (a seek, a step, a resize):
    // the picture stays as it is and the GPU rests.
    bool redraw = true;
    bool contextLost = false;
    bool contextRestored = false;  // the page said so; the objects are made in the next frame
    bool playAfterRestore = false;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    Web::FrameRateGuard guard;
    double lastFrameAt = -1.0;  // seconds, the start of the previous frame drawn while playing
};

// How long the page waits for the browser to start the sound before it plays without it, as
// the desktop program does without an audio device, rather than showing a still picture.
constexpr double kAudioWaitMilliseconds = 4000.0;

WebRun* run = nullptr;

double nowSeconds() { return emscripten_get_now() / 1000.0; }

bool audioRunning() {
    return EM_ASM_INT({
        return (typeof AL !== 'undefined' && AL.currentCtx && AL.currentCtx.audioCtx &&
                AL.currentCtx.audioCtx.state === 'running') ? 1 : 0;
    }) != 0;
}

bool audioDeviceOpen() {
    return EM_ASM_INT({ return (typeof AL !== 'undefined' && AL.currentCtx) ? 1 : 0; }) != 0;
}

// The desktop's statistics line rewrites itself with backspaces; a browser's console cannot, so
// it gets one line per update.
void printStatistics(double secondsPerFrame) {
    std::cout << kFrameTimeLabel << std::fixed << std::setprecision(4) << secondsPerFrame << std::endl;
}

// The size the page shows the canvas at, in device pixels, as the page measures it
// (Module.qvlDisplaySize); the window's size times the pixel ratio where the page has not said.
CanvasSize displaySize() {
    const int width = EM_ASM_INT({
        var s = Module.qvlDisplaySize;
        return s ? s[0] : Math.round(window.innerWidth * (window.devicePixelRatio || 1));
    });
    const int height = EM_ASM_INT({
        var s = Module.qvlDisplaySize;
        return s ? s[1] : Math.round(window.innerHeight * (window.devicePixelRatio || 1));
    });
    return {width, height};
}

// Tells the page what the frame is drawn with, for its bar and its checks. (Array(): the macro
// would split its argument at a comma between brackets.)
void reportDrawing() {
    const DemoWindow& window = run->session->window();
    EM_ASM({
        Module.qvlSamples = $0;
        Module.qvlDrawingSize = Array($1, $2);
        Module.qvlScale = $3;
    }, run->session->samples(), window.drawableWidth(), window.drawableHeight(), run->guard.scale());
}

// The drawing buffer follows the displayed size and the guard's scale before every frame: a
// window resized, full screen entered or left, a window moved to a screen of another pixel
// ratio, a slow GPU. Done here, between frames, so the frame drawn right after shows at once.
void followDisplaySize() {
    const CanvasSize display = displaySize();
    run->guard.setDisplaySize(display.width, display.height);
    const CanvasSize wanted = Web::scaledDrawingBufferSize(display.width, display.height, run->guard.scale());
    if (wanted.width <= 0) return;
    const DemoWindow& window = run->session->window();
    if (wanted == CanvasSize{window.drawableWidth(), window.drawableHeight()}) return;
    emscripten_set_canvas_element_size("#canvas", wanted.width, wanted.height);
    run->session->resize(wanted.width, wanted.height);
    run->redraw = true;
    reportDrawing();
}

double heldClock() {
    const double time = std::min(run->startTime, std::max(0.0, run->startTime - 1.0) + double(run->heldFrames) / 30.0);
    ++run->heldFrames;
    return time;
}

// What the page's bar shows and the checks read, after every frame, drawn or not. The music's
// position is the one read with the frame's clock (before drawing), so that the checks compare
// the two as the viewer meets them and not the music against a frame that took long to draw.
void publish(double musicSeconds) {
    const Player* player = run->player ? &*run->player : nullptr;
    EM_ASM({
        Module.qvlPaused = !!$0;
        Module.qvlMuted = !!$1;
        Module.qvlMusicTime = $2 < 0 ? null : $2;
    }, player && player->paused(), player && player->muted(), musicSeconds);
}

void publish() { publish(run->session->music().playbackSeconds()); }

// One loop per loaded programme, drawing the time the player (or the held clock) decides.
void makeLoop() {
    run->loop = std::make_unique<FrameLoop>(run->session->programme().timeline(), [] { return run->time; },
                                            run->session->frameHooks());
}

// The guard counts only frames that follow one another while playing: a pause, a seek or a
// hidden tab starts its measurement again (and it drops the interval that spans the gap).
void restartMeasuring() { run->guard.reset(); }

// The music follows the player; a move of the clock is drawn even while paused, and the guard
// measures afresh. A mute moves nothing.
void carryOut(const MusicCue& cue) {
    cueMusic(run->session->music(), cue);
    if (cue.kind == MusicCue::Kind::Keep) return;
    run->redraw = true;
    restartMeasuring();
}

void startClock() {
    const double now = nowSeconds();
    run->session->startDemoClock(run->startTime);
    run->statistics->begin(run->session->stopwatch().elapsed());
    if (!run->hold) run->player.emplace(run->startTime, double(kProgrammeEnd), now);
    run->phase = Phase::Playing;
}

void finish() {
    emscripten_cancel_main_loop();
    run->phase = Phase::Over;
    run->loop.reset();
    run->session.reset();
    EM_ASM({ if (Module.qvlEnded) Module.qvlEnded(); });
}

// The player's own step before each frame: at the end it holds the last frame, paused, and the
// page shows its gate to play again.
void holdAtEnd(double now) {
    const MusicCue cue = run->player->holdAtEnd(now);
    if (cue.kind == MusicCue::Kind::Keep) return;
    carryOut(cue);
    EM_ASM({ if (Module.qvlEnded) Module.qvlEnded(); });
}

// Frames are timed from the start of one to the start of the next, as requestAnimationFrame
// calls them, so the intervals come in whole refreshes of the display.
void measure(double now) {
    if (run->hold || run->player->paused()) return;
    if (run->lastFrameAt >= 0.0) run->guard.frame(now, now - run->lastFrameAt);
    run->lastFrameAt = now;
}

void loseContext();
void rebuildAfterRestore();

void frame() {
    if (run->phase == Phase::Over) return;
    // No GL call while the context is lost: the layer below would keep dead objects. The poll
    // covers the frames between the loss and the page hearing of it.
    if (!run->contextLost && emscripten_is_webgl_context_lost(run->context)) loseContext();
    if (run->contextLost && run->contextRestored) rebuildAfterRestore();
    if (run->contextLost) return;
    followDisplaySize();
    switch (run->phase) {
        case Phase::Gate:
        case Phase::Over: return;
        case Phase::WaitingForAudio:
            if (!audioRunning()) {
                if (emscripten_get_now() - run->begunAt < kAudioWaitMilliseconds) return;
                std::cerr << "audio: the browser did not start the sound; playing silently" << std::endl;
                run->session->music().pause();
            } else {
                // The sound may have started frames ago (a slow frame, a tab hidden after the
                // click): it starts again with the clock, so both count from the same moment.
                run->session->music().playFrom(run->startTime);
            }
            startClock();
            [[fallthrough]];
        case Phase::Playing: break;
    }
    const double now = nowSeconds();
    if (run->player) {
        holdAtEnd(now);
        if (run->player->paused() && !run->redraw) {
            publish();
            return;
        }
        run->time = run->player->time(now);
        measure(now);
        followDisplaySize();  // a new scale from the guard, drawn from this frame on
    } else {
        run->time = heldClock();
    }
    run->redraw = false;
    Stopwatch& stopwatch = run->session->stopwatch();
    const double music = run->session->music().playbackSeconds();
    const float time = run->loop->frame();
    run->statistics->frameDone(stopwatch.elapsed());
    // What the checks read: frames drawn and the demo time of the latest.
    EM_ASM({ Module.qvlFrames = (Module.qvlFrames || 0) + 1; Module.qvlTime = $0; }, time);
    publish(music);
    if (run->loop->quitRequested || !run->session->window().open()) finish();
}

// The bar's length and its named parts, from the timeline: each scene from its first frame to
// the next one's (the page draws them in order of their start).
void publishChapters() {
    EM_ASM({ Module.qvlLength = $0; Module.qvlChapters = []; }, double(kProgrammeEnd));
    for (const Timeline::Entry& entry : run->session->programme().timeline().drawingOrder()) {
        const double start = entry.testStart ? entry.scene->startTime : 0.0;
        EM_ASM({
            Module.qvlChapters.push([UTF8ToString($0), $1]);
            Module.qvlChapters.sort(function (a, b) { return a[1] - b[1]; });
        }, entry.label, start);
    }
}

void loseContext() {
    if (run->contextLost) return;
    if (run->player) {
        run->playAfterRestore = !run->player->paused();
        carryOut(run->player->pauseOn(run->time, nowSeconds()));
    }
    run->contextLost = true;
    run->contextRestored = false;
    publish();
    EM_ASM({ if (Module.qvlLost) Module.qvlLost(); });
}

// Every GL object made again from the files in memory (nothing is downloaded again), and the
// demo goes on from the same moment, playing if it was.
void rebuildAfterRestore() {
    run->contextRestored = false;
    if (!qvl_web_gl_context_restored()) return;  // lost again meanwhile: wait for the next restore
    run->loop.reset();  // it holds the old programme's timeline
    try {
        run->session->rebuildGlObjects();
    } catch (const char* text) {
        // Lost again in the middle: the next restore makes everything again. Anything else is
        // a start-up failure of its own, told as the program tells one.
        if (emscripten_is_webgl_context_lost(run->context)) return;
        std::cerr << text << std::endl;
        emscripten_cancel_main_loop();
        run->phase = Phase::Over;
        EM_ASM({ if (Module.qvlFailed) Module.qvlFailed(); });
        return;
    }
    makeLoop();
    // The GL layer records an error for each program and shader deleted by a forgotten name.
    glGetError();
    run->contextLost = false;
    run->redraw = true;
    reportDrawing();
    if (run->player && run->playAfterRestore) carryOut(run->player->resume(nowSeconds()));
    EM_ASM({ if (Module.qvlRestored) Module.qvlRestored(); });
}

bool playing() { return run && run->player && run->phase == Phase::Playing && !run->contextLost; }

void apply(const PlayerCommand& command) {
    if (!playing() || command.action == PlayerAction::None) return;
    const bool wasPaused = run->player->paused();
    const double now = nowSeconds();
    // A pause holds the picture on the screen (a slow renderer shows one for a while).
    const bool pausing = command.action == PlayerAction::TogglePause && !wasPaused;
    carryOut(pausing ? run->player->pauseOn(run->time, now) : run->player->apply(command, now));
    // The time the next picture shows, from now on: a pause right after a seek holds the
    // sought time, not the frame drawn before it.
    switch (command.action) {
        case PlayerAction::SeekBy:
        case PlayerAction::SeekTo:
        case PlayerAction::GoToStart:
        case PlayerAction::Step: run->time = run->player->time(now); break;
        default: break;
    }
    // The statistics line averages frames that follow one another, not a pause.
    if (wasPaused && !run->player->paused()) run->statistics->begin(run->session->stopwatch().elapsed());
    // At once, not with the next frame: a hidden tab draws none.
    publish();
}

}  // namespace
}  // namespace Quorvel

using namespace Quorvel;

// Called by the page from the visitor's click or key, while the browser still counts it as
// one: audio may start only then. At the end of the programme it plays again from the start.
extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_begin() {
    if (!run) return;
    if (run->contextLost && run->player) {
        run->playAfterRestore = true;  // played again once the context is back
        return;
    }
    if (run->phase == Phase::Playing && run->player && run->player->paused()) {
        apply({PlayerAction::TogglePause});
        return;
    }
    if (run->phase != Phase::Gate) return;
    if (run->hold) {
        startClock();
        return;
    }
    if (run->startTime > 0.0)
        run->session->music().playFrom(run->startTime);
    else
        run->session->music().play();
    if (audioDeviceOpen()) {
        EM_ASM({ AL.currentCtx.audioCtx.resume(); });
        run->begunAt = emscripten_get_now();
        run->phase = Phase::WaitingForAudio;
    } else {
        startClock();  // no audio device: the programme runs silently, as on the desktop
    }
}

// A key from the page (KeyboardEvent.key; repeat: 1 auto-repeat, 0 press, -1 release). Answers
// 0 for a key the player leaves to the browser, 1 for one it took, 2 where the viewer asked for
// full screen, which only the page can do, from this key's own gesture.
extern "C" EMSCRIPTEN_KEEPALIVE int qvl_web_key(const char* name, int repeat, int shift) {
    const PlayerKey key = playerKeyFromName(name ? name : "");
    // Escape leaves full screen and F5 reloads: the browser's own.
    if (key == PlayerKey::Other || key == PlayerKey::Escape || key == PlayerKey::F5) return 0;
    const KeyAction action = repeat < 0 ? KeyAction::Release : repeat > 0 ? KeyAction::Repeat : KeyAction::Press;
    const PlayerCommand command = commandForKey(key, action, shift != 0);
    if (command.action == PlayerAction::FullScreen) return 2;
    apply(command);
    return 1;
}

extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_seek(double seconds) { apply({PlayerAction::SeekTo, seconds}); }

extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_set_paused(int paused) {
    // While the context is lost the demo is paused already: the wish counts at the restore.
    if (run && run->player && run->contextLost) {
        run->playAfterRestore = paused == 0;
        return;
    }
    if (playing() && (paused != 0) != run->player->paused()) apply({PlayerAction::TogglePause});
}

extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_set_muted(int muted) {
    if (playing() && (muted != 0) != run->player->muted()) apply({PlayerAction::ToggleMute});
}

// The browser took the GL context away (another app wants the GPU, a driver reset): nothing is
// drawn until it is back, and the demo waits, music and clock together.
extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_context_lost() {
    if (run && run->session) loseContext();
}

// The context is back, empty: the next frame makes every GL object again.
extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_context_restored() {
    if (run && run->contextLost) run->contextRestored = true;
}

int main() {
    qvl_web_mend_audio_offsets();
    run = new WebRun;
    DemoSessionOptions options;
    // The canvas at the size it is shown at, in device pixels; the programme is letterboxed inside.
    const CanvasSize display = displaySize();
    const CanvasSize canvas = Web::scaledDrawingBufferSize(display.width, display.height, 1.0);
    options.width = std::max(canvas.width, 16);
    options.height = std::max(canvas.height, 9);
    run->startTime = EM_ASM_DOUBLE({ return Module.qvlStartTime || 0; });
    run->hold = EM_ASM_INT({ return Module.qvlHold ? 1 : 0; }) != 0;
    // #full, and the checks' held frames, keep every pixel whatever the frame rate.
    run->guard = Web::FrameRateGuard(run->hold || EM_ASM_INT({ return Module.qvlFull ? 1 : 0; }) != 0);
    // The program's own start-up and failure reports; the session stays open for the browser's loop.
    run->session = openDemoSession(options);
    if (!run->session) {
        EM_ASM({ if (Module.qvlFailed) Module.qvlFailed(); });
        return -1;
    }
    printLoadingReport(run->session->loadingSeconds());
    run->context = emscripten_webgl_get_current_context();
    reportDrawing();
    run->statistics = std::make_unique<FrameStatistics>(printStatistics);
    makeLoop();
    publishChapters();
    EM_ASM({ if (Module.qvlReady) Module.qvlReady(); });
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
