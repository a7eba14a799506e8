#include "scenes/face_timing.h"

#include <algorithm>
#include <cmath>

#include "scenes/face_effect_layout.h"

namespace Quorvel::Ostrel {

FacePhase facePhase(double u) { return u < 20.0 ? FacePhase{false, u} : FacePhase{true, u + 1.0}; }

float tiltRadians(double d) { return d <= 32.0 ? float(1.0 - (d - 22.0) / 10.0) : 0.0f; }

float sinkHeight(double d) { return float((7.0 - d / 3.0) - 1.2); }

std::array<float, 3> faceLight(double d) {
    return d < 21.0 ? std::array<float, 3>{-1.0f, 1.0f, 1.0f} : std::array<float, 3>{1.0f, 1.0f, 1.0f};
}

float creditsDegrees(double d) {
    if (d < 2.0) return 90.0f;
    return std::max(float(90.0 - 30.0 * (d - 2.0)), 20.0f);
}

std::array<std::array<float, 2>, 4> backgroundCoordinates(bool second, double d, float extentS, float extentT) {
    const float s = extentS, t0 = extentT;
    if (second) return {{{s, 0.0f}, {0.0f, 0.0f}, {0.0f, float(-0.5 * t0)}, {s, float(-0.5 * t0)}}};
    return {{{0.0f, 0.0f},
             {s, 0.0f},
             {s, float(-0.5 * (d / 21.0 + t0))},
             {0.0f, float(-0.5 * (t0 + d / 21.0))}}};
}

float morphWeight(double d) { return std::clamp(float((d - 31.0) * 0.7), 0.0f, 1.0f); }

float snapWeight(double d) { return std::clamp(float((d - 33.0) * 10.0), 0.0f, 1.0f); }

void morphFace(const float* base, const float* second, const float* third, std::size_t count, float m, float snap,
               float* face) {
    for (std::size_t i = 0; i < count; ++i) {
        const float blended = float(double(second[i]) * m + double(base[i]) * (1.0 - double(m)));
        face[i] = float(double(third[i]) * snap + double(blended) * (1.0 - double(snap)));
    }
}

float agedWeight(double d) { return morphWeight(d) * (1.0f - snapWeight(d)); }

namespace {

// 0 up to `from`, 1 from `to`, eased in between (as GLSL's smoothstep).
double easeBetween(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

float beatPhase(double time) {
    // 130 / 60 as one factor would put whole beats a rounding error below the integer.
    const double beats = time * 130.0 / 60.0;
    const float phase = float(beats - std::floor(beats));
    return phase < 1.0f ? phase : 0.0f;  // just under a beat rounds to the beat itself
}

float moteBeatGlow(double time) { return float(0.55 + 0.45 * std::exp(-4.0 * double(beatPhase(time)))); }

bool creditsMaskInForce(double d) { return d <= 5.0; }

float wipeFront(double d) {
    using namespace FaceEffectLayout;
    return float(kWipeFrom + (double(kWipeTo) - kWipeFrom) * easeBetween(3.1, 4.5, d));
}

float wipeGlow(double d) { return float(easeBetween(3.0, 3.3, d) * (1.0 - easeBetween(4.2, 4.6, d))); }

// The box goes up between the last frame of phase A (d just under 20) and the first of B (21).
bool creditsBoxInForce(double d) { return d > 20.5; }

float fadeOpacity(double d) { return float(easeBetween(33.3, 36.85, d)); }

FaceEffects faceEffects(double time, double d) {
    const float fade = fadeOpacity(d);
    return {beatPhase(time), moteBeatGlow(time) * (1.0f - fade), float(d), creditsMaskInForce(d),
            wipeFront(d),    wipeGlow(d),                        creditsBoxInForce(d), fade};
}

}  // namespace Quorvel::Ostrel
