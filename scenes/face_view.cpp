#include "scenes/face_view.h"

#include <vector>

namespace Quorvel::Ostrel {

FaceView faceView(const FacePhase& phase) {
    FaceView view;
    if (!phase.second) {
        view.camera.perspective = true;
        view.camera.focalLength = 0.06f;
        view.camera.location = {0.0f, 0.0f, 0.0f};
        view.camera.rotation = {1.57075f, 0.0f, 1.57075f};
        view.translation = {-10.0f, 0.0f, sinkHeight(phase.d)};
    } else {
        view.camera.perspective = false;
        view.camera.orthoScale = 5.0f;
        view.camera.location = {0.0f, 0.0f, 7.0f};
        view.camera.rotation = {tiltRadians(phase.d), 0.0f, 0.0f};
        view.translation = {0.0f, -0.1f, -1.7f};
    }
    return view;
}

namespace {

// Column-major 4x4 matrix times a point (w = 1).
std::array<double, 4> times(const std::vector<float>& m, const std::array<double, 4>& p) {
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) out[size_t(row)] += double(m[size_t(k * 4 + row)]) * p[size_t(k)];
    return out;
}

}  // namespace

std::array<float, 2> projectToFrame(const FaceView& view, const std::array<float, 3>& point) {
    const std::array<double, 4> placed{double(point[0]) + view.translation[0], double(point[1]) + view.translation[1],
                                       double(point[2]) + view.translation[2], 1.0};
    const std::array<double, 4> clip = times(view.camera.projectionMatrix(), times(view.camera.viewMatrix(), placed));
    return {float(clip[0] / clip[3]), float(clip[1] / clip[3])};
}

}  // namespace Quorvel::Ostrel
