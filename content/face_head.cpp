// The head's distance field, its family of rays and its grid; see face_head.h. The shapes are
// placed by the proportions a face is read by: eyes halfway between crown and chin and one eye
// width apart, the nose ending halfway from the eyes to the chin, the mouth a third of the way
// from the nose to the chin, the ears from the brow down to the nose's tip.
#include "content/content_style.h"
#include "content/face_head.h"

#include <algorithm>
#include <cmath>

namespace Quorvel::Assets {
namespace {


float lerp(float a, float b, float t) { return a + (b - a) * t; }
float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
Vec3 scaled(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
Vec3 divided(Vec3 a, Vec3 b) { return {a.x / b.x, a.y / b.y, a.z / b.z}; }

// Soft union and soft intersection: k is the width of the blend.
float smin(float a, float b, float k) {
    const float h = std::max(k - std::abs(a - b), 0.0f) / k;
    return std::min(a, b) - h * h * k * 0.25f;
}
float smax(float a, float b, float k) { return -smin(-a, -b, k); }

// Ellipsoid distance bound (exact on the axes, close elsewhere).
float ellipsoid(Vec3 p, Vec3 r) {
    const float k0 = length(divided(p, r)), k1 = length(divided(p, scaled(r, r)));
    return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min({r.x, r.y, r.z});
}

// A superellipsoid: boxier than an ellipsoid as `power` grows past 2.
float superEllipsoid(Vec3 p, Vec3 r, float power) {
    if (power <= 2.0f) return ellipsoid(p, r);
    const Vec3 q = divided(p, r);
    const float n = std::pow(std::pow(std::abs(q.x), power) + std::pow(std::abs(q.y), power) +
                                 std::pow(std::abs(q.z), power),
                             1.0f / power);
    return (n - 1.0f) * std::min({r.x, r.y, r.z});
}

// A capsule whose radius changes from ra at a to rb at b.
float taperedCapsule(Vec3 p, Vec3 a, Vec3 b, float ra, float rb) {
    const Vec3 ab = b - a;
    const float h = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0f, 1.0f);
    return length(p - (a + ab * h)) - lerp(ra, rb, h);
}

// A flat cut that only bites when the shape is machined (facets > 0).
float facetPlane(Vec3 p, Vec3 normal, float offset, float facets) {
    return dot(p, normalised(normal)) - offset - (1.0f - facets) * 4.0f;
}

float skull(const HeadShape& s, Vec3 p) {
    float d = superEllipsoid(p - Vec3{0.0f, 0.13f, -0.1f}, s.cranium, s.craniumPower);
    if (s.crest > 0.0f) {
        // A keel over the top and back of the skull, on the middle line: it stands above the
        // crown in every view, so the machined head's outline changes at once.
        const float keel = std::max(std::abs(p.x) - 0.05f, d - 0.1f * s.crest);
        d = smin(d, std::max(keel, 0.3f - p.y), 0.02f);
    }
    if (s.templeHollow > 0.0f)
        for (float side : {-1.0f, 1.0f})
            d = smax(d, -ellipsoid(p - Vec3{0.74f * side, 0.24f, 0.3f}, Vec3{0.12f, 0.16f, 0.2f} * s.templeHollow), 0.12f);
    return d;
}

// Cheeks, jaw and chin: an ellipsoid that narrows from the cheekbones down to the chin.
// The flat front of a machined face's lower half, which also trims its lips.
float muzzlePlane(const HeadShape& s, Vec3 p) {
    return facetPlane(p, {0.0f, -0.3f, 0.95f}, 0.9f - (s.chinY + 1.0f) * 0.3f, s.facets);
}

float lowerFace(const HeadShape& s, Vec3 p) {
    const float k = std::pow(smoothstep(-0.2f, s.chinY + 0.05f, p.y), 2.2f);
    const float halfWidth = lerp(s.faceWidth, s.chinWidth, k);
    const float centreY = (0.2f + s.chinY) * 0.5f, halfHeight = (0.2f - s.chinY) * 0.5f;
    Vec3 q = p - Vec3{0.0f, centreY, 0.1f + s.chinForward * k};
    q.x *= s.faceWidth / halfWidth;
    float d = ellipsoid(q, {s.faceWidth, halfHeight, 0.7f});
    const Vec3 chin{0.0f, s.chinY + 0.14f, 0.64f + s.chinForward};
    d = smin(d, ellipsoid(p - chin, {s.chinWidth * 0.62f, 0.15f, 0.14f}), 0.16f);
    // The dental arch: the mouth's region stands forward of the cheeks.
    d = smin(d, ellipsoid(p - Vec3{0.0f, -0.62f, 0.5f}, {0.3f, 0.25f, 0.36f}), 0.1f);
    // The jaw bone's lower border, from its angle below the ear to the chin: the edge under
    // which the face turns into the neck.
    if (s.jaw > 0.0f)
        for (float side : {-1.0f, 1.0f}) {
            const Vec3 angle{(s.faceWidth - 0.1f) * side, -0.62f + 0.2f * (s.chinY + 1.0f), -0.02f};
            const Vec3 chin{(s.chinWidth - 0.2f) * side, s.chinY + 0.06f, 0.56f + s.chinForward};
            d = smin(d, taperedCapsule(p, angle, chin, 0.04f * s.jaw, 0.045f * s.jaw), 0.12f);
        }
    // Jaw and chin planes of a machined face.
    for (float side : {-1.0f, 1.0f}) {
        d = smax(d, facetPlane(p, {0.75f * side, -0.5f, 0.45f}, 0.68f + 0.1f * (s.chinWidth - 0.27f), s.facets), 0.03f);
        d = smax(d, facetPlane(p, {0.72f * side, -0.05f, 0.69f}, 0.69f, s.facets), 0.03f);
    }
    return smax(d, muzzlePlane(s, p), 0.03f);
}

float neck(const HeadShape& s, Vec3 p) {
    // Narrower under the jaw than at the shoulders, so the jaw overhangs it; full width from
    // where the rings sit down.
    const float taper = lerp(s.neckTaper, 1.0f, smoothstep(-0.85f, -1.25f, p.y));
    const float axisZ = neckAxisZ(p.y), rx = neckRadiusX * taper, rz = neckRadiusZ * taper;
    const float dx = p.x / rx, dz = (p.z - axisZ) / rz;
    const float d = (std::sqrt(dx * dx + dz * dz) - 1.0f) * rz;
    return std::max(d, p.y + 0.3f);
}

float nose(const HeadShape& s, Vec3 p) {
    const float w = s.noseWidth;
    const Vec3 tip{0.0f, s.noseTipY + 0.035f, s.noseTipZ - 0.075f};
    float d = taperedCapsule(p, {0.0f, 0.03f, 0.76f}, tip - Vec3{0.0f, 0.0f, 0.01f}, 0.05f * w, 0.07f * w);
    d = smin(d, ellipsoid(p - tip, {0.085f * w, 0.075f, 0.075f}), 0.05f);
    for (float side : {-1.0f, 1.0f}) {
        const Vec3 wing{0.09f * w * side, s.noseTipY + 0.03f, s.noseTipZ - 0.2f};
        d = smin(d, ellipsoid(p - wing, {0.065f * w, 0.06f, 0.075f}), 0.04f);
        // A machined nose is a wedge of two planes.
        d = smax(d, facetPlane(p - tip, {0.8f * side, 0.0f, 0.6f}, 0.012f, s.facets), 0.015f);
    }
    // Nostrils: shallow pits under the tip.
    for (float side : {-1.0f, 1.0f}) {
        const Vec3 nostril{0.055f * w * side, s.noseTipY - 0.035f, s.noseTipZ - 0.13f};
        d = smax(d, -ellipsoid(p - nostril, {0.028f * w, 0.018f, 0.03f}), 0.02f * (1.0f - s.facets) + 0.004f);
    }
    return d;
}

float lipsAndMouth(const HeadShape& s, float d, Vec3 p) {
    const float mouthY = s.noseTipY - (s.noseTipY - s.chinY) / 3.0f;
    const float full = s.lips;
    const Vec3 upper{0.0f, mouthY + 0.04f, 0.84f + 0.02f * full};
    const Vec3 lower{0.0f, mouthY - 0.05f, 0.82f + 0.02f * full};
    d = smin(d, ellipsoid(p - upper, {0.22f, 0.045f + 0.012f * full, 0.065f}), 0.05f);
    d = smin(d, ellipsoid(p - lower, {0.19f, 0.05f + 0.012f * full, 0.065f}), 0.05f);
    d = smax(d, muzzlePlane(s, p) - 0.045f, 0.01f);
    // The parting: a thin slot curving back at the corners.
    Vec3 q = p - Vec3{0.0f, mouthY, 0.96f};
    q.z += 0.9f * q.x * q.x;
    q.y += 0.25f * q.x * q.x;
    d = smax(d, -ellipsoid(q, {0.23f, 0.014f * s.mouthParting, 0.16f}), 0.012f);
    // The fold between lower lip and chin.
    d = smax(d, -ellipsoid(p - Vec3{0.0f, mouthY - 0.14f, 0.9f}, {0.13f, 0.03f, 0.05f}), 0.04f);
    return d;
}

float browAndSockets(const HeadShape& s, float d, Vec3 p) {
    // The brow ridge follows the forehead's curve.
    Vec3 q = p;
    q.z += 0.6f * q.x * q.x;
    const float ridge = taperedCapsule(q, {-0.4f, 0.12f, 0.71f}, {0.4f, 0.12f, 0.71f}, 0.0f, 0.0f);
    const float browRadius = 0.06f + 0.02f * s.browRidge;
    d = smin(d, ridge - browRadius, 0.1f);
    for (int side : {-1, 1}) {
        const Vec3 eye = eyeCentre(side);
        // The broad hollow under the brow, then the lids' opening around the eyeball.
        const Vec3 broad = eye + Vec3{-0.02f * float(side), -0.02f, 0.2f + 0.03f * s.socketDepth};
        d = smax(d, -ellipsoid(p - broad, {0.17f, 0.115f, 0.1f + 0.04f * s.socketDepth}), 0.07f);
        // The lids: a shell over the eyeball that swells out of the socket, then the almond
        // between the margins cut through it (and through anything in front) down to a sphere
        // just inside the eyeball, which shows there. The cut is sharp: the margins are edges,
        // and the wall under them stays short.
        const Vec3 q = p - eye;
        d = smin(d, length(q) - (eyeRadius + lidThickness), 0.03f);
        const float x = q.x * float(side);
        const LidMargins m = lidMargins(s.lidOpening, x);
        const float inOpening = std::min({m.upper - q.y, q.y - m.lower, lidCorner - std::abs(x)});
        d = smax(d, std::min({inOpening, q.z + 0.03f, length(q) - 0.105f}), 0.004f);
    }
    return d;
}

float cheeks(const HeadShape& s, float d, Vec3 p) {
    for (float side : {-1.0f, 1.0f}) {
        d = smin(d, ellipsoid(p - Vec3{0.41f * side, -0.17f, 0.44f}, Vec3{0.2f, 0.12f, 0.18f} * s.cheekbones), 0.16f);
        if (s.cheekHollow > 0.0f)
            d = smax(d, -ellipsoid(p - Vec3{0.52f * side, -0.5f, 0.42f}, Vec3{0.22f, 0.3f, 0.2f} * s.cheekHollow), 0.3f);
    }
    return d;
}

// The ears: plates from the brow's height down to the nose's tip, behind the jaw's angle,
// their back edges standing off the skull so they show beside it from the front; a bowl in the
// outer face leaves a rim round it. A machined face's ears are flat discs.
float ears(const HeadShape& s, Vec3 p) {
    const float side = p.x < 0.0f ? -1.0f : 1.0f;
    const float top = 0.13f, bottom = s.noseTipY, height = (top - bottom) * 0.5f;
    const Vec3 q = p - Vec3{0.75f * side, (top + bottom) * 0.5f, -0.14f};
    // The plate's frame: `out` turned forwards by the flare, `along` towards the face, `up`
    // tilted back at the top, as ears are.
    const float flare = 0.3f, tilt = 0.22f;
    const Vec3 out{side * std::cos(flare), 0.0f, std::sin(flare)}, along{-side * std::sin(flare), 0.0f, std::cos(flare)};
    const float u = dot(q, out), a0 = dot(q, along);
    const float v = std::cos(tilt) * q.y + std::sin(tilt) * a0, a = -std::sin(tilt) * q.y + std::cos(tilt) * a0;
    const Vec3 local{u, v, a};
    const float e = s.ears;
    float d = ellipsoid(local, Vec3{0.05f, height, 0.17f} * e);
    d = smax(d, -ellipsoid(local - Vec3{0.055f, -0.02f * e, 0.015f}, Vec3{0.04f, height * 0.62f, 0.105f} * e), 0.02f);
    d = smax(d, u - 0.012f - (1.0f - s.facets) * 4.0f, 0.01f);
    return d;
}

}  // namespace

HeadShape HeadShape::calm() { return {}; }

HeadShape HeadShape::gaunt() {
    HeadShape s;
    s.cranium = {0.68f, 0.93f, 1.0f};
    s.faceWidth = 0.52f;
    s.chinWidth = 0.26f;
    s.chinY = -1.2f;
    s.chinForward = 0.05f;
    s.browRidge = 1.8f;
    s.socketDepth = 1.9f;
    s.cheekbones = 1.25f;
    s.cheekHollow = 1.0f;
    s.noseTipY = -0.57f;
    s.noseTipZ = 1.16f;
    s.noseWidth = 0.82f;
    s.lips = 0.3f;
    s.mouthParting = 0.7f;
    s.ears = 1.2f;
    s.templeHollow = 1.1f;
    s.jaw = 1.3f;
    s.neckTaper = 0.68f;
    s.lidOpening = 0.8f;
    return s;
}

HeadShape HeadShape::machined() {
    HeadShape s;
    s.cranium = {0.78f, 0.86f, 0.95f};
    s.craniumPower = 3.0f;
    s.faceWidth = 0.64f;
    s.chinWidth = 0.42f;
    s.chinY = -0.96f;
    s.browRidge = 0.6f;
    s.socketDepth = 0.6f;
    s.cheekbones = 0.7f;
    s.noseTipY = -0.46f;
    s.noseTipZ = 1.04f;
    s.noseWidth = 1.15f;
    s.lips = 0.8f;
    s.mouthParting = 2.6f;
    s.ears = 0.75f;
    s.facets = 1.0f;
    s.crest = 1.0f;
    s.jaw = 0.0f;
    s.neckTaper = 0.95f;
    return s;
}

Vec3 eyeCentre(int side) { return {0.3f * float(side), 0.0f, 0.6f}; }

LidMargins lidMargins(float lidOpening, float x) {
    // An almond whose outer corner sits a little higher than the inner one; the upper margin
    // peaks a little towards the nose, the lower one a little towards the ear, as lids do.
    const float u = std::clamp(x / lidCorner, -1.0f, 1.0f);
    const float corners = -0.002f + 0.01f * u, bulge = 1.0f - u * u;
    return {corners + 0.042f * lidOpening * std::pow(bulge, 0.7f) * (1.0f - 0.15f * u),
            corners - 0.054f * std::pow(bulge, 0.8f) * (1.0f + 0.1f * u)};
}

float headDistance(const HeadShape& s, Vec3 p) {
    float d = smin(skull(s, p), lowerFace(s, p), 0.16f);
    // A wide blend at the nape, a narrow one under the chin.
    d = smin(d, neck(s, p), lerp(0.3f, 0.08f, smoothstep(-0.3f, 0.3f, p.z)));
    // The features only reach so far: far from them, skip them (the field stays continuous
    // because each one has faded out well before these bounds).
    if (std::abs(p.x) > 0.45f && p.z < 0.3f && p.y < 0.35f) d = smin(d, ears(s, p), 0.06f);
    if (p.z > -0.15f && p.y < 0.45f && p.y > s.chinY - 0.2f) {
        d = cheeks(s, d, p);
        d = browAndSockets(s, d, p);
        d = smin(d, nose(s, p), 0.07f);
        d = lipsAndMouth(s, d, p);
    }
    // Temples, cheeks and forehead of a machined face.
    for (float side : {-1.0f, 1.0f}) {
        d = smax(d, facetPlane(p, {0.9f * side, 0.15f, 0.4f}, 0.78f + 0.1f * (s.cranium.x - 0.74f), s.facets), 0.03f);
        d = smax(d, facetPlane(p, {0.8f * side, -0.2f, 0.56f}, 0.7f, s.facets), 0.02f);
    }
    d = smax(d, facetPlane(p, {0.0f, 0.4f, 0.92f}, 0.86f, s.facets), 0.03f);
    return d;
}

HeadRay headRay(float angle, float w) {
    const float sa = std::sin(angle), ca = std::cos(angle);
    float oy, oz, elevation;
    const float neckEnd = 0.25f;
    if (w < neckEnd) {
        // Up the neck, tilting down towards the jaw's underside.
        const float s = w / neckEnd;
        oy = lerp(-1.85f, -0.6f, s);
        oz = lerp(-0.12f, -0.05f, s);
        elevation = -0.785f * smoothstep(0.2f, 1.0f, s);
    } else {
        // A fan from the head's centre, from under the chin over the face to the crown.
        const float s = (w - neckEnd) / (1.0f - neckEnd);
        oy = lerp(-0.6f, -0.1f, smoothstep(0.0f, 0.3f, s));
        oz = -0.05f;
        elevation = lerp(-0.785f, kPi * 0.5f, s);
    }
    if (w >= 1.0f) return {{0.0f, oy, oz}, {0.0f, 1.0f, 0.0f}};
    const float ce = std::cos(elevation), se = std::sin(elevation);
    return {{0.0f, oy, oz}, {ce * sa, se, ce * ca}};
}

Vec3 headPoint(const HeadShape& shape, const HeadRay& ray) {
    // March inwards from outside the head, so the outermost crossing is found even where
    // the ray passes through the head more than once (ears, nose, chin).
    float outside = 2.4f;
    for (;;) {
        const float d = headDistance(shape, ray.origin + ray.direction * outside);
        if (d < 0.0f || outside <= 0.0f) break;
        const float step = std::max(0.004f, 0.5f * d);
        if (headDistance(shape, ray.origin + ray.direction * (outside - step)) < 0.0f) {
            float inside = outside - step;
            for (int i = 0; i < 24; ++i) {
                const float mid = 0.5f * (inside + outside);
                (headDistance(shape, ray.origin + ray.direction * mid) < 0.0f ? inside : outside) = mid;
            }
            return ray.origin + ray.direction * (0.5f * (inside + outside));
        }
        outside -= step;
    }
    return ray.origin + ray.direction * std::max(outside, 0.0f);
}

HeadRows headRows(int rows) {
    // Arc length up the calm head at a few azimuths; the front's profile through the face
    // (chin to brow) counts three times, so the lips, nose and lids get rows to spare.
    const HeadShape calm = HeadShape::calm();
    const int samples = 800;
    const float azimuths[] = {0.0f, 0.7f, -0.7f, 1.57f, -1.57f, 2.4f, -2.4f, kPi};
    std::vector<float> weighted(samples + 1, 0.0f), plain(samples + 1, 0.0f);
    std::vector<Vec3> previous;
    for (const float a : azimuths) previous.push_back(headPoint(calm, headRay(a, 0.0f)));
    for (int i = 1; i <= samples; ++i) {
        const float w = float(i) / float(samples);
        float step = 0.0f, extra = 0.0f;
        for (size_t k = 0; k < std::size(azimuths); ++k) {
            const Vec3 p = headPoint(calm, headRay(azimuths[k], w));
            const float l = length(p - previous[k]);
            step += l;
            if (k == 0 && p.y > -1.05f && p.y < 0.25f) extra += 2.0f * float(std::size(azimuths)) * l;
            // The lids' margins are edges across the rows: rows to spare through the eyes' height.
            if (k == 0 && p.y > -0.085f && p.y < 0.075f) extra += 5.0f * float(std::size(azimuths)) * l;
            previous[k] = p;
        }
        plain[size_t(i)] = plain[size_t(i) - 1] + step;
        weighted[size_t(i)] = weighted[size_t(i) - 1] + step + extra;
    }
    HeadRows result;
    size_t j = 0;
    for (int r = 0; r <= rows; ++r) {
        const float target = weighted.back() * float(r) / float(rows);
        while (j + 1 < weighted.size() && weighted[j + 1] < target) ++j;
        const float span = j + 1 < weighted.size() ? weighted[j + 1] - weighted[j] : 1.0f;
        const float f = std::clamp(span > 0.0f ? (target - weighted[j]) / span : 0.0f, 0.0f, 1.0f);
        const float w = r == rows ? 1.0f : (float(j) + f) / float(samples);
        const size_t hi = std::min(j + 1, plain.size() - 1);
        result.w.push_back(w);
        result.t.push_back(r == rows ? 1.0f : lerp(plain[j], plain[hi], f) / plain.back());
    }
    return result;
}

std::vector<float> headColumns(int columns) {
    // Columns spread by a density over the azimuth: the face's front gets about twice the back's,
    // and the eyes (whose lids' margins are edges) four times more again. Symmetric, so the
    // middle column looks straight ahead when `columns` is even.
    const float eyeAzimuth = std::atan2(eyeCentre(1).x, eyeCentre(1).z + 0.05f);
    auto density = [&](float theta) {
        const float face = std::exp(-theta * theta / (2.0f * 0.7f * 0.7f));
        float eyes = 0.0f;
        for (float side : {-1.0f, 1.0f}) {
            const float e = (theta - side * eyeAzimuth) / 0.14f;
            eyes += std::exp(-e * e * e * e);
        }
        return 1.0f + 1.2f * face + 5.0f * eyes;
    };
    const int samples = 4096;
    std::vector<float> cumulative(samples + 1, 0.0f);
    for (int i = 1; i <= samples; ++i) {
        const float theta = -kPi + 2.0f * kPi * (float(i) - 0.5f) / float(samples);
        cumulative[size_t(i)] = cumulative[size_t(i) - 1] + density(theta);
    }
    // The inverse of the cumulative density, from the back (-pi) to the front; the other half
    // mirrors it exactly, and an even count puts a column straight ahead.
    std::vector<float> angles(size_t(columns) + 1, 0.0f);
    size_t j = 0;
    for (int c = 0; 2 * c < columns; ++c) {
        const float target = cumulative.back() * float(c) / float(columns);
        while (j + 1 < cumulative.size() && cumulative[j + 1] < target) ++j;
        const float span = cumulative[j + 1] - cumulative[j];
        const float f = std::clamp((target - cumulative[j]) / span, 0.0f, 1.0f);
        angles[size_t(c)] = -kPi + 2.0f * kPi * (float(j) + f) / float(samples);
        angles[size_t(columns - c)] = -angles[size_t(c)];
    }
    return angles;
}

namespace {

// The field's direction of steepest rise, from four samples on a tetrahedron.
Vec3 headGradient(const HeadShape& shape, Vec3 p) {
    const float e = 0.002f;
    const Vec3 corners[] = {{e, -e, -e}, {-e, -e, e}, {-e, e, -e}, {e, e, e}};
    Vec3 sum{};
    for (const Vec3& k : corners) sum = sum + k * headDistance(shape, p + k);
    return normalised(sum);
}

// Pulls a point near the surface onto it along the field's gradient.
Vec3 ontoSurface(const HeadShape& shape, Vec3 p) {
    for (int i = 0; i < 3; ++i) {
        const float d = headDistance(shape, p);
        if (std::abs(d) < 1e-5f) break;
        p = p - headGradient(shape, p) * d;
    }
    return p;
}

// Rays graze the sides of the nose, lips and ears, where neighbouring rays land far apart and
// the grid steps. Sliding every inner vertex along the surface towards the middle of its four
// neighbours evens the grid out there without moving the surface itself.
void relaxGrid(const HeadShape& shape, std::vector<Vec3>& grid, int columns, int rows, int iterations) {
    const int stride = columns + 1;
    for (int it = 0; it < iterations; ++it) {
        std::vector<Vec3> next = grid;
        for (int r = 1; r < rows - 1; ++r)
            for (int c = 0; c < columns; ++c) {
                const Vec3 p = grid[size_t(r * stride + c)];
                const int left = c == 0 ? columns - 1 : c - 1;
                const Vec3 mean = (grid[size_t(r * stride + left)] + grid[size_t(r * stride + c + 1)] +
                                   grid[size_t((r - 1) * stride + c)] + grid[size_t((r + 1) * stride + c)]) *
                                  0.25f;
                const Vec3 n = headGradient(shape, p);
                Vec3 move = mean - p;
                move = move - n * dot(move, n);
                next[size_t(r * stride + c)] = ontoSurface(shape, p + move * 0.5f);
            }
        for (int r = 0; r <= rows; ++r) next[size_t(r * stride + columns)] = next[size_t(r * stride)];
        grid.swap(next);
    }
}

}  // namespace

MeshBuilder headMesh(const HeadShape& shape, int columns, int rows) {
    const HeadRows table = headRows(rows);
    const std::vector<float> angles = headColumns(columns);
    const int stride = columns + 1;
    std::vector<Vec3> grid(size_t(stride * (rows + 1)));
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid[size_t(r * stride + c)] = headPoint(shape, headRay(angles[size_t(c)], table.w[size_t(r)]));
    // The back seam's last column repeats the first one's points exactly.
    for (int r = 0; r <= rows; ++r) grid[size_t(r * stride + columns)] = grid[size_t(r * stride)];
    relaxGrid(shape, grid, columns, rows, 8);
    MeshBuilder mesh;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= columns; ++c)
            mesh.vertex(grid[size_t(r * stride + c)], angles[size_t(c)] / (2.0f * kPi) + 0.5f, table.t[size_t(r)]);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int a = r * stride + c;
            mesh.quad(a, a + 1, a + stride + 1, a + stride);
        }
    mesh.smoothNormals();
    for (int r = 0; r <= rows; ++r) {
        const size_t first = size_t(r * stride), last = first + size_t(columns);
        mesh.normals[first] = mesh.normals[last] = normalised(mesh.normals[first] + mesh.normals[last]);
    }
    // The crown is one point repeated along the top row: give every copy the same normal.
    Vec3 crown{};
    for (int c = 0; c < columns; ++c) crown = crown + mesh.normals[size_t(rows * stride + c)];
    for (int c = 0; c <= columns; ++c) mesh.normals[size_t(rows * stride + c)] = normalised(crown);
    return mesh;
}

}  // namespace Quorvel::Assets
