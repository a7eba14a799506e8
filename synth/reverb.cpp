#include "synth/reverb.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {
namespace {

// Mutually prime-ish delay lengths in samples at 44.1 kHz; scaled for other rates.
constexpr int kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllPassLengths[4] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr float kInputGain = 0.015f;

}  // namespace

float Reverb::Comb::process(float x, float feedback, float damp) {
    const float out = line[pos];
    store = flushDenormal(out * (1.0f - damp) + store * damp);
    line[pos] = flushDenormal(x + store * feedback);
    if (++pos == line.size()) pos = 0;
    return out;
}

float Reverb::AllPass::process(float x) {
    const float delayed = line[pos];
    const float out = delayed - x;
    line[pos] = flushDenormal(x + delayed * 0.5f);
    if (++pos == line.size()) pos = 0;
    return out;
}

Reverb::Reverb(float size, float damping, double sampleRate)
    : feedback_(0.7f + 0.28f * clampf(size, 0.0f, 0.99f)),
      damp_(0.4f * clampf(damping, 0.0f, 1.0f)),
      highPassCoef_(float(1.0 - std::exp(-kTwoPi * 180.0 / sampleRate))) {
    const double scale = sampleRate / 44100.0;
    for (int i = 0; i < 8; ++i) {
        combsL_[i].line.assign(size_t(kCombLengths[i] * scale), 0.0f);
        combsR_[i].line.assign(size_t((kCombLengths[i] + kStereoSpread) * scale), 0.0f);
    }
    for (int i = 0; i < 4; ++i) {
        allPassL_[i].line.assign(size_t(kAllPassLengths[i] * scale), 0.0f);
        allPassR_[i].line.assign(size_t((kAllPassLengths[i] + kStereoSpread) * scale), 0.0f);
    }
}

void Reverb::process(float* left, float* right, int count) {
    for (int i = 0; i < count; ++i) {
        // One-pole high-pass on the input: subtract a low-passed copy.
        highPassL_ = flushDenormal(highPassL_ + (left[i] - highPassL_) * highPassCoef_);
        highPassR_ = flushDenormal(highPassR_ + (right[i] - highPassR_) * highPassCoef_);
        const float input = ((left[i] - highPassL_) + (right[i] - highPassR_)) * kInputGain;
        float outL = 0.0f, outR = 0.0f;
        for (int c = 0; c < 8; ++c) {
            outL += combsL_[c].process(input, feedback_, damp_);
            outR += combsR_[c].process(input, feedback_, damp_);
        }
        for (int a = 0; a < 4; ++a) {
            outL = allPassL_[a].process(outL);
            outR = allPassR_[a].process(outR);
        }
        left[i] = outL;
        right[i] = outR;
    }
}

float Reverb::peakState() const {
    float peak = 0.0f;
    for (const auto* combs : {&combsL_, &combsR_})
        for (const Comb& c : *combs)
            for (float v : c.line) peak = std::fmax(peak, std::fabs(v));
    return peak;
}

}  // namespace Quorvel::Synth
