// The landscape's clock: which moment of the music each of its 41 lines shows, how far the
// world has turned, and how the two member names fade. Pure functions: no GL, no clock.
//
//   double at = lineTime(i, time);                       // drawSpectrum(at) for line i
//   double o = fadeInOut(u, kFirstName.fadeIn, kFirstName.fadeOut);
#pragma once

#include <cstdint>

namespace Quorvel::Ostrel {

// The 0.08-second grid step of the lines, as the single-precision constant widened to double.
constexpr double kLineStep = double(0.08f);
constexpr int kLineReach = 20;  // lines i = -20 .. 20

// Grid index of line i at demo time `time`: (i * step + time) / step, truncated toward zero.
std::int64_t lineGridIndex(int i, double time);
// The music time line i shows: its grid index times the step.
double lineTime(int i, double time);

// Turn of the world about z, in degrees: time * 3 - 110 (112 at 74 s), in single precision.
float worldAngle(double time);

// Opacity of a picture that fades in from `fadeIn` and out from `fadeOut` (local seconds):
// half a sine period each way (3.1415 s), 0 before, 1 between, 0 after.
double fadeInOut(double u, double fadeIn, double fadeOut);

// The two names in drawing order (tornwick, then pelmo): horizontal shift and fade times.
struct NameFade {
    float dx;
    double fadeIn;
    double fadeOut;
};
constexpr NameFade kNameFades[2] = {{1.25f, 1.0, 7.0}, {0.2f, 9.0, 15.0}};

}  // namespace Quorvel::Ostrel
