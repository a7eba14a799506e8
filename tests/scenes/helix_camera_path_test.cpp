// The generated camera flight ("data/helix.anim" in the build folder) against the helix's
// geometry: sampled every 0.05 s of curve time, the camera keeps clear of both bands and all
// 80 half-rungs (the model spins under it), never jumps, and never looks straight along z,
// where its up direction would be undefined.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "scenes/helix_camera.h"
#include "scenes/helix_geometry.h"
#include "scenes/helix_timing.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

using V3 = std::array<double, 3>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kBandInner = 0.92929, kBandOuter = 1.07071, kBandHalfWidth = 0.14142;
constexpr double kBandEnd = 239.0 / 12.0;  // axial position of the last step's middle

CurveSet loadFlight() {
    const char* dir = std::getenv("QVL_BINARY_DIR");
    const std::string path = std::string(dir ? dir : ".") + "/data/helix.anim";
    CurveSet curves;
    loadCurves(path.c_str(), curves);
    return curves;
}

// The camera's position in the scene's coordinates and the direction it looks in.
struct CameraPose {
    V3 position, forward;
};

CameraPose poseAt(CurveSet& curves, float curveTime) {
    const HelixCameraPlacement p = helixCameraPlacement(curves, curveTime);
    // Forward is R * (0, 0, -1) with R = Rz(z) Ry(y) Rx(x): minus R's third column.
    const double cx = std::cos(p.rotation[0]), sx = std::sin(p.rotation[0]);
    const double cy = std::cos(p.rotation[1]), sy = std::sin(p.rotation[1]);
    const double cz = std::cos(p.rotation[2]), sz = std::sin(p.rotation[2]);
    const V3 third{cz * sy * cx + sz * sx, sz * sy * cx - cz * sx, cy * cx};
    return {{-p.translation[0], -p.translation[1], -p.translation[2]}, {-third[0], -third[1], -third[2]}};
}

// Turns a scene point into the spinning model's frame (the model is turned by `degrees` about x).
V3 intoModel(const V3& p, double degrees) {
    const double a = -degrees * kPi / 180.0, c = std::cos(a), s = std::sin(a);
    return {p[0], c * p[1] - s * p[2], s * p[1] + c * p[2]};
}

// Distance from a model-space point to the surface of either band (0 inside one): the union of
// the rectangular cross-sections swept along the band, sampled finely along its length.
double bandClearance(const V3& p) {
    double best = 1e9;
    const double pr = std::hypot(p[1], p[2]), pa = std::atan2(p[2], p[1]);
    for (double d = std::max(0.0, p[0] - 1.5); d <= std::min(kBandEnd, p[0] + 1.5); d += 0.004) {
        const double theta = d * 12.0 * double(3.1415f) / 18.0;
        const double dx = std::max(0.0, std::fabs(p[0] - d) - kBandHalfWidth);
        for (double band : {0.0, kPi}) {  // the second band is the first turned half a turn
            const double rel = pa - (theta + kPi - band);
            const double along = pr * std::cos(rel), across = pr * std::sin(rel);
            const double dr = along < kBandInner ? kBandInner - along : std::max(0.0, along - kBandOuter);
            best = std::min(best, std::sqrt(dx * dx + dr * dr + across * across));
        }
    }
    return best;
}

// Distance from a model-space point to the surface of the nearest half-rung (radius 0.1, from
// the axis to radius 1 at x = 0.6 i, turned 72 i degrees; the second set half a turn further).
double rungClearance(const V3& p) {
    double best = 1e9;
    for (int i = 0; i < 40; ++i) {
        for (double extra : {0.0, 180.0}) {
            const double a = (72.0 * i + extra) * kPi / 180.0;
            const V3 dir{0.0, std::cos(a), std::sin(a)};
            const V3 rel{p[0] - 0.6 * i, p[1], p[2]};
            const double along = std::clamp(rel[1] * dir[1] + rel[2] * dir[2], 0.0, 1.0);
            const double d = std::sqrt(rel[0] * rel[0] + std::pow(rel[1] - along * dir[1], 2) +
                                       std::pow(rel[2] - along * dir[2], 2));
            best = std::min(best, d - 0.1);
        }
    }
    return best;
}

}  // namespace

TEST(HelixCameraPath, ClearanceIsMeasuredAgainstTheRealMeshes) {
    std::vector<float> positions, normals;
    buildBandMesh(bandProfile(), kBandSteps, positions, normals);
    for (size_t v = 0; v < positions.size(); v += 3) {
        const V3 p{positions[v], positions[v + 1], positions[v + 2]};
        ASSERT_LT(bandClearance(p), 0.01) << "first band vertex " << v / 3;
        ASSERT_LT(bandClearance({p[0], -p[1], -p[2]}), 0.01) << "second band vertex " << v / 3;
    }
    EXPECT_GT(bandClearance({5.0, 0.0, 0.0}), 0.9);  // on the axis
    for (int i = 0; i < 40; ++i) {
        const double a = 72.0 * i * kPi / 180.0;
        EXPECT_LE(rungClearance({0.6 * i, 0.5 * std::cos(a), 0.5 * std::sin(a)}), 0.0) << "half-rung " << i;
        EXPECT_LE(rungClearance({0.6 * i, -0.5 * std::cos(a), -0.5 * std::sin(a)}), 0.0) << "half-rung " << i;
    }
    EXPECT_GT(rungClearance({0.3, 0.0, 0.0}), 0.19);  // on the axis halfway between two rungs
}

TEST(HelixCameraPath, HasAllSixCurvesKeyedOverTheWholeWindow) {
    CurveSet curves = loadFlight();
    for (const char* name : {"location", "location1", "location2", "rotation_euler", "rotation_euler1",
                             "rotation_euler2"}) {
        const AnimationCurve& curve = curves[std::string("helix/CameraAction/") + name];
        ASSERT_GE(curve.keys.size(), 2u) << name << ": is data/ built (qvl_data)?";
        EXPECT_LE(curve.keys.front().time, -17.0f) << name;
        EXPECT_GE(curve.keys.back().time, 52.0f) << name;
    }
}

TEST(HelixCameraPath, NeverTouchesABandOrARungAndNeverJumps) {
    CurveSet curves = loadFlight();
    ASSERT_FALSE(curves["helix/CameraAction/location"].keys.empty());
    double closestBand = 1e9, closestRung = 1e9, closestBandAt = 0, closestRungAt = 0;
    CameraPose previous = poseAt(curves, -17.0f);
    for (int step = 0; step <= 1380; ++step) {
        const double time = 5.0 + 0.05 * step;  // demo time over the scene's window
        const HelixFrameTimes times = helixFrameTimes(time, 5.0, 8.0);
        const CameraPose pose = poseAt(curves, times.curveTime);
        const V3 model = intoModel(pose.position, times.spinDegrees);
        const double band = bandClearance(model), rung = rungClearance(model);
        if (band < closestBand) closestBand = band, closestBandAt = time;
        if (rung < closestRung) closestRung = rung, closestRungAt = time;
        const double moved = std::hypot(pose.position[0] - previous.position[0],
                                        std::hypot(pose.position[1] - previous.position[1],
                                                   pose.position[2] - previous.position[2]));
        EXPECT_LT(moved, 0.3) << "jump at demo time " << time;
        const double turned = std::acos(std::clamp(pose.forward[0] * previous.forward[0] +
                                                       pose.forward[1] * previous.forward[1] +
                                                       pose.forward[2] * previous.forward[2],
                                                   -1.0, 1.0));
        EXPECT_LT(turned, 0.08) << "snap turn at demo time " << time;
        EXPECT_LT(std::fabs(pose.forward[2]), 0.95) << "looking along z at demo time " << time;
        previous = pose;
    }
    EXPECT_GT(closestBand, 0.3) << "closest to a band at demo time " << closestBandAt;
    EXPECT_GT(closestRung, 0.2) << "closest to a rung at demo time " << closestRungAt;
    std::printf("closest to a band: %.3f at %.2f s, to a rung: %.3f at %.2f s\n", closestBand, closestBandAt,
                closestRung, closestRungAt);
}
