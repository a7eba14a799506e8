// Where the helix camera stands at a curve time: its Euler rotation and the translation the
// scene applies after the view matrix, read from the six "helix/CameraAction/..." curves.
// Pure (no GL): the scene loads the rotation into its Camera and the translation with
// glTranslatef. Missing curves read as 0: the camera sits at the origin with the fixed -90 degree
// pitch, looking along -y with -z up.
//
//   HelixCameraPlacement p = helixCameraPlacement(curves, times.curveTime);
//   camera.rotation = p.rotation; glTranslatef(p.translation[0], p.translation[1], p.translation[2]);
#pragma once

#include <array>

#include "engine/curves.h"

namespace Quorvel::Ostrel {

struct HelixCameraPlacement {
    std::array<float, 3> rotation;     // Euler angles about x, y, z, radians
    std::array<float, 3> translation;  // minus the camera's position in scene coordinates
};

// Reads the curves at `curveTime`; looking a missing curve up adds it empty to `curves`.
HelixCameraPlacement helixCameraPlacement(CurveSet& curves, float curveTime);

}  // namespace Quorvel::Ostrel
