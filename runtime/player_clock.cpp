#include "runtime/player_clock.h"

#include <algorithm>
#include <cmath>

namespace Quorvel {

PlayerClock::PlayerClock(double start, double end, double wallNow)
    : endTime(end), demoAtAnchor(std::clamp(start, 0.0, end)), wallAnchor(wallNow) {}

double PlayerClock::clamp(double t) const { return std::isnan(t) ? 0.0 : std::clamp(t, 0.0, endTime); }

double PlayerClock::time(double wallNow) const {
    return isPaused ? demoAtAnchor : clamp(demoAtAnchor + (wallNow - wallAnchor));
}

void PlayerClock::pause(double wallNow) {
    if (isPaused) return;
    demoAtAnchor = time(wallNow);
    wallAnchor = wallNow;
    isPaused = true;
}

void PlayerClock::resume(double wallNow) {
    if (!isPaused) return;
    wallAnchor = wallNow;
    isPaused = false;
}

void PlayerClock::togglePause(double wallNow) {
    if (isPaused)
        resume(wallNow);
    else
        pause(wallNow);
}

void PlayerClock::seekTo(double demoTime, double wallNow) {
    demoAtAnchor = clamp(demoTime);
    wallAnchor = wallNow;
}

void PlayerClock::seekBy(double seconds, double wallNow) { seekTo(time(wallNow) + seconds, wallNow); }

void PlayerClock::step(int frames, double frameSeconds, double wallNow) {
    if (!isPaused) return;
    seekTo(demoAtAnchor + frames * frameSeconds, wallNow);
}

}  // namespace Quorvel
