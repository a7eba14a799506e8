#include "synth/filter.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

void Filter::set(double cutoff, double resonance, double sampleRate) {
    double fc = cutoff;
    if (!(fc > 10.0)) fc = 10.0;  // also catches NaN
    if (fc > 0.45 * sampleRate) fc = 0.45 * sampleRate;
    double res = resonance < 0.0 ? 0.0 : (resonance > 0.98 ? 0.98 : resonance);
    const double g = std::tan(kPi * fc / sampleRate);
    const double k = 2.0 - 2.0 * res;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    a1_ = float(a1);
    a2_ = float(g * a1);
    a3_ = float(g * g * a1);
    k_ = float(k);
}

float Filter::process(float x) {
    const float v3 = x - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = flushDenormal(2.0f * v1 - ic1_);
    ic2_ = flushDenormal(2.0f * v2 - ic2_);
    switch (mode_) {
    case FilterMode::LowPass: return v2;
    case FilterMode::HighPass: return x - k_ * v1 - v2;
    case FilterMode::BandPass: return k_ * v1;  // unity gain at the centre, whatever the resonance
    }
    return v2;
}

}  // namespace Quorvel::Synth
