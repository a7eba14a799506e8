// Deterministic randomness for generated pictures: a fixed-seed pseudo-random generator of
// our own (so the bytes never depend on the C library) and periodic gradient noise, whose
// lattice repeats after `period` cells, so pictures built from it tile without a seam.
// It does not draw anything; the picture families turn these numbers into pixels.
//
//   Prng random(7); float jitter = random.uniform();
//   float n = fractalNoise(x * 8.0f, y * 8.0f, 8, 5, 1234);  // tiles every 8 units
#pragma once

#include <cstdint>

namespace Quorvel::Assets {

// SplitMix64: small, fast and the same sequence on every platform for a given seed.
class Prng {
public:
    explicit Prng(std::uint64_t seed) : state(seed) {}
    std::uint64_t next();
    // Uniform in [0, 1).
    float uniform();

private:
    std::uint64_t state;
};

// Gradient noise in about [-1, 1] at (x, y) whose lattice repeats every `period` cells.
float periodicNoise(float x, float y, int period, std::uint32_t seed);

// Sum of `octaves` octaves of periodic noise, each twice the frequency and half the amplitude
// of the one before, normalised to about [-1, 1]. Tiles every `period` units of (x, y).
float fractalNoise(float x, float y, int period, int octaves, std::uint32_t seed);

// Cellular (Worley) distance: distance from (x, y) to the nearest of one jittered point per
// cell, on a lattice that repeats every `period` cells; about 0 at a point, up to about 1.
float cellDistance(float x, float y, int period, std::uint32_t seed);

}  // namespace Quorvel::Assets
