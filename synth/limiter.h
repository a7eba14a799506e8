// Look-ahead brick-wall limiter for the master: the output never exceeds the ceiling, because the
// gain for each sample is the minimum needed over the look-ahead window, ramped in smoothly before
// the peak arrives. The release depends on the programme: a brief peak lets go within tens of
// milliseconds, a sustained one with `release`. Delays the signal by the look-ahead, which
// processBuffer takes back out.
//
//   Limiter lim(dbToGain(-1.0f), 0.0015, 0.08, 44100.0);
//   lim.processBuffer(left, right);   // whole-track, in place, latency removed
#pragma once

#include <deque>
#include <cstddef>
#include <vector>

namespace Quorvel::Synth {

class Limiter {
public:
    Limiter(float ceiling, double lookahead, double release, double sampleRate);
    // Limits a whole stereo buffer in place; the look-ahead latency is compensated.
    void processBuffer(std::vector<float>& left, std::vector<float>& right);
    float ceiling() const { return ceiling_; }

private:
    // Feeds one frame; returns the delayed, limited frame.
    void push(float inL, float inR, float& outL, float& outR);

    float ceiling_;
    size_t window_;
    float releaseCoef_, transientCoef_, sustainCoef_;
    std::vector<float> delayL_, delayR_, gainRing_;
    size_t position_ = 0;
    std::deque<std::pair<size_t, float>> minima_;  // sliding-window minimum of the required gain
    size_t counter_ = 0;
    float fast_ = 1.0f, slow_ = 1.0f, smoothed_ = 1.0f;
    double gainSum_ = 0.0;
};

}  // namespace Quorvel::Synth
