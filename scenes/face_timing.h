// The face scene's clock and morph: which phase a time falls in and its local time, the second
// camera's tilt, the face light, the credits' swing, the background's texture coordinates, the
// two morph weights and the morph itself, and the timed effects of the finale (the beat, the
// credits' wipe, the masks in force, the fade), which the shaders get as uniforms. Pure
// functions: no GL, no clock.
//
//   FacePhase phase = facePhase(time - 134.0);
//   morphFace(base, second, third, count, morphWeight(phase.d), snapWeight(phase.d), face);
//   const FaceEffects effects = faceEffects(time, phase.d);  // if (effects.fade > 0) draw the black quad
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
// How much of the second (older) face shows in the shading: its weight, handed over to the
// third face as the snap goes through.
float agedWeight(double d);

// face[i] = third[i] * snap + (second[i] * m + base[i] * (1 - m)) * (1 - snap) for i < count, each sum
// formed in double and stored in single precision.
void morphFace(const float* base, const float* second, const float* third, std::size_t count, float m, float snap,
               float* face);

// Where the music's beat is (130 BPM from demo time 0): 0 on a beat, rising to just under 1
// before the next. From demo time, not local time: the local time jumps a second at the cut.
float beatPhase(double time);
// The motes' glow on the beat: 1 on it, settling towards 0.55 before the next.
float moteBeatGlow(double time);

// The credits' mask (and its front) stand in front of the closed credits until d = 5, by when
// the wipe has long swept it away; never in phase B.
bool creditsMaskInForce(double d);
// The wipe's front, in group y: at the mast until d = 3.1, then easing out past the credits'
// far edge by d = 4.5 (137.1 to 138.5 s), so the credits are revealed from the mast outwards.
float wipeFront(double d);
// The front's glow: up over d 3.0 to 3.3, down over 4.2 to 4.6.
float wipeGlow(double d);
// The second camera's depth box around the credits: in force for the whole of phase B.
bool creditsBoxInForce(double d);
// Opacity of the closing black: 0 until d = 33.3 (166.3 s), easing to 1 at d = 36.85 (169.85 s)
// with the music's fade, and black after.
float fadeOpacity(double d);

// Everything timed that one frame's effects need, for demo time `time` and its local time `d`
// (both: the beat follows the one, the effects the other).
struct FaceEffects {
    float beat;           // beatPhase: the cable's pulses run from it
    float moteGlow;       // moteBeatGlow, dimmed with the fade
    float drift;          // seconds the motes have drifted: the local time
    bool maskInForce;     // the credits' mask and its front are drawn
    float wipeFront;      // group y of the front
    float wipeGlow;       // brightness of the front
    bool boxInForce;      // the second camera's box is drawn
    float fade;           // opacity of the black over the whole picture
};
FaceEffects faceEffects(double time, double d);

}  // namespace Quorvel::Ostrel
