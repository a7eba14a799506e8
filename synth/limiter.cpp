#include "synth/limiter.h"

#include <algorithm>
#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

namespace {

// A lone transient (a hit's first few milliseconds) only needs the gain down while it passes;
// holding it down for the full release would sink the hit's own body and the kick under it.
// Reduction that lasts longer than kSustainTime is taken over by the slow release, so sustained
// loud passages keep the steady gain that does not distort low notes.
constexpr double kTransientRelease = 0.015;
constexpr double kSustainTime = 0.03;

}  // namespace

Limiter::Limiter(float ceiling, double lookahead, double release, double sampleRate)
    : ceiling_(ceiling),
      window_(std::max<size_t>(1, size_t(lookahead * sampleRate))),
      releaseCoef_(onePoleCoefficient(release, sampleRate)),
      transientCoef_(onePoleCoefficient(std::min(release, kTransientRelease), sampleRate)),
      sustainCoef_(onePoleCoefficient(kSustainTime, sampleRate)),
      delayL_(window_, 0.0f),
      delayR_(window_, 0.0f),
      gainRing_(window_, 1.0f),
      gainSum_(double(window_)) {}

void Limiter::push(float inL, float inR, float& outL, float& outR) {
    inL = sanitize(inL);
    inR = sanitize(inR);
    const float peak = std::fmax(std::fabs(inL), std::fabs(inR));
    const float required = peak > ceiling_ ? ceiling_ / peak : 1.0f;
    // Minimum of the required gain over the last window_ + 1 inputs: that span includes the
    // sample leaving the delay line for every gain still in the averaging ring.
    while (!minima_.empty() && minima_.back().second >= required) minima_.pop_back();
    minima_.emplace_back(counter_, required);
    while (minima_.front().first + window_ < counter_) minima_.pop_front();
    const float target = minima_.front().second;
    // The fast envelope drops at once and recovers quickly; the slow one settles into reduction
    // that persists and recovers slowly. The lower of the two never exceeds the target (the fast
    // one never does), so the average below stays safe.
    fast_ = target < fast_ ? target : fast_ + (target - fast_) * transientCoef_;
    slow_ += (target - slow_) * (target < slow_ ? sustainCoef_ : releaseCoef_);
    smoothed_ = std::fmin(fast_, slow_);
    // Box average over the window: each term covers the delayed sample, so the mean does too.
    gainSum_ += double(smoothed_) - double(gainRing_[position_]);
    gainRing_[position_] = smoothed_;
    const float gain = float(gainSum_ / double(window_));
    const float delayedL = delayL_[position_], delayedR = delayR_[position_];
    delayL_[position_] = inL;
    delayR_[position_] = inR;
    if (++position_ == window_) position_ = 0;
    ++counter_;
    // Rounding in the running sum must not let a sample through: clamp as the last word.
    outL = clampf(delayedL * gain, -ceiling_, ceiling_);
    outR = clampf(delayedR * gain, -ceiling_, ceiling_);
}

void Limiter::processBuffer(std::vector<float>& left, std::vector<float>& right) {
    const size_t n = std::min(left.size(), right.size());
    float outL = 0.0f, outR = 0.0f;
    for (size_t i = 0; i < n + window_; ++i) {
        const float inL = i < n ? left[i] : 0.0f;
        const float inR = i < n ? right[i] : 0.0f;
        push(inL, inR, outL, outR);
        if (i >= window_) {
            left[i - window_] = outL;
            right[i - window_] = outR;
        }
    }
}

}  // namespace Quorvel::Synth
