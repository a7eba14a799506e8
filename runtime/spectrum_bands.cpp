#include "runtime/spectrum_bands.h"

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
    const std::int64_t end = std::int64_t(count);
    for (int i = 0; i < size; ++i) {
        const std::int64_t index = start + std::int64_t(i) * channels;
        if (index < 0 || index >= end) {
            window[i] = 0.0f;
            continue;
        }
        std::int16_t value;
        std::memcpy(&value, pcm + 2 * index, sizeof value);  // little-endian PCM on a little-endian host
        window[i] = float(value * (1.0 / 16384.0));
    }
}

void bandHeights(const float* spectrum, int size, int bands, float* heights) {
    const int half = size / 2, perBand = half / bands;
    // Bands are summed side by side (each in increasing k): the same sums, but the compiler can
    // run the independent bands in parallel lanes instead of one long dependency chain.
    float sums[64] = {};
    for (int j = 0; j < perBand; ++j) {
        for (int i = 0; i < bands && i < 64; ++i) {
            const int k = i * perBand + j;
            const float re = spectrum[k], im = spectrum[k + half];  // k = 0 pairs with Re X_{N/2}
            const float power = re * re + im * im;
            sums[i] += std::sqrt(power);
        }
    }
    for (int i = 0; i < bands && i < 64; ++i) {
        const float mean = sums[i] / float(perBand);
        const int q = (bands - i) / bands;  // integer: 1 for band 0 only
        const double w = std::sqrt(std::sqrt(1.0 - (1 - q) * 0.7 + 0.5));
        const double level = std::log(1.0 + i * (1.0 / bands));
        heights[i] = float(level * mean * 1.2 * w);
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
