// The helix scene's camera flight, written as "helix.anim": six curves keyed in curve time
// (demo time - 22, from -17 to 52), dense Bézier keys sampled from a path designed here.
//
// The flight: a wide side view under the logo, a dolly along the helix and round its far end,
// a ride inside it along the groove halfway between the two bands (where no rung reaches, so
// the camera can pass every rung plane), the drop seen from inside, a climb out through the
// gap between two band turns, and sweeping outside views with the flashing rungs until a final
// pull-back. The model spins about its axis at 20 degrees per second, so the groove turns too;
// the inside part follows it. All positions are in GL coordinates of the scene: helix axis
// along x from 0 to about 20 (rungs to 23.5), band radius 0.93 to 1.07.
//
// The screen's up stays in the plane spanned by the forward direction and +z, which keeps the
// Euler y angle at 0 and away from gimbal lock as long as the camera never looks along z.
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "scenes/data_files.h"
#include "content/asset_list.h"
#include "content/content_style.h"

namespace Quorvel::Assets {
namespace {

constexpr double kDeg = kPiDouble / 180.0;
constexpr double kStart = -17.0, kEnd = 52.0;  // curve time of the scene's window
constexpr double kKeyStep = 0.25;              // seconds between generated keys

// The model's spin in degrees at curve time t (20 degrees per second, 200 at curve time 0).
double spinDegrees(double t) { return 20.0 * t + 200.0; }
// Angle of the second band about the axis at x, degrees: the band turns 3.1415/18 radians per
// 1/12 unit (the first band is half a turn further on).
double bandDegrees(double x) { return x * 12.0 * 3.1415 / 18.0 / kDeg; }

using Vec3 = std::array<double, 3>;
Vec3 operator-(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 normalised(const Vec3& v) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / l, v[1] / l, v[2] / l};
}

// A scalar through (time, value) keys: cubic Hermite with Catmull-Rom tangents, flat at the ends.
class Track {
public:
    Track(std::initializer_list<std::pair<double, double>> k) : keys(k) {}
    double at(double t) const {
        if (t <= keys.front().first) return keys.front().second;
        if (t >= keys.back().first) return keys.back().second;
        size_t i = 0;
        while (t > keys[i + 1].first) ++i;
        const double t0 = keys[i].first, t1 = keys[i + 1].first, h = t1 - t0, u = (t - t0) / h;
        const double m0 = tangent(i) * h, m1 = tangent(i + 1) * h;
        const double u2 = u * u, u3 = u2 * u;
        return (2 * u3 - 3 * u2 + 1) * keys[i].second + (u3 - 2 * u2 + u) * m0 + (-2 * u3 + 3 * u2) * keys[i + 1].second +
               (u3 - u2) * m1;
    }

private:
    double tangent(size_t i) const {
        if (i == 0 || i + 1 == keys.size()) return 0.0;
        return (keys[i + 1].second - keys[i - 1].second) / (keys[i + 1].first - keys[i - 1].first);
    }
    std::vector<std::pair<double, double>> keys;
};

double smoothstep(double a, double b, double t) {
    const double u = std::fmin(1.0, std::fmax(0.0, (t - a) / (b - a)));
    return u * u * (3.0 - 2.0 * u);
}

// Position along the axis, distance from it, and the free angle about it (degrees, from +y
// towards +z; 180 is the -y side, slightly below or above the horizontal plane).
const Track axial{{-17, -7}, {-5, 1.5}, {6, 21.5}, {9.5, 26.6}, {12, 28.4}, {13.5, 27.6}, {17, 24.3},
                  {24, 19.5}, {26, 18.6}, {29, 17.2}, {35, 12.0}, {41, 6.0}, {47, -1.0}, {52, -8.0}};
const Track radial{{-17, 14}, {-5, 9.5}, {6, 4.6}, {9.5, 2.6}, {12, 0.9}, {13.5, 0.0}, {15, 0.18}, {17, 0.6},
                   {24, 0.6}, {25.5, 1.35}, {27, 2.6}, {29, 4.2}, {35, 5.4}, {41, 5.8}, {47, 6.6}, {52, 11.5}};
const Track freeAngle{{-17, 203}, {-5, 192}, {6, 165}, {9.5, 150}, {12, 140}, {13, 140}};
// After the exit: elevation about the side (180 degrees), signed towards the side of the exit.
const Track elevation{{26, 25}, {31, 25}, {37, -10}, {44, -30}, {52, -15}};
// Look-at point on the axis before the ride inside.
const Track targetX{{-17, 7}, {-5, 10}, {6, 19.5}, {9.5, 21}, {12, 17}, {13.5, 15}};

// The groove halfway between the bands, in world degrees, at axial position x and curve time t.
double grooveDegrees(double x, double t) { return bandDegrees(x) + 90.0 + spinDegrees(t); }

// The groove the camera rides: of the two (half a turn apart), the one nearest the free angle
// at the entry, followed continuously from there.
double riddenGroove(double t) {
    static const double branch = std::round((freeAngle.at(13.0) - grooveDegrees(axial.at(13.0), 13.0)) / 180.0);
    return grooveDegrees(axial.at(t), t) + 180.0 * branch;
}

struct Pose {
    Vec3 position;
    Vec3 target;
};

double outsideAngle(double t) {
    if (t < 20.0) return freeAngle.at(t);
    static const double leave = riddenGroove(26.0);
    static const double side = 180.0 + 360.0 * std::round((leave - 180.0) / 360.0);
    static const double sign = leave >= side ? 1.0 : -1.0;
    return leave + (side + sign * elevation.at(t) - leave) * smoothstep(26.0, 31.0, t);
}

Pose poseAt(double t) {
    const double x = axial.at(t), r = radial.at(t);
    // Weight of the groove: 0 outside, 1 from just after entering until safely outside again.
    const double lock = smoothstep(12.8, 14.2, t) * (1.0 - smoothstep(26.0, 28.0, t));
    const double free = outsideAngle(t);
    const double angle = (free + lock * (riddenGroove(t) - free)) * kDeg;
    const Vec3 position{x, r * std::cos(angle), r * std::sin(angle)};

    // Inside: look 7 units ahead on the axis. Outside: at the keyed point, or after the exit at a
    // point that drifts from the middle of the helix to its near end for the last pull-back.
    const double inside = smoothstep(12.5, 14.5, t) * (1.0 - smoothstep(24.0, 28.0, t));
    double lookX = t < 20 ? targetX.at(t) : 9.0 - 3.0 * smoothstep(33.0, 52.0, t);
    lookX = lookX + inside * ((x - 7.0) - lookX);
    return {position, {lookX, 0.0, 0.0}};
}

// The six curve values at t: rotation x, y, z as the scene adds them back, and GL position.
struct CurveValues {
    double euler0, euler1, euler2, location0, location1, location2;
};

CurveValues curveValuesAt(double t, double previousHeading) {
    const Pose pose = poseAt(t);
    const Vec3 forward = normalised(pose.target - pose.position);
    const Vec3 right = normalised(cross(forward, {0.0, 0.0, 1.0}));
    const Vec3 up = cross(right, forward);
    // R = Rz(heading) * Rx(pitch) with columns right, up, -forward.
    const double pitch = std::atan2(up[2], -forward[2]);
    double heading = std::atan2(right[1], right[0]);
    heading += 2.0 * kPiDouble * std::round((previousHeading - heading) / (2.0 * kPiDouble));
    // The scene sets rotation x = euler0 - 1.5707, y = euler2, z = -euler1, and places the
    // camera at (location0, location2, -location1).
    return {pitch + 1.5707, -heading, 0.0, pose.position[0], -pose.position[2], pose.position[1]};
}

struct Sample {
    double time;
    CurveValues value, slope;
};

std::vector<Sample> samples() {
    std::vector<Sample> out;
    const double h = 0.002;
    double heading = 0.0;
    for (int i = 0; kStart + i * kKeyStep <= kEnd + 1e-9; ++i) {
        const double t = kStart + i * kKeyStep;
        const CurveValues v = curveValuesAt(t, heading);
        heading = -v.euler1;
        const CurveValues a = curveValuesAt(t - h, heading), b = curveValuesAt(t + h, heading);
        const CurveValues slope{(b.euler0 - a.euler0) / (2 * h),       (b.euler1 - a.euler1) / (2 * h), 0.0,
                                (b.location0 - a.location0) / (2 * h), (b.location1 - a.location1) / (2 * h),
                                (b.location2 - a.location2) / (2 * h)};
        out.push_back({t, v, slope});
    }
    return out;
}

void writeCurve(std::ostream& out, const std::string& name, const std::vector<Sample>& keys,
                double CurveValues::*member) {
    out << "curve " << keys.size() << " float " << name << "\n";
    const double third = kKeyStep / 3.0;
    for (const Sample& k : keys) {
        const double v = k.value.*member, m = k.slope.*member;
        out << "b " << k.time << ' ' << v << ' ' << k.time - third << ' ' << v - m * third << ' ' << k.time + third
            << ' ' << v + m * third << "\n";
    }
}

}  // namespace

void writeHelixCameraPath(const std::string& dataDir) {
    const std::vector<Sample> keys = samples();
    std::ostringstream text;
    text.precision(7);
    text << "# Taluvine helix camera: curve time = demo time - 22, rotations in radians.\n";
    text << "# Generated by qvl_assetgen (content/helix_camera_path.cpp); edit the path there.\n";
    writeCurve(text, "helix/CameraAction/location", keys, &CurveValues::location0);
    writeCurve(text, "helix/CameraAction/location1", keys, &CurveValues::location1);
    writeCurve(text, "helix/CameraAction/location2", keys, &CurveValues::location2);
    writeCurve(text, "helix/CameraAction/rotation_euler", keys, &CurveValues::euler0);
    writeCurve(text, "helix/CameraAction/rotation_euler1", keys, &CurveValues::euler1);
    writeCurve(text, "helix/CameraAction/rotation_euler2", keys, &CurveValues::euler2);
    std::ofstream file(DataFiles::inDataFolder(dataDir, DataFiles::kHelixCameraPath), std::ios::binary);
    file << text.str();
    if (!file) throw std::runtime_error("cannot write " + DataFiles::inDataFolder(dataDir, DataFiles::kHelixCameraPath));
}

}  // namespace Quorvel::Assets
