// The face scene's two cameras as values: the camera of the phase in force and the translation
// that places the group after the view, so the scene and a framing check place it alike. Pure:
// no GL, no clock.
//
//   const FaceView view = faceView(facePhase(time - 134.0));
//   std::array<float, 2> at = projectToFrame(view, {0.0f, 0.7f, 0.0f});  // -1..1 across the frame
#pragma once

#include <array>

#include "engine/camera.h"
#include "scenes/face_timing.h"

namespace Quorvel::Ostrel {

struct FaceView {
    Camera camera;                     // every field set for the phase
    std::array<float, 3> translation;  // applied after the view matrix
};

// Phase A: perspective, looking along -x with z up, the group 10 ahead and sinking.
// Phase B: orthographic, circling the origin at distance 7 and tilting down to face -z.
FaceView faceView(const FacePhase& phase);

// Where a point of the group's frame lands in the picture: normalised device x and y, each
// -1..1 from edge to edge.
std::array<float, 2> projectToFrame(const FaceView& view, const std::array<float, 3>& point);

}  // namespace Quorvel::Ostrel
