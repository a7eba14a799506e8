#include "synth/delay.h"

#include <algorithm>

#include "synth/dsp.h"

namespace Quorvel::Synth {

PingPongDelay::PingPongDelay(double seconds, float feedback, double sampleRate)
    : bufferL_(std::max<size_t>(1, size_t(seconds * sampleRate + 0.5)), 0.0f),
      bufferR_(bufferL_.size(), 0.0f),
      feedback_(clampf(feedback, 0.0f, 0.95f)),
      dampCoef_(float(1.0 - std::exp(-kTwoPi * 3500.0 / sampleRate))) {}

void PingPongDelay::process(float* left, float* right, int count) {
    const size_t size = bufferL_.size();
    for (int i = 0; i < count; ++i) {
        const float outL = bufferL_[position_];
        const float outR = bufferR_[position_];
        dampL_ = flushDenormal(dampL_ + (outR - dampL_) * dampCoef_);
        dampR_ = flushDenormal(dampR_ + (outL - dampR_) * dampCoef_);
        // The input enters on the left only (mono sum); the channels then swap at each repeat.
        bufferL_[position_] = flushDenormal(0.5f * (left[i] + right[i]) + dampL_ * feedback_);
        bufferR_[position_] = flushDenormal(dampR_ * feedback_);
        left[i] = outL;
        right[i] = outR;
        if (++position_ == size) position_ = 0;
    }
}

}  // namespace Quorvel::Synth
