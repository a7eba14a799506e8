#include "runtime/spectrum_bands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quorvel {

std::int64_t windowStart(double rate, double time, int size, int channels) {
    const double start = (rate * time - size) * channels;
    // Far outside the track: any start past the end reads silence, and no conversion overflows.
    constexpr double kFar = 4.0e18;
    if (!(start > -kFar)) return -std::int64_t(4e18);
    if (!(start < kFar)) return std::int64_t(4e18);
    return std::int64_t(start);  // truncation toward zero
}

void gatherWindow(const char* pcm, std::size_t count, std::int64_t start, int channels, int size,
                  float* window) {
    // Frames [first, last) lie inside the track; the rest of the window is silence.
    const std::int64_t end = std::int64_t(count), step = channels;
    std::int64_t first = start >= 0 ? 0 : (-start + step - 1) / step;
    std::int64_t last = start >= end ? 0 : (end - start + step - 1) / step;
    first = std::min<std::int64_t>(first, size);
    last = std::clamp<std::int64_t>(last, first, size);
    for (std::int64_t i = 0; i < first; ++i) window[i] = 0.0f;
    // The bytes in range, copied once into aligned storage (the PCM is plain bytes), then
    // converted in a loop the compiler can run several samples at a time.
    constexpr std::int64_t kMaxSamples = 4096;
    std::int16_t block[kMaxSamples];
    while (first < last) {
        const std::int64_t frames = std::min(last - first, kMaxSamples / step);
        std::memcpy(block, pcm + 2 * (start + first * step), std::size_t(2 * ((frames - 1) * step + 1)));
        float* out = window + first;
        if (step == 1) {
            for (std::int64_t i = 0; i < frames; ++i) out[i] = float(block[i]) * (1.0f / 16384.0f);
        } else {
            for (std::int64_t i = 0; i < frames; ++i) out[i] = float(block[i * step]) * (1.0f / 16384.0f);
        }
        first += frames;
    }
    for (std::int64_t i = last; i < size; ++i) window[i] = 0.0f;
}

BandWeights::BandWeights(int bands) : level(std::size_t(bands)), weight(std::size_t(bands)) {
    for (int i = 0; i < bands; ++i) {
        const int q = (bands - i) / bands;  // integer: 1 for band 0 only
        weight[std::size_t(i)] = std::sqrt(std::sqrt(1.0 - (1 - q) * 0.7 + 0.5));
        level[std::size_t(i)] = std::log(1.0 + i * (1.0 / bands));
    }
}

void bandHeights(const float* spectrum, int size, const BandWeights& weights, float* magnitudes, float* heights) {
    const int half = size / 2, bands = int(weights.level.size()), perBand = half / bands;
    // k = 0 pairs with spectrum[half], the real part of X_{N/2}, as the layout has it.
    for (int k = 0; k < half; ++k) {
        const float re = spectrum[k], im = spectrum[k + half];
        magnitudes[k] = std::sqrt(re * re + im * im);
    }
    // Every band sums its bins in increasing k; the bands run side by side, so the adds of
    // different bands overlap instead of waiting on each other.
    float sums[64] = {};
    const int lanes = std::min(bands, 64);
    for (int j = 0; j < perBand; ++j)
        for (int i = 0; i < lanes; ++i) sums[i] += magnitudes[i * perBand + j];
    for (int i = 0; i < lanes; ++i) {
        const float mean = sums[i] / float(perBand);
        heights[i] = float(weights.level[std::size_t(i)] * mean * 1.2 * weights.weight[std::size_t(i)]);
    }
}

float bandX(int i, int bands) { return float((double(i) / (bands - 1)) * 2.0 - 1.0); }
float bandXMirror(int i, int bands) { return float((-double(i) / (bands - 1)) * 2.0 - 1.0); }

void writeLineArrays(const float* heights, int bands, float* vertices, float* normals) {
    auto put = [](float* array, int entry, float x, float z) {
        array[3 * entry] = x;
        array[3 * entry + 2] = z;
    };
    for (int s = 0; s + 1 < bands; ++s) {
        const float x0 = bandX(s, bands), x1 = bandX(s + 1, bands);
        const float h0 = heights[s], h1 = heights[s + 1];
        put(vertices, 4 * s, x0, h0);
        put(normals, 4 * s, x1, h1);
        put(vertices, 4 * s + 1, x0, h0);
        put(normals, 4 * s + 1, bandXMirror(s + 1, bands), -h1);
        put(vertices, 4 * s + 2, x1, h1);
        put(normals, 4 * s + 2, x0, h0);
        put(vertices, 4 * s + 3, x1, h1);
        put(normals, 4 * s + 3, bandXMirror(s, bands), -h0);
    }
}

}  // namespace Quorvel
