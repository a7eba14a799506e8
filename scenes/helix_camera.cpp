#include "scenes/helix_camera.h"

namespace Quorvel::Ostrel {

HelixCameraPlacement helixCameraPlacement(CurveSet& curves, float curveTime) {
    // The file's camera stands upright at rotation x = 90 degrees and uses z for height; the
    // offset and the swapped, negated axes turn that into the scene's GL axes.
    const float rx = evaluate(curves["helix/CameraAction/rotation_euler"], curveTime);
    const float rz = evaluate(curves["helix/CameraAction/rotation_euler1"], curveTime);
    const float ry = evaluate(curves["helix/CameraAction/rotation_euler2"], curveTime);
    const float x = evaluate(curves["helix/CameraAction/location"], curveTime);
    const float z = evaluate(curves["helix/CameraAction/location1"], curveTime);
    const float y = evaluate(curves["helix/CameraAction/location2"], curveTime);
    HelixCameraPlacement placement;
    placement.rotation = {float(double(rx) - 1.5707), ry, -rz};
    placement.translation = {-x, -y, z};
    return placement;
}

}  // namespace Quorvel::Ostrel
