// Band-limited oscillators for the melodic voices: saw and square with PolyBLEP corrections
// (aliasing stays low up to the top octave), sine and triangle. Noise lives in dsp.h.
// An oscillator only knows its phase and step; pitch modulation means calling setFrequency often.
//
//   Oscillator osc(Wave::Saw); osc.setFrequency(220.0, 44100.0);
//   for (float& s : block) s = osc.next();
#pragma once

namespace Quorvel::Synth {

enum class Wave { Saw, Square, Sine, Triangle, Noise };

class Oscillator {
public:
    explicit Oscillator(Wave wave = Wave::Saw) : wave_(wave) {}
    void setWave(Wave wave) { wave_ = wave; }
    // Frequencies at or above Nyquist are clamped just below it.
    void setFrequency(double hz, double sampleRate);
    // Phase in [0, 1): lets unison voices start spread out instead of in phase.
    void setPhase(double phase) { phase_ = phase - static_cast<long long>(phase); }
    double phase() const { return phase_; }
    // One sample in [-1, 1] (plus small PolyBLEP overshoot); Noise is not handled here.
    float next();

private:
    Wave wave_;
    double phase_ = 0.0;
    double step_ = 0.0;
    float triangleState_ = 0.0f;
};

}  // namespace Quorvel::Synth
