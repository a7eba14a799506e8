// The web page's frame-rate guard: keeps the demo moving at the display's rate on a GPU that
// cannot fill every pixel, by asking for a smaller drawing buffer, a step at a time, and for
// more pixels again once frames come comfortably in time. Fed the intervals between the frames
// drawn, it answers the scale per side (1 = every pixel). It does not read a clock, resize the
// canvas or know the browser: the page's program (web_main.cpp) measures, canvas_size.h turns
// the scale into a size.
//
//   guard.setDisplaySize(w, h);                               // before each frame
//   const double scale = guard.frame(rafTime, rafTime - previousRafTime);
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace Quorvel::Web {

class FrameRateGuard {
public:
    // `full` (the page's #full): every pixel, whatever the frame rate.
    explicit FrameRateGuard(bool full = false);

    // The canvas's displayed size in device pixels; it sets how low the scale may go. Until
    // it is known the guard keeps every pixel. A new size restarts the measuring (the frames
    // so far had another number of pixels) and lifts the scale to the new size's lowest.
    void setDisplaySize(std::int32_t displayWidth, std::int32_t displayHeight);

    // One frame drawn while the demo plays: `endTime` (s, monotonic) when it began and
    // `interval` (s) since the one before began, as requestAnimationFrame calls them, which
    // follows the display's refreshes. Returns the scale for the frames to come.
    double frame(double endTime, double interval);

    // The demo paused, resumed or sought, or the tab was hidden: the frames so far and the
    // interval up to the next frame say nothing about the GPU. Keeps the scale.
    void reset();

    double scale() const { return scale_; }
    // The lowest scale the guard goes to for the display size it was given.
    double lowestScale() const { return lowest_; }
    bool full() const { return full_; }
    // Once it has changed its mind twice the guard keeps the lower scale and never raises it.
    bool settled() const;

private:
    void count(double interval);
    void decide(double endTime);
    void change(double scale, double endTime);
    void restartWindow();

    bool full_ = false;
    double scale_ = 1.0;
    double lowest_ = 1.0;
    std::int32_t displayWidth_ = 0, displayHeight_ = 0;

    std::deque<double> window_;    // the latest intervals, oldest first
    double windowSeconds_ = 0.0;   // their sum
    std::vector<double> heldBack_;  // long intervals in a row, not yet known to be stalls or the pace
    std::size_t longInARow_ = 0;
    bool skipNext_ = false;        // the next interval spans a pause, a seek or a hidden tab

    bool changedYet_ = false;
    double changedAt_ = 0.0;
    int lastDirection_ = 0;  // -1 lowered, +1 raised
    int reversals_ = 0;
};

}  // namespace Quorvel::Web
