#include "synth/compressor.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

Compressor::Compressor(float thresholdDb, float ratio, double attack, double release, double sampleRate)
    : threshold_(thresholdDb),
      slope_(1.0f - 1.0f / std::fmax(ratio, 1.0f)),
      attackCoef_(onePoleCoefficient(attack, sampleRate)),
      releaseCoef_(onePoleCoefficient(release, sampleRate)) {}

void Compressor::computeGain(const float* keyLeft, const float* keyRight, float* gain, int count) {
    for (int i = 0; i < count; ++i) {
        const float key = std::fmax(std::fabs(keyLeft[i]), std::fabs(keyRight[i]));
        const float keyDb = gainToDb(key);
        const float coef = keyDb > envelopeDb_ ? attackCoef_ : releaseCoef_;
        envelopeDb_ += (keyDb - envelopeDb_) * coef;
        const float over = envelopeDb_ - threshold_;
        reductionDb_ = over > 0.0f ? -over * slope_ : 0.0f;
        gain[i] = dbToGain(reductionDb_);
    }
}

void Compressor::process(float* left, float* right, const float* keyLeft, const float* keyRight, int count,
                         float amount) {
    for (int i = 0; i < count; ++i) {
        const float key = std::fmax(std::fabs(keyLeft[i]), std::fabs(keyRight[i]));
        const float keyDb = gainToDb(key);
        // Attack when the key rises, release when it falls: a peak detector in the dB domain.
        const float coef = keyDb > envelopeDb_ ? attackCoef_ : releaseCoef_;
        envelopeDb_ += (keyDb - envelopeDb_) * coef;
        const float over = envelopeDb_ - threshold_;
        reductionDb_ = over > 0.0f ? -over * slope_ * amount : 0.0f;
        const float gain = dbToGain(reductionDb_);
        left[i] *= gain;
        right[i] *= gain;
    }
}

}  // namespace Quorvel::Synth
