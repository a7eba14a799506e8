// A viewer described like a photographic camera: sensor, focal length, clipping distances,
// location and Euler rotation. It computes the projection and view matrices (16 floats,
// column-major, for glLoadMatrixf) on every call and caches nothing; it makes no GL call.
// The view matrix subtracts `location` after rotating: a point p maps to R^T p - location.
//
//   Camera camera; camera.focalLength = 0.047f;
//   glLoadMatrixf(camera.projectionMatrix().data());
#pragma once

#include <array>
#include <vector>

namespace Quorvel {

class Camera {
public:
    bool perspective = true;       // perspective projection if set, orthographic otherwise
    float sensorWidth = 0.032f;    // image-plane width at distance focalLength
    float sensorHeight = 0.018f;   // image-plane height at distance focalLength
    float focalLength = 0.035f;    // distance of the image plane
    float orthoScale = 6.0f;       // width of the orthographic view volume
    float clipStart = 0.1f;        // near clipping distance
    float clipEnd = 100.0f;        // far clipping distance
    float spare1 = 0.0f;           // unused by the matrices
    float spare2 = 0.0f;           // unused by the matrices
    std::array<float, 3> location{{0.541427f, -10.561522f, 3.015728f}};  // position x, y, z
    std::array<float, 3> rotation{{1.440858f, 0.063541f, -0.60522f}};     // radians about x, y, z

    // Projection matrix; its element 15 is 1, so clip w = 1 - eye z in perspective mode.
    std::vector<float> projectionMatrix() const;
    // Inverse rotation Rz*Ry*Rx in the upper 3x3, -location as the translation column.
    std::vector<float> viewMatrix() const;
};

}  // namespace Quorvel
