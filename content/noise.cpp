#include "content/noise.h"

#include <cmath>

namespace Quorvel::Assets {

std::uint64_t Prng::next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

float Prng::uniform() { return float(next() >> 40) / float(1ull << 24); }

namespace {

std::uint32_t hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9e3779b9u ^ std::uint32_t(x) * 0x85ebca6bu ^ std::uint32_t(y) * 0xc2b2ae35u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

int wrapCell(int i, int period) { return ((i % period) + period) % period; }

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float gradientDot(int ix, int iy, float dx, float dy, int period, std::uint32_t seed) {
    const std::uint32_t h = hash(wrapCell(ix, period), wrapCell(iy, period), seed);
    const float angle = float(h & 0xffffu) / 65536.0f * 6.28318530718f;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

}  // namespace

float periodicNoise(float x, float y, int period, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float dx = x - fx, dy = y - fy;
    const float n00 = gradientDot(ix, iy, dx, dy, period, seed);
    const float n10 = gradientDot(ix + 1, iy, dx - 1.0f, dy, period, seed);
    const float n01 = gradientDot(ix, iy + 1, dx, dy - 1.0f, period, seed);
    const float n11 = gradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, period, seed);
    const float u = fade(dx), v = fade(dy);
    const float top = n00 + (n10 - n00) * u;
    const float bottom = n01 + (n11 - n01) * u;
    return (top + (bottom - top) * v) * 1.41421356f;
}

float fractalNoise(float x, float y, int period, int octaves, std::uint32_t seed) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    int scale = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * periodicNoise(x * float(scale), y * float(scale), period * scale, seed + std::uint32_t(o));
        total += amplitude;
        amplitude *= 0.5f;
        scale *= 2;
    }
    return sum / total;
}

float cellDistance(float x, float y, int period, std::uint32_t seed) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    float best = 4.0f;
    for (int cy = iy - 1; cy <= iy + 1; ++cy) {
        for (int cx = ix - 1; cx <= ix + 1; ++cx) {
            const std::uint32_t h = hash(wrapCell(cx, period), wrapCell(cy, period), seed);
            const float px = float(cx) + float(h & 0xffffu) / 65536.0f;
            const float py = float(cy) + float(h >> 16) / 65536.0f;
            const float d = std::hypot(px - x, py - y);
            if (d < best) best = d;
        }
    }
    return best;
}

}  // namespace Quorvel::Assets
