// The player's demo time: running or paused, moved by seeks and frame steps, always within
// [0, end]. It is told the wall-clock time at each call instead of reading a clock, so its
// arithmetic is tested without waiting. Used by the preview and the web page alike.
//
//   PlayerClock clock(95.0);             // running, demo time 95 s at wall time 0
//   clock.seekBy(-10.0, now);            // ten seconds back, still running
//   double t = clock.time(now);
#pragma once

#include "runtime/timeline.h"

namespace Quorvel {

class PlayerClock {
public:
    explicit PlayerClock(double start, double end = kProgrammeEnd, double wallNow = 0.0);

    double time(double wallNow) const;
    bool paused() const { return isPaused; }
    double end() const { return endTime; }

    void pause(double wallNow);
    void resume(double wallNow);
    void togglePause(double wallNow);
    // Jumps by `seconds` (negative: back), clamped to [0, end]; keeps running or paused.
    void seekBy(double seconds, double wallNow);
    void seekTo(double demoTime, double wallNow);
    // Moves by whole frames while paused; ignored while running.
    void step(int frames, double frameSeconds, double wallNow);

private:
    double clamp(double t) const;
    double endTime;
    bool isPaused = false;
    double demoAtAnchor;  // demo time at wall time `wallAnchor`
    double wallAnchor;
};

}  // namespace Quorvel
