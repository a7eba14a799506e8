#include "engine/camera.h"

#include <cmath>

namespace Quorvel {

std::vector<float> Camera::projectionMatrix() const {
    std::vector<float> m(16, 0.0f);
    const double n = clipStart;
    const double f = clipEnd;
    if (perspective) {
        const double lens = focalLength;
        m[0] = static_cast<float>(lens / (sensorWidth * 0.5));
        m[5] = static_cast<float>(lens / (sensorHeight * 0.5));
        m[10] = static_cast<float>((n + f) / (n - f));
        m[11] = -1.0f;
        m[14] = static_cast<float>((2.0 * n * f) / (n - f));
        m[15] = 1.0f;  // not the textbook 0: clip w is 1 - eye z
    } else {
        const double scale = orthoScale;
        const float volumeHeight = static_cast<float>(sensorHeight * scale / sensorWidth);
        m[0] = static_cast<float>(1.0 / (scale * 0.5));
        m[5] = static_cast<float>(1.0 / (volumeHeight * 0.5));
        m[10] = static_cast<float>(2.0 / (n - f));
        m[14] = static_cast<float>((f + n) / (n - f));
        m[15] = 1.0f;
    }
    return m;
}

std::vector<float> Camera::viewMatrix() const {
    const double cx = static_cast<float>(std::cos(static_cast<double>(rotation[0])));
    const double sx = static_cast<float>(std::sin(static_cast<double>(rotation[0])));
    const double cy = static_cast<float>(std::cos(static_cast<double>(rotation[1])));
    const double sy = static_cast<float>(std::sin(static_cast<double>(rotation[1])));
    const double cz = static_cast<float>(std::cos(static_cast<double>(rotation[2])));
    const double sz = static_cast<float>(std::sin(static_cast<double>(rotation[2])));
    std::vector<float> m(16, 0.0f);
    m[0] = static_cast<float>(cz * cy);
    m[1] = static_cast<float>(cz * sy * sx - sz * cx);
    m[2] = static_cast<float>(sz * sx + cz * sy * cx);
    m[4] = static_cast<float>(sz * cy);
    m[5] = static_cast<float>(cz * cx + sz * sy * sx);
    m[6] = static_cast<float>(sz * sy * cx - cz * sx);
    m[8] = static_cast<float>(-sy);
    m[9] = static_cast<float>(cy * sx);
    m[10] = static_cast<float>(cy * cx);
    // The negated location itself, not rotated: scenes rely on this (see the header).
    m[12] = -location[0];
    m[13] = -location[1];
    m[14] = -location[2];
    m[15] = 1.0f;
    return m;
}

}  // namespace Quorvel
