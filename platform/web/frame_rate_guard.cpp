#include "platform/web/frame_rate_guard.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/web/canvas_size.h"

namespace Quorvel::Web {
namespace {

// Scales per side. Each step draws about 0.7 of the pixels of the one above (0.72, 0.68, 0.73,
// 0.69), so a fill-bound frame gets about 1.4x faster a step: the same relative trade at every
// step, and small enough that one step rarely gives away more sharpness than the frame needed.
constexpr double kSteps[] = {1.0, 0.85, 0.7, 0.6, 0.5};
// A step this close above the lowest scale is skipped: it would cost a change for a few pixels.
constexpr double kStepBesideLowest = 0.05;

// Displays refresh 60 times a second or more. A renderer that is slower never shows the
// display's interval, so the interval measured is never taken as longer than this.
constexpr double kSlowestDisplayInterval = 1.0 / 60.0;
// The display's interval: a low percentile of the frames' intervals, the frames that made
// the next refresh, robust to the odd early timestamp.
constexpr double kDisplayPercentile = 0.1;

// An interval this long is a stall (a scene's first frame, a garbage collection, the tab
// coming back), not the GPU's pace, and is not counted; unless several come in a row: a
// renderer that slow is the pace and must be counted for the guard to act at all.
constexpr double kStallSeconds = 0.25;
constexpr std::size_t kLongOnesThatArePace = 2;

// Lower when the median of the last 2 s is over 1.5 display intervals. Where frames wait for
// the next refresh (a browser's animation frames do), intervals come in whole refreshes: the
// median is 1 while more than half of the frames make each refresh and 2 or more once they
// miss it, so 1.5 tells the two apart with room for timestamp jitter either side.
constexpr double kLowerWindowSeconds = 2.0;
constexpr double kLowerAbove = 1.5;
// Raise only after 4 s in which the median was under 1.1 display intervals and 9 frames in 10
// made the next refresh (under 1.5 intervals). Where frames wait for a refresh the median alone
// would raise with nearly half of them late; where a display shows frames as they come the
// 9 in 10 alone would call 1.2 intervals (50 frames a second) keeping up. Both together are
// the GPU keeping up with some to spare, the nearest a page can get to knowing its headroom.
// A longer window than for lowering: a stutter shows more than a slightly softer picture.
constexpr double kRaiseWindowSeconds = 4.0;
constexpr double kRaiseMedianBelow = 1.1;
constexpr double kRaisePercentile = 0.9;
constexpr double kRaiseLateBelow = kLowerAbove;

constexpr double kSecondsBetweenChanges = 1.0;
// Lowered, raised, lowered again: after this many changes of direction the GPU is on the edge
// between two steps, and the lower one is kept for good rather than a stutter every few seconds.
constexpr int kReversalsToSettle = 2;

constexpr double kEpsilon = 1e-6;

// The value below which a `fraction` of the values lie (the lower one of two middles).
template <typename It>
double percentile(It begin, It end, double fraction) {
    std::vector<double> values(begin, end);
    const auto at = values.begin() + std::ptrdiff_t(fraction * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

bool allowed(double step, double lowest) { return step >= 1.0 || step > lowest + kStepBesideLowest; }

double stepBelow(double scale, double lowest) {
    for (const double step : kSteps)
        if (step < scale - kEpsilon && allowed(step, lowest)) return step;
    return std::min(scale, lowest);
}

double stepAbove(double scale, double lowest) {
    double above = 1.0;
    for (const double step : kSteps)
        if (step > scale + kEpsilon && allowed(step, lowest)) above = step;
    return above;
}

}  // namespace

FrameRateGuard::FrameRateGuard(bool full) : full_(full) {}

bool FrameRateGuard::settled() const { return reversals_ >= kReversalsToSettle; }

void FrameRateGuard::setDisplaySize(std::int32_t displayWidth, std::int32_t displayHeight) {
    if (displayWidth <= 0 || displayHeight <= 0) return;
    if (displayWidth == displayWidth_ && displayHeight == displayHeight_) return;
    displayWidth_ = displayWidth;
    displayHeight_ = displayHeight;
    lowest_ = lowestDrawingScale(displayWidth, displayHeight);
    scale_ = std::max(scale_, lowest_);
    restartWindow();
}

void FrameRateGuard::reset() {
    restartWindow();
    skipNext_ = true;
}

void FrameRateGuard::restartWindow() {
    window_.clear();
    windowSeconds_ = 0.0;
    heldBack_.clear();
    longInARow_ = 0;
}

double FrameRateGuard::frame(double endTime, double interval) {
    if (full_) return 1.0;
    if (skipNext_) {
        skipNext_ = false;
        return scale_;
    }
    if (!(interval > 0.0) || !std::isfinite(interval)) return scale_;
    if (interval > kStallSeconds) {
        if (++longInARow_ < kLongOnesThatArePace) {
            heldBack_.push_back(interval);
            return scale_;
        }
        for (const double pace : heldBack_) count(pace);
        heldBack_.clear();
        count(interval);
    } else {
        longInARow_ = 0;
        heldBack_.clear();  // they were stalls
        count(interval);
    }
    decide(endTime);
    return scale_;
}

void FrameRateGuard::count(double interval) {
    window_.push_back(interval);
    windowSeconds_ += interval;
    while (window_.size() > 1 && windowSeconds_ - window_.front() >= kRaiseWindowSeconds) {
        windowSeconds_ -= window_.front();
        window_.pop_front();
    }
}

void FrameRateGuard::decide(double endTime) {
    if (windowSeconds_ < kLowerWindowSeconds - kEpsilon) return;
    if (changedYet_ && endTime - changedAt_ < kSecondsBetweenChanges) return;
    const double display =
        std::min(kSlowestDisplayInterval, percentile(window_.begin(), window_.end(), kDisplayPercentile));

    auto latest = window_.end();
    for (double seconds = 0.0; latest != window_.begin() && seconds < kLowerWindowSeconds - kEpsilon;)
        seconds += *--latest;
    const double median = percentile(latest, window_.end(), 0.5) / display;
    if (median > kLowerAbove) {
        if (scale_ <= lowest_ + kEpsilon) return;
        // Far behind, go down more than a step at once. Where frames wait for a refresh, a
        // median of n intervals means more than n - 1 intervals of work, so (n - 1) is the
        // least the pixels must shrink by; stepping while still above that is never too far.
        const double target = scale_ / std::sqrt(std::max(1.0, median - 1.0));
        double lowered = stepBelow(scale_, lowest_);
        while (lowered > target && lowered > lowest_ + kEpsilon) lowered = stepBelow(lowered, lowest_);
        change(lowered, endTime);
        return;
    }
    if (settled() || scale_ >= 1.0 || windowSeconds_ < kRaiseWindowSeconds - kEpsilon) return;
    if (percentile(window_.begin(), window_.end(), 0.5) < kRaiseMedianBelow * display &&
        percentile(window_.begin(), window_.end(), kRaisePercentile) < kRaiseLateBelow * display)
        change(stepAbove(scale_, lowest_), endTime);
}

void FrameRateGuard::change(double scale, double endTime) {
    const int direction = scale < scale_ ? -1 : 1;
    if (lastDirection_ != 0 && direction != lastDirection_) ++reversals_;
    lastDirection_ = direction;
    scale_ = scale;
    changedYet_ = true;
    changedAt_ = endTime;
    restartWindow();  // the frames so far were drawn with the old number of pixels
}

}  // namespace Quorvel::Web
