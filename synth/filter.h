// Resonant state-variable filter (trapezoidal, zero-delay feedback): low, high and band pass from
// one structure, stable under fast cutoff modulation. Mono; stereo signals use two instances.
//
//   Filter f; f.setMode(FilterMode::LowPass); f.set(1200.0, 0.3, 44100.0);
//   float y = f.process(x);
#pragma once

namespace Quorvel::Synth {

enum class FilterMode { LowPass, HighPass, BandPass };

class Filter {
public:
    void setMode(FilterMode mode) { mode_ = mode; }
    // cutoff in Hz (clamped to 10 Hz .. 0.45 × rate); resonance in [0, 1), 1 would self-oscillate.
    void set(double cutoff, double resonance, double sampleRate);
    float process(float x);
    void reset() { ic1_ = ic2_ = 0.0f; }
    // Internal states, for tests that check nothing decays into subnormal numbers.
    float state1() const { return ic1_; }
    float state2() const { return ic2_; }

private:
    FilterMode mode_ = FilterMode::LowPass;
    float a1_ = 1.0f, a2_ = 0.0f, a3_ = 0.0f, k_ = 2.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
};

}  // namespace Quorvel::Synth
