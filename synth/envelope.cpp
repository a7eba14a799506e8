#include "synth/envelope.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {
namespace {

// Exponential segments aim a little past their target so they arrive in finite time;
// `seconds` is then the time to cover about 99% of the way.
float segmentCoefficient(double seconds, double sampleRate) {
    if (seconds <= 0.0) return 1.0f;
    return float(1.0 - std::exp(-4.6 / (seconds * sampleRate)));
}

}  // namespace

void Envelope::set(double attack, double decay, double sustain, double release, double sampleRate) {
    attackStep_ = attack <= 0.0 ? 1.0f : float(1.0 / (attack * sampleRate));
    decayCoef_ = segmentCoefficient(decay, sampleRate);
    releaseCoef_ = segmentCoefficient(release, sampleRate);
    sustain_ = clampf(float(sustain), 0.0f, 1.0f);
}

void Envelope::noteOn() { stage_ = Stage::Attack; }

void Envelope::noteOff() {
    if (stage_ != Stage::Idle) stage_ = Stage::Release;
}

float Envelope::next() {
    switch (stage_) {
    case Stage::Idle:
        return 0.0f;
    case Stage::Attack:
        level_ += attackStep_;
        if (level_ >= 1.0f) {
            level_ = 1.0f;
            stage_ = Stage::Decay;
        }
        break;
    case Stage::Decay:
        level_ += (sustain_ - level_) * decayCoef_;
        if (std::fabs(level_ - sustain_) < 1e-4f) {
            level_ = sustain_;
            stage_ = Stage::Sustain;
        }
        break;
    case Stage::Sustain:
        level_ = sustain_;
        if (sustain_ <= 0.0f) stage_ = Stage::Idle;
        break;
    case Stage::Release:
        level_ -= level_ * releaseCoef_ + 1e-7f;
        if (level_ <= 1e-5f) {
            level_ = 0.0f;
            stage_ = Stage::Idle;
        }
        break;
    }
    return level_;
}

}  // namespace Quorvel::Synth
