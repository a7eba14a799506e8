#include "synth/chorus.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

Chorus::Chorus(double sampleRate)
    : lineL_(size_t(0.05 * sampleRate), 0.0f),
      lineR_(lineL_.size(), 0.0f),
      lfoStep_(0.27 / sampleRate),
      baseDelay_(0.012 * sampleRate),
      depth_(0.004 * sampleRate) {}

float Chorus::read(const std::vector<float>& line, double delaySamples) const {
    const size_t size = line.size();
    double readPos = double(position_) - delaySamples;
    while (readPos < 0.0) readPos += double(size);
    const size_t i0 = size_t(readPos) % size;
    const size_t i1 = (i0 + 1) % size;
    const float frac = float(readPos - std::floor(readPos));
    return line[i0] + (line[i1] - line[i0]) * frac;
}

void Chorus::process(float* left, float* right, int count, float amount) {
    if (amount <= 0.0f) return;
    for (int i = 0; i < count; ++i) {
        lineL_[position_] = left[i];
        lineR_[position_] = right[i];
        const double lfoL = std::sin(kTwoPi * lfoPhase_);
        const double lfoR = std::cos(kTwoPi * lfoPhase_);
        // Each side hears the other channel's delayed copy too: wider without hollowing the middle.
        const float wetL = read(lineL_, baseDelay_ + depth_ * lfoL);
        const float wetR = read(lineR_, baseDelay_ + depth_ * lfoR);
        left[i] += amount * (wetL - 0.3f * wetR);
        right[i] += amount * (wetR - 0.3f * wetL);
        lfoPhase_ += lfoStep_;
        if (lfoPhase_ >= 1.0) lfoPhase_ -= 1.0;
        if (++position_ == lineL_.size()) position_ = 0;
    }
}

}  // namespace Quorvel::Synth
