// qvl_taluvine in a web page. The same start-up (DemoSession), programme and frame loop as the
// desktop program; what differs is who owns the loop. A browser tab must get control back after
// every frame, so the frame loop's one-frame step runs from emscripten_set_main_loop, and a
// browser holds audio until the visitor clicks or presses a key, so the page shows a start
// gate and the demo clock starts only once the music is really playing.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>

#include "app/demo.h"
#include "app/demo_session.h"
#include "platform/web/canvas_size.h"
#include "runtime/frame_loop.h"
#include "runtime/frame_statistics.h"
#include "runtime/timeline.h"

namespace Quorvel {
namespace {

using Web::CanvasSize;
using Web::drawingBufferSize;

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
};

// How long the page waits for the browser to start the sound before it plays without it, as
// the desktop program does without an audio device, rather than showing a still picture.
constexpr double kAudioWaitMilliseconds = 4000.0;

WebRun* run = nullptr;

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
    return drawingBufferSize(width, height);
}

// Tells the page what the frame is drawn with, for its checks.
void reportDrawing() {
    EM_ASM({ Module.qvlSamples = $0; }, run->session->samples());
}

// The drawing buffer follows the displayed size before every frame: a window resized, full
// screen entered or left, a window moved to a screen of another pixel ratio. Done here, between
// frames, so the frame drawn right after shows at once.
void followDisplaySize() {
    const CanvasSize wanted = displaySize();
    if (wanted.width <= 0) return;
    const DemoWindow& window = run->session->window();
    if (wanted == CanvasSize{window.drawableWidth(), window.drawableHeight()}) return;
    emscripten_set_canvas_element_size("#canvas", wanted.width, wanted.height);
    run->session->resize(wanted.width, wanted.height);
    reportDrawing();
}

double heldClock() {
    const double time = std::min(run->startTime, std::max(0.0, run->startTime - 1.0) + double(run->heldFrames) / 30.0);
    ++run->heldFrames;
    return time;
}

void startClock() {
    run->session->startDemoClock(run->startTime);
    run->statistics->begin(run->session->stopwatch().elapsed());
    run->phase = Phase::Playing;
}

void finish() {
    emscripten_cancel_main_loop();
    run->phase = Phase::Over;
    run->loop.reset();
    run->session.reset();
    EM_ASM({ if (Module.qvlEnded) Module.qvlEnded(); });
}

void frame() {
    if (run->phase == Phase::Over) return;
    followDisplaySize();
    switch (run->phase) {
        case Phase::Gate:
        case Phase::Over: return;
        case Phase::WaitingForAudio:
            if (!audioRunning()) {
                if (emscripten_get_now() - run->begunAt < kAudioWaitMilliseconds) return;
                std::cerr << "audio: the browser did not start the sound; playing silently" << std::endl;
                run->session->music().pause();
            }
            startClock();
            [[fallthrough]];
        case Phase::Playing: break;
    }
    Stopwatch& stopwatch = run->session->stopwatch();
    const float time = run->loop->frame();
    run->statistics->frameDone(stopwatch.elapsed());
    // What the checks read: frames drawn and the demo time of the latest.
    EM_ASM({ Module.qvlFrames = (Module.qvlFrames || 0) + 1; Module.qvlTime = $0; }, time);
    if (run->loop->quitRequested || !run->session->window().open()) finish();
}

}  // namespace
}  // namespace Quorvel

// Called by the page from the visitor's click or key, while the browser still counts it as
// one: audio may start only then.
extern "C" EMSCRIPTEN_KEEPALIVE void qvl_web_begin() {
    using namespace Quorvel;
    if (!run || run->phase != Phase::Gate) return;
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

int main() {
    using namespace Quorvel;
    run = new WebRun;
    DemoSessionOptions options;
    // The canvas at the size it is shown at, in device pixels; the programme is letterboxed inside.
    const CanvasSize canvas = displaySize();
    options.width = std::max(canvas.width, 16);
    options.height = std::max(canvas.height, 9);
    run->startTime = EM_ASM_DOUBLE({ return Module.qvlStartTime || 0; });
    run->hold = EM_ASM_INT({ return Module.qvlHold ? 1 : 0; }) != 0;
    // The program's own start-up and failure reports; the session stays open for the browser's loop.
    run->session = openDemoSession(options);
    if (!run->session) {
        EM_ASM({ if (Module.qvlFailed) Module.qvlFailed(); });
        return -1;
    }
    printLoadingReport(run->session->loadingSeconds());
    reportDrawing();
    run->statistics = std::make_unique<FrameStatistics>(printStatistics);
    Stopwatch& stopwatch = run->session->stopwatch();
    std::function<double()> clock = [&stopwatch] { return stopwatch.elapsed(); };
    if (run->hold) clock = heldClock;
    run->loop = std::make_unique<FrameLoop>(run->session->programme().timeline(), clock, run->session->frameHooks());
    EM_ASM({ if (Module.qvlReady) Module.qvlReady(); });
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
