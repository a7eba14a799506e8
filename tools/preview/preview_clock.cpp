#include "tools/preview/preview_clock.h"

#include <algorithm>

namespace Quorvel::Preview {

PreviewClock::PreviewClock(double start, double end, double wallNow)
    : endTime(end), demoAtAnchor(std::clamp(start, 0.0, end)), wallAnchor(wallNow) {}

double PreviewClock::clamp(double t) const { return std::clamp(t, 0.0, endTime); }

double PreviewClock::time(double wallNow) const {
    return isPaused ? demoAtAnchor : clamp(demoAtAnchor + (wallNow - wallAnchor));
}

void PreviewClock::pause(double wallNow) {
    if (isPaused) return;
    demoAtAnchor = time(wallNow);
    wallAnchor = wallNow;
    isPaused = true;
}

void PreviewClock::resume(double wallNow) {
    if (!isPaused) return;
    wallAnchor = wallNow;
    isPaused = false;
}

void PreviewClock::togglePause(double wallNow) {
    if (isPaused)
        resume(wallNow);
    else
        pause(wallNow);
}

void PreviewClock::seekTo(double demoTime, double wallNow) {
    demoAtAnchor = clamp(demoTime);
    wallAnchor = wallNow;
}

void PreviewClock::seekBy(double seconds, double wallNow) { seekTo(time(wallNow) + seconds, wallNow); }

void PreviewClock::step(int frames, double frameSeconds, double wallNow) {
    if (!isPaused) return;
    seekTo(demoAtAnchor + frames * frameSeconds, wallNow);
}

}  // namespace Quorvel::Preview
