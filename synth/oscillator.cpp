#include "synth/oscillator.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {
namespace {

// Polynomial correction around a discontinuity at phase 0; t is the phase, dt the step.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

void Oscillator::setFrequency(double hz, double sampleRate) {
    double step = hz / sampleRate;
    if (step < 0.0) step = 0.0;
    if (step > 0.49) step = 0.49;
    step_ = step;
}

float Oscillator::next() {
    const double t = phase_;
    const double dt = step_;
    double out = 0.0;
    switch (wave_) {
    case Wave::Saw:
        out = 2.0 * t - 1.0 - polyBlep(t, dt);
        break;
    case Wave::Square:
    case Wave::Triangle: {
        double sq = t < 0.5 ? 1.0 : -1.0;
        sq += polyBlep(t, dt);
        double t2 = t + 0.5;
        if (t2 >= 1.0) t2 -= 1.0;
        sq -= polyBlep(t2, dt);
        if (wave_ == Wave::Square) {
            out = sq;
        } else {
            // Leaky integration of the band-limited square gives a band-limited triangle.
            triangleState_ = flushDenormal(float(dt * 4.0 * sq) + triangleState_ * 0.9995f);
            out = triangleState_;
        }
        break;
    }
    case Wave::Sine:
        out = std::sin(kTwoPi * t);
        break;
    case Wave::Noise:
        out = 0.0;
        break;
    }
    phase_ += dt;
    if (phase_ >= 1.0) phase_ -= 1.0;
    return float(out);
}

}  // namespace Quorvel::Synth
