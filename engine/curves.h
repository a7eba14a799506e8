// Keyframe curves for camera motion: the text format of "data/helix.anim", the set of named
// scalar curves it fills, and evaluation (Bézier segments solved by bisection, linear and
// constant segments). Pure: no GL, no clock, no messages. A damaged line costs only itself:
// a key line with too few numbers is skipped, numbers beyond float range are clamped, and keys
// after an unreadable header are dropped until the next header.
//
//   CurveSet curves; loadCurves("data/helix.anim", curves);
//   float x = evaluate(curves["helix/CameraAction/location"], 12.5f);
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace Quorvel {

// One keyframe and the interpolation of the segment that starts at it.
struct CurveKey {
    std::int32_t interpolation = 0;  // 0 Bézier, 1 linear, 2 constant
    float time = 0.0f;
    float value = 0.0f;
    float leftHandleTime = 0.0f;
    float leftHandleValue = 0.0f;
    float rightHandleTime = 0.0f;
    float rightHandleValue = 0.0f;
};

// A named scalar channel, keys in file order (ascending time expected).
struct AnimationCurve {
    std::string name;
    std::vector<CurveKey> keys;
};

// Curves by name; looking up a missing name adds an empty curve, which evaluates to 0.
using CurveSet = std::map<std::string, AnimationCurve>;

// Reads the curve file at `path` into `curves`; a missing file leaves the set as it was.
void loadCurves(const char* path, CurveSet& curves);
// Reads curve text from a stream (tests, fuzzing).
void loadCurves(std::istream& in, CurveSet& curves);

// The curve's value at `time`: 0 without keys, the last key's value from the last key on,
// and before the first key the first segment (extrapolated if linear, clamped if Bézier).
float evaluate(const AnimationCurve& curve, float time);

}  // namespace Quorvel
