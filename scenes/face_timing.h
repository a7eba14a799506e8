// The face scene's clock and morph: which phase a time falls in and its local time, the second
// camera's tilt, the face light, the credits' swing, the background's texture coordinates, the
// two morph weights and the morph itself. Pure functions: no GL, no clock.
//
//   FacePhase phase = facePhase(time - 134.0);
//   morphFace(base, second, third, count, morphWeight(phase.d), snapWeight(phase.d), face);
#pragma once

#include <array>
#include <cstddef>

namespace Quorvel::Ostrel {

// Phase A (perspective, the group sinking) for u < 20; phase B (orthographic, tilting) after,
// with the local time jumping from just under 20 to 21 at the cut.
struct FacePhase {
    bool second;
    double d;
};
FacePhase facePhase(double u);

// Phase B's turn about x: 1 - (d - 22) / 10 until d = 32, then 0 (single precision).
float tiltRadians(double d);
// Phase A's height of the group: (7 - d / 3) - 1.2.
float sinkHeight(double d);
// Face light: (-1, 1, 1) in phase A (d < 21), (1, 1, 1) in phase B.
std::array<float, 3> faceLight(double d);
// Credits angle about z in degrees: 90 until d = 2, then 30 a second less, never below 20.
float creditsDegrees(double d);

// Unit-0 texture coordinates (s, t) of the background quad's four vertices, in the order
// (-1,-1), (1,-1), (1,1), (-1,1): scrolling upright in phase A, mirrored and still in phase B.
std::array<std::array<float, 2>, 4> backgroundCoordinates(bool second, double d, float extentS, float extentT);

// Morph weights: towards the second shape (d - 31) * 0.7, then the snap to the third (d - 33) * 10,
// each clamped to [0, 1] in single precision.
float morphWeight(double d);
float snapWeight(double d);

// face[i] = third[i] * snap + (second[i] * m + base[i] * (1 - m)) * (1 - snap) for i < count, each sum
// formed in double and stored in single precision.
void morphFace(const float* base, const float* second, const float* third, std::size_t count, float m, float snap,
               float* face);

}  // namespace Quorvel::Ostrel
