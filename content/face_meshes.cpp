// The closing scene's meshes (see face_meshes.h). The head's shape lives in face_head.cpp;
// this file adds what sits around it and writes the files. The modules keep clear of all
// three faces, not only the first, because they stay still while the face changes under them.
#include "scenes/data_files.h"
#include "content/content_style.h"
#include "content/face_meshes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "content/face_head.h"

namespace Quorvel::Assets {
namespace {


// Reverses every face whose normal points towards `centre`, so a closed part is seen from outside.
void faceAwayFrom(MeshBuilder& mesh, Vec3 centre) {
    for (auto& q : mesh.quads) {
        const Vec3 a = mesh.positions[size_t(q[0])], c = mesh.positions[size_t(q[2])];
        const Vec3 n = cross(c - a, mesh.positions[size_t(q[3])] - mesh.positions[size_t(q[1])]);
        if (dot(n, (a + c) * 0.5f - centre) < 0.0f) q = {q[0], q[3], q[2], q[1]};
    }
}

// How far a head ray runs to the nearest and to the farthest of the three faces' surfaces.
struct Reach {
    float nearest = 1e9f, farthest = 0.0f;
};
Reach reachOfFaces(const HeadRay& ray) {
    Reach reach;
    for (const HeadShape& shape : {HeadShape::calm(), HeadShape::gaunt(), HeadShape::machined()}) {
        const float t = dot(headPoint(shape, ray) - ray.origin, ray.direction);
        reach = {std::min(reach.nearest, t), std::max(reach.farthest, t)};
    }
    return reach;
}

// The point along a head ray that lies outside every face shape, lifted by `lift`.
Vec3 clearOfAllFaces(const HeadRay& ray, float lift) {
    return ray.origin + ray.direction * (reachOfFaces(ray).farthest + lift);
}

// An orthonormal pair across direction d.
void across(Vec3 d, Vec3& side, Vec3& up) {
    side = normalised(cross(d, std::abs(d.y) < 0.9f ? Vec3{0.0f, 1.0f, 0.0f} : Vec3{1.0f, 0.0f, 0.0f}));
    up = cross(side, d);
}

// A closed cylinder from a to b: a side and two flat caps with their own (sharp-edged) vertices.
MeshBuilder cylinder(Vec3 a, Vec3 b, float radius, int segments = 20) {
    const Vec3 axis = normalised(b - a);
    Vec3 side, up;
    across(axis, side, up);
    auto ring = [&](Vec3 centre, float angle, float r) {
        return centre + side * (r * std::cos(angle)) + up * (r * std::sin(angle));
    };
    MeshBuilder mesh = MeshBuilder::surface(
        segments, 1, [&](float u, float v) { return ring(a + (b - a) * v, 2.0f * kPi * u, radius); }, true);
    for (const float end : {0.0f, 1.0f}) {
        const Vec3 centre = end > 0.0f ? b : a, outwards = axis * (end > 0.0f ? 1.0f : -1.0f);
        MeshBuilder cap = MeshBuilder::surface(
            segments, 1, [&](float u, float v) { return ring(centre, 2.0f * kPi * u, radius * v); }, true);
        faceAwayFrom(cap, centre - outwards);
        cap.smoothNormals();
        mesh.append(cap);
    }
    faceAwayFrom(mesh, (a + b) * 0.5f);
    mesh.smoothNormals();
    return mesh;
}

// A plate following the skull over azimuths [a0, a1] and ray heights [w0, w1]: a curved top
// standing clear of every face and walls that reach down below the skin of every face.
MeshBuilder skullPlate(float a0, float a1, float w0, float w1) {
    const int columns = 12, rows = 10;
    auto ray = [&](float u, float v) { return headRay(a0 + (a1 - a0) * u, w0 + (w1 - w0) * v); };
    auto at = [&](float u, float v, float depth) {
        // depth 0 on the plate's top, 1 at the foot of its walls
        const HeadRay r = ray(u, v);
        const Reach reach = reachOfFaces(r);
        const float top = reach.farthest + 0.04f, foot = reach.nearest - 0.03f;
        return r.origin + r.direction * (top + (foot - top) * depth);
    };
    MeshBuilder top = MeshBuilder::surface(columns, rows, [&](float u, float v) { return at(u, v, 0.0f); });
    const Vec3 centre = at(0.5f, 0.5f, 0.5f);
    MeshBuilder mesh = top;
    // Four walls along the border, each its own strip so the plate's edge stays sharp.
    const std::function<std::array<float, 2>(float)> edges[] = {
        [](float s) { return std::array<float, 2>{s, 0.0f}; }, [](float s) { return std::array<float, 2>{1.0f, s}; },
        [](float s) { return std::array<float, 2>{1.0f - s, 1.0f}; },
        [](float s) { return std::array<float, 2>{0.0f, 1.0f - s}; }};
    for (const auto& edge : edges) {
        MeshBuilder wall = MeshBuilder::surface(columns, 1, [&](float s, float v) {
            const auto uv = edge(s);
            return at(uv[0], uv[1], v);
        });
        faceAwayFrom(wall, centre);
        wall.smoothNormals();
        mesh.append(wall);
    }
    return mesh;
}

// A piston on the back of the neck: a barrel on the sleeve, a rod up to a mount on the skull.
MeshBuilder piston(float side) {
    const Vec3 bottom{0.3f * side, -2.7f, neckAxisZ(-2.7f) - neckRadiusZ - 0.08f},
               middle{0.32f * side, -1.5f, -0.62f};
    const Vec3 mount = clearOfAllFaces(headRay(kPi - 0.55f * side, 0.3f), -0.02f);
    MeshBuilder mesh = cylinder(bottom, middle, 0.06f);
    mesh.append(cylinder(middle - Vec3{0.0f, 0.05f, 0.0f}, middle, 0.075f));
    mesh.append(cylinder(middle, mount, 0.03f));
    mesh.append(cylinder(mount - normalised(mount - middle) * 0.06f, mount, 0.065f));
    return mesh;
}

// A round port on the side of the skull, behind and above the ear.
MeshBuilder templePort(float side) {
    const HeadRay ray = headRay(1.95f * side, 0.6f);
    const Vec3 base = clearOfAllFaces(ray, -0.03f);
    MeshBuilder mesh = cylinder(base, base + ray.direction * 0.09f, 0.15f, 28);
    mesh.append(cylinder(base, base + ray.direction * 0.13f, 0.07f, 20));
    return mesh;
}

MeshBuilder neckSleeve();
MeshBuilder shoulders();

// The machinery fixed to the head, in its own frame: plates on the skull, ports at the temples,
// the sleeve the neck runs into and the pistons from it up to the skull.
MeshBuilder modules() {
    MeshBuilder mesh;
    // Plates over the back of the skull: a keel row down the middle and one each side.
    mesh.append(skullPlate(kPi - 0.42f, kPi + 0.42f, 0.6f, 0.76f));
    mesh.append(skullPlate(kPi - 0.3f, kPi + 0.3f, 0.79f, 0.9f));
    mesh.append(skullPlate(kPi - 0.34f, kPi + 0.34f, 0.43f, 0.57f));
    for (const float side : {-1.0f, 1.0f}) {
        mesh.append(skullPlate(side * 2.05f, side * 2.62f, 0.5f, 0.72f));
        mesh.append(skullPlate(side * 2.2f, side * 2.7f, 0.75f, 0.86f));
        mesh.append(piston(side));
        mesh.append(templePort(side));
    }
    mesh.append(neckSleeve());
    mesh.append(shoulders());
    return mesh;
}

MeshBuilder eyes() {
    MeshBuilder mesh;
    for (const int side : {-1, 1}) {
        const Vec3 centre = eyeCentre(side);
        MeshBuilder eye = MeshBuilder::surface(
            32, 24,
            [&](float u, float v) {
                const float lon = 2.0f * kPi * (u - 0.5f), lat = kPi * (v - 0.5f);
                return centre + Vec3{std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)} *
                                    eyeRadius;
            },
            true);
        // Planar projection along the eye's forward axis: the picture's centre is the pupil.
        for (size_t i = 0; i < eye.positions.size(); ++i) {
            const Vec3 local = eye.positions[i] - centre;
            eye.texCoords[i] = {0.5f + local.x / (2.0f * eyeRadius), 0.5f - local.y / (2.0f * eyeRadius)};
            eye.normals[i] = normalised(local);
        }
        mesh.append(eye);
    }
    return mesh;
}

// Catmull-Rom through `points`, t in [0, 1] over the whole length.
Vec3 throughPoints(const std::vector<Vec3>& points, float t) {
    const int segments = int(points.size()) - 1;
    const float x = std::clamp(t, 0.0f, 1.0f) * float(segments);
    const int i = std::min(int(x), segments - 1);
    const float f = x - float(i);
    auto p = [&](int k) { return points[size_t(std::clamp(k, 0, segments))]; };
    const Vec3 p0 = p(i - 1), p1 = p(i), p2 = p(i + 1), p3 = p(i + 2);
    const float f2 = f * f, f3 = f2 * f;
    return (p1 * 2.0f + (p2 - p0) * f + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * f2 +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * f3) *
           0.5f;
}

// A round pipe along a path; texture s runs along it, t around it.
MeshBuilder pipe(const std::function<Vec3(float)>& path, float radius, int along, int around = 16) {
    MeshBuilder mesh = MeshBuilder::surface(
        around, along,
        [&](float u, float v) {
            const Vec3 centre = path(v);
            const Vec3 tangent = normalised(path(std::min(v + 0.002f, 1.0f)) - path(std::max(v - 0.002f, 0.0f)));
            Vec3 side, up;
            across(tangent, side, up);
            const float a = 2.0f * kPi * u;
            return centre + (side * std::cos(a) + up * std::sin(a)) * radius;
        },
        true);
    for (auto& st : mesh.texCoords) st = {st[1], st[0]};
    faceAwayFrom(mesh, path(0.5f));
    return mesh;
}

// The sleeve the neck runs into: an elliptical column round the neck's axis from below the jaw
// down out of every frame, ringed by collars, so the head ends in machinery rather than a cut.
constexpr float kSleeveTop = -1.2f, kSleeveFoot = -2.6f, kSleeveGap = 0.035f;

Vec3 neckAxis(float y) { return {0.0f, y, neckAxisZ(y)}; }

MeshBuilder ellipticalColumn(float top, float foot, float grow, int around = 48) {
    MeshBuilder mesh = MeshBuilder::surface(
        around, 1,
        [&](float u, float v) {
            const float a = 2.0f * kPi * u, y = top + (foot - top) * v;
            return neckAxis(y) + Vec3{(neckRadiusX + grow) * std::sin(a), 0.0f, (neckRadiusZ + grow) * std::cos(a)};
        },
        true);
    faceAwayFrom(mesh, neckAxis(0.5f * (top + foot)));
    mesh.smoothNormals();
    return mesh;
}

MeshBuilder neckSleeve() {
    MeshBuilder mesh = ellipticalColumn(kSleeveTop, kSleeveFoot, kSleeveGap);
    // A lip at the top where the skin goes in, then collars at a vertebra's spacing.
    mesh.append(ellipticalColumn(kSleeveTop + 0.02f, kSleeveTop - 0.12f, kSleeveGap + 0.05f));
    for (float y = kSleeveTop - 0.42f; y > kSleeveFoot + 0.3f; y -= 0.38f)
        mesh.append(ellipticalColumn(y, y - 0.1f, kSleeveGap + 0.035f));
    return mesh;
}

// sign(c) |c|^e: the superellipse's rounded-box profile.
float powered(float c, float e) { return std::copysign(std::pow(std::abs(c), e), c); }

// The shoulders and chest the sleeve stands on: a rounded box of plates (a superellipsoid) that
// leaves the picture at the bottom, so the portrait is a bust rather than a head on a stalk.
// Its front stays behind the chin's line, so the low second camera still sees the face.
MeshBuilder shoulders() {
    const Vec3 centre = neckAxis(-3.3f) + Vec3{0.0f, 0.0f, -0.05f}, radii{1.75f, 1.45f, 0.6f};
    const float e = 2.0f / 2.8f;
    MeshBuilder mesh = MeshBuilder::surface(
        64, 32,
        [&](float u, float v) {
            const float w = 2.0f * kPi * u, h = kPi * (v - 0.5f);
            return centre + Vec3{radii.x * powered(std::cos(h), e) * powered(std::sin(w), e), radii.y * powered(std::sin(h), e),
                                 radii.z * powered(std::cos(h), e) * powered(std::cos(w), e)};
        },
        true);
    faceAwayFrom(mesh, centre);
    mesh.smoothNormals();
    return mesh;
}

// The mast the group rides on: it stands under the head in the first camera's view (world z
// is up there) and rises into the back of the neck's sleeve, and the credits swing open about
// its axis, so it also hides them while they are edge-on. In the scene's frame.
constexpr float kMastY = -0.3f, kMastRadius = 0.17f, kMastFoot = -10.5f;

// Where the sleeve's axis passes over the mast: the mast's top and the coupling's centre.
Vec3 mastJoint() {
    float low = kSleeveFoot, high = kSleeveTop;
    for (int i = 0; i < 40; ++i) {
        const float mid = 0.5f * (low + high);
        (sceneOf(neckAxis(mid)).y > kMastY ? high : low) = mid;
    }
    const Vec3 joint = sceneOf(neckAxis(0.5f * (low + high)));
    return {0.0f, kMastY, joint.z};
}

MeshBuilder mast() {
    const Vec3 top = mastJoint(), foot{0.0f, kMastY, kMastFoot};
    MeshBuilder mesh = cylinder(foot, top, kMastRadius, 24);
    // Collars along it, so its descent reads as motion, and a coupling where it meets the sleeve.
    for (float z = kMastFoot + 0.6f; z < top.z - 0.6f; z += 1.15f)
        mesh.append(cylinder({0.0f, kMastY, z}, {0.0f, kMastY, z + 0.12f}, kMastRadius + 0.05f, 24));
    mesh.append(cylinder(top - Vec3{0.0f, 0.0f, 0.55f}, top - Vec3{0.0f, 0.0f, 0.3f}, kMastRadius + 0.07f, 24));
    return mesh;
}

// The cable leaves the back of the skull, runs down the back of the sleeve to the mast's coupling
// and winds down the mast; its pulses of light travel from the head downwards. In the scene's frame.
std::vector<Vec3> cablePoints() {
    const float behind = neckRadiusZ + kSleeveGap + 0.12f;
    std::vector<Vec3> points = {sceneOf({0.0f, -0.45f, -0.35f}), sceneOf({0.05f, -0.8f, -0.72f}),
                                sceneOf(neckAxis(-1.45f) - Vec3{-0.08f, 0.0f, behind}),
                                sceneOf(neckAxis(-1.9f) - Vec3{-0.14f, 0.0f, behind})};
    const Vec3 joint = mastJoint();
    const int turns = 5, perTurn = 8;
    const float r = kMastRadius + 0.09f, from = joint.z - 0.8f, to = kMastFoot + 0.3f;
    for (int k = 0; k <= turns * perTurn; ++k) {
        const float f = float(k) / float(turns * perTurn);
        const float a = 2.0f * kPi * float(k) / float(perTurn) + 0.3f;
        points.push_back({r * std::cos(a), kMastY + r * std::sin(a), from + (to - from) * f});
    }
    return points;
}

MeshBuilder tube() {
    const std::vector<Vec3> points = cablePoints();
    return pipe([&](float t) { return throughPoints(points, t); }, 0.045f, 480, 10);
}

}  // namespace

Vec3 groupOrientation(Vec3 p) {
    // Bowed forward about the ears, then a small turn about the up axis towards the first
    // camera: that camera sees the head in profile, face up, and the second one ends almost
    // frontal, looking down at the viewer from a little above.
    const float cb = std::cos(kHeadBow), sb = std::sin(kHeadBow);
    const Vec3 bowed{p.x, cb * p.y - sb * p.z, sb * p.y + cb * p.z};
    const float ct = std::cos(kHeadTurn), st = std::sin(kHeadTurn);
    return {ct * bowed.x + st * bowed.z, bowed.y, -st * bowed.x + ct * bowed.z};
}

Vec3 sceneOf(Vec3 canonical) { return groupOrientation(canonical * kHeadScale) + kHeadPlace; }

Vec3 canonicalOf(Vec3 scene) {
    const Vec3 p = (scene - kHeadPlace) * (1.0f / kHeadScale);
    return {dot(p, groupOrientation({1.0f, 0.0f, 0.0f})), dot(p, groupOrientation({0.0f, 1.0f, 0.0f})),
            dot(p, groupOrientation({0.0f, 0.0f, 1.0f}))};
}

FaceMeshes buildFaceMeshes() {
    FaceMeshes m{headMesh(HeadShape::calm(), faceColumns, faceRows),
                 headMesh(HeadShape::gaunt(), faceColumns, faceRows),
                 headMesh(HeadShape::machined(), faceColumns, faceRows),
                 eyes(),
                 modules(),
                 tube()};
    for (MeshBuilder* mesh : {&m.face, &m.face2, &m.face3, &m.eyes, &m.modules})
        mesh->transform(sceneOf, groupOrientation);
    // The mast and the cable are laid out in the scene's own frame, round the credits' axis.
    m.modules.append(mast());
    return m;
}

void writeFaceMeshes(const std::string& dataDir) {
    const FaceMeshes m = buildFaceMeshes();
    // The faces are the largest files the page downloads. A ten-thousandth of a unit is a tenth
    // of a pixel on a 4K screen, and a normal to a thousandth is within a tenth of a degree.
    // The morph targets lend the scene only their positions (it draws the first face's
    // normals and texture coordinates), so theirs are written coarse.
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kFace), m.face, {4, 4, 3});
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kSecondFace), m.face2, {4, 2, 2});
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kThirdFace), m.face3, {4, 2, 2});
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kEyes), m.eyes);
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kModules), m.modules);
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kCable), m.tube);
}

}  // namespace Quorvel::Assets
