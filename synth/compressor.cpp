#include "synth/compressor.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

Compressor::Compressor(float thresholdDb, float ratio, double attack, double release, double sampleRate)
    : threshold_(thresholdDb),
      slope_(1.0f - 1.0f / std::fmax(ratio, 1.0f)),
      attackCoef_(onePoleCoefficient(attack, sampleRate)),
      releaseCoef_(onePoleCoefficient(release, sampleRate)) {}

float Compressor::follow(float keyLeft, float keyRight) {
    const float keyDb = gainToDb(std::fmax(std::fabs(keyLeft), std::fabs(keyRight)));
    // Attack when the key rises, release when it falls: a peak detector in the dB domain.
    const float coef = keyDb > envelopeDb_ ? attackCoef_ : releaseCoef_;
    envelopeDb_ += (keyDb - envelopeDb_) * coef;
    const float over = envelopeDb_ - threshold_;
    return over > 0.0f ? -over * slope_ : 0.0f;
}

void Compressor::computeGain(const float* keyLeft, const float* keyRight, float* gain, int count) {
    for (int i = 0; i < count; ++i) {
        reductionDb_ = follow(keyLeft[i], keyRight[i]);
        gain[i] = dbToGain(reductionDb_);
    }
}

void Compressor::process(float* left, float* right, const float* keyLeft, const float* keyRight, int count,
                         float amount) {
    for (int i = 0; i < count; ++i) {
        reductionDb_ = follow(keyLeft[i], keyRight[i]) * amount;
        const float gain = dbToGain(reductionDb_);
        left[i] *= gain;
        right[i] *= gain;
    }
}

}  // namespace Quorvel::Synth
