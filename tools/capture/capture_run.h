// One capture over a loaded programme: the frames of the plan drawn by the shared frame loop on
// the capture's fixed-step clock, each timed, then written as PNG, sent to the video encoder or
// recorded for the timing report, with a progress line; at the end the outputs are closed and
// the run is reported (frames, median render time, resident memory). It plays no audio.
//
//   CaptureRun run(options, session);   // the window and programme of a DemoSession
//   return run.run();                   // the tool's exit status
#pragma once

#include <chrono>
#include <csignal>
#include <cstddef>
#include <memory>
#include <vector>

#include "app/demo_session.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/progress_report.h"
#include "tools/capture/timing_report.h"
#include "tools/capture/video_encoder.h"

namespace Quorvel::Capture {

// The signal that asked the capture to stop after the frame in hand, 0 while none has.
extern volatile std::sig_atomic_t stopSignal;

class CaptureRun {
public:
    // Opens the outputs (PNG folder, soundtrack cut and video encoder); throws std::runtime_error
    // when one cannot be made.
    CaptureRun(const CaptureOptions& options, DemoSession& session);
    ~CaptureRun();
    CaptureRun(const CaptureRun&) = delete;
    CaptureRun& operator=(const CaptureRun&) = delete;

    // Renders the plan and closes the outputs: 0, 1 when the encoder failed, 128 + the signal
    // when stopped early. Throws std::runtime_error when a single frame lies past the programme.
    int run();

private:
    using Clock = std::chrono::steady_clock;
    struct SoundtrackFile;

    void openVideo();
    void frameDrawn(float time);
    void writeFrame();
    int finishVideo();
    void reportEnd(int& status) const;
    void reportRenderTimes() const;
    void reportMemory() const;
    void addPassTimes();

    const CaptureOptions& options;
    DemoSession& session;
    const CapturePlan plan;
    const int width, height;
    const bool writesPngs;
    double lastSceneStart = 0.0;  // once past it, every scene has drawn at least once

    std::unique_ptr<SoundtrackFile> soundtrack;
    std::unique_ptr<VideoEncoder> video;
    ProgressReport progress;

    long index = 0, written = 0;
    float lastTime = 0.0f;
    bool encoderStopped = false;
    bool done = false;
    Clock::time_point frameStart, runStart;
    std::vector<double> renderMs;
    std::vector<FrameTiming> timings;
    double encoderMs = 0.0;
    std::size_t residentAfterLoading = 0, residentOnceAllDrew = 0;
};

}  // namespace Quorvel::Capture
