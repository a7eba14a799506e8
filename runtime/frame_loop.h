// The one frame loop of the program and its tools. It takes the demo time from a clock it is
// given (the music's stopwatch in the program, a fixed-step clock in tests and frame capture),
// dispatches the timeline, presents the frame and ends after the programme's last frame, on a
// quit request, or when the window closes. The GL and window work is passed in as hooks, so the
// loop's own logic runs without a display.
//
//   FrameLoop loop(timeline, [&] { return stopwatch.elapsed(); }, hooks);
//   loop.run(&statistics);
#pragma once

#include <functional>

#include "runtime/frame_statistics.h"
#include "runtime/timeline.h"

namespace Quorvel {

struct FrameHooks {
    std::function<void()> beginFrame;         // clear the colour buffer, identity matrices
    std::function<void()> endFrame;           // after the scenes: the frame into the window (may be empty)
    std::function<void(float time)> drawn;    // after the scenes, before presenting (may be empty)
    std::function<void()> present;            // swap buffers and process window events
    std::function<bool()> windowOpen;         // false once the window was closed or its quit key released
    SceneBrackets scenes;                     // around each scene drawn (may be empty)
};

// A clock for tests and capture: start, start + step, start + 2 step, ... one reading per frame.
class FixedStepClock {
public:
    FixedStepClock(double start, double step) : start(start), step(step) {}
    double operator()() { return start + step * double(frame++); }

private:
    double start;
    double step;
    long frame = 0;
};

class FrameLoop {
public:
    FrameLoop(const Timeline& timeline, std::function<double()> clock, FrameHooks hooks)
        : timeline(timeline), clock(std::move(clock)), hooks(std::move(hooks)) {}

    // Runs frames until the programme ends or a quit is requested; at least one frame.
    // `statistics` and `statisticsClock` (a fresh reading after each frame) may be null/empty.
    void run(FrameStatistics* statistics = nullptr, std::function<double()> statisticsClock = {});

    // One frame: returns the demo time it was drawn at.
    float frame();

    // Set by the end of the programme; ends the loop after the frame being drawn. The window's
    // quit key and a tool's own end reach the loop through the `windowOpen` hook instead.
    bool quitRequested = false;

private:
    const Timeline& timeline;
    std::function<double()> clock;
    FrameHooks hooks;
};

}  // namespace Quorvel
