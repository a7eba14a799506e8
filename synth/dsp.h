// Small numeric helpers shared by every synthesizer module: unit conversions, denormal flushing,
// a deterministic noise source. Nothing here allocates or keeps global state.
//
//   float g = Synth::dbToGain(-6.0f);          // about 0.5
//   state = Synth::flushDenormal(state);       // keeps feedback paths out of subnormal range
#pragma once

#include <cmath>
#include <cstdint>

namespace Quorvel::Synth {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Values this small are inaudible (below -300 dB); forcing them to zero keeps recursive filters
// from decaying into subnormal numbers, which are very slow on x86 without FTZ/DAZ.
inline float flushDenormal(float x) { return std::fabs(x) < 1e-15f ? 0.0f : x; }
inline double flushDenormal(double x) { return std::fabs(x) < 1e-15 ? 0.0 : x; }

// Replaces NaN and infinity by silence so a faulty voice can never poison a bus.
inline float sanitize(float x) { return std::isfinite(x) ? x : 0.0f; }

inline float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }
inline float gainToDb(float gain) { return 20.0f * std::log10(std::fmax(gain, 1e-12f)); }

// MIDI note number to Hz (A4 = note 69 = 440 Hz); fractional notes allowed.
inline double midiToHz(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

inline float clampf(float x, float lo, float hi) { return x < lo ? lo : (x > hi ? hi : x); }

// xorshift32: the same seed gives the same noise on every platform.
struct Noise {
    uint32_t state = 0x9E3779B9u;
    explicit Noise(uint32_t seed = 0x9E3779B9u) : state(seed ? seed : 1u) {}
    // Uniform in [-1, 1).
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return float(int32_t(state)) * (1.0f / 2147483648.0f);
    }
};

// Coefficient of a one-pole smoother that covers ~63% of a step in `seconds`.
inline float onePoleCoefficient(double seconds, double sampleRate) {
    if (seconds <= 0.0) return 1.0f;
    return float(1.0 - std::exp(-1.0 / (seconds * sampleRate)));
}

}  // namespace Quorvel::Synth
