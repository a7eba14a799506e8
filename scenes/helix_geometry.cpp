#include "scenes/helix_geometry.h"

#include <cmath>

namespace Quorvel::Ostrel {
namespace {

// The single-precision constant the geometry turns by (not quite pi, which is intended: the
// rung circle stops a hair short of closing and every angle below derives from it).
constexpr float kHalfTurn = 3.1415f;

struct V3 {
    float x, y, z;
};
V3 minus(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 cross(V3 u, V3 v) { return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}; }

V3 vertexAt(const std::vector<float>& a, size_t vertex) { return {a[3 * vertex], a[3 * vertex + 1], a[3 * vertex + 2]}; }
void store(std::vector<float>& a, size_t vertex, V3 v) {
    a[3 * vertex] = v.x;
    a[3 * vertex + 1] = v.y;
    a[3 * vertex + 2] = v.z;
}

}  // namespace

std::array<float, 8> bandProfile() {
    return {-0.92929f, -0.14142f, -0.92929f, 0.14142f, -1.07071f, 0.14142f, -1.07071f, -0.14142f};
}

void buildBandMesh(const std::array<float, 8>& profile, std::int32_t steps, std::vector<float>& positions,
                   std::vector<float>& normals) {
    const size_t n = size_t(steps);
    positions.assign(4 * n * 6, 0.0f);
    normals.assign(4 * n * 6, 0.0f);
    auto first = [n](int face, size_t j) { return 2 * (size_t(face) * n + j); };  // vertex A of step j
    for (int f = 0; f < 4; ++f) {
        const float r0 = profile[size_t(2 * f)], a0 = profile[size_t(2 * f + 1)];
        const float r1 = profile[size_t(2 * ((f + 1) % 4))], a1 = profile[size_t(2 * ((f + 1) % 4) + 1)];
        for (size_t j = 0; j < n; ++j) {
            const float theta = float(double(j) * double(kHalfTurn) / 3.0 / 6.0);
            const float d = float(double(j) / 6.0 * 0.5);
            const float c = float(std::cos(double(theta))), s = float(std::sin(double(theta)));
            store(positions, first(f, j), {a0 + d, r0 * c, r0 * s});
            store(positions, first(f, j) + 1, {a1 + d, r1 * c, r1 * s});
            if (f == 0 || f == 2) {
                // Curved faces: towards the axis inside, away from it outside.
                const float sigma = f == 0 ? 1.0f : -1.0f;
                store(normals, first(f, j), {0.0f, sigma * c, sigma * s});
                store(normals, first(f, j) + 1, {0.0f, sigma * c, sigma * s});
            }
        }
    }
    // Flat faces: the cross product of the two edge directions, averaged over both neighbours.
    for (int f = 1; f < 4; f += 2) {
        for (size_t j = 1; j + 1 < n; ++j) {
            const V3 p0 = vertexAt(positions, first(f, j - 1)), p1 = vertexAt(positions, first(f, j));
            const V3 p2 = vertexAt(positions, first(f, j + 1));
            const V3 q0 = vertexAt(positions, first(f, j - 1) + 1), q1 = vertexAt(positions, first(f, j) + 1);
            const V3 q2 = vertexAt(positions, first(f, j + 1) + 1);
            const V3 na = cross(minus(p0, p1), minus(q0, q1));
            const V3 nb = cross(minus(p1, p2), minus(q1, q2));
            const V3 avg{(na.x + nb.x) * 0.5f, (na.y + nb.y) * 0.5f, (na.z + nb.z) * 0.5f};
            const float length = std::sqrt(avg.x * avg.x + avg.y * avg.y + avg.z * avg.z);
            // A degenerate step (zero length) keeps the zero normal instead of dividing by zero.
            const V3 normal = length > 0.0f ? V3{avg.x / length, avg.y / length, avg.z / length} : V3{0, 0, 0};
            store(normals, first(f, j), normal);
            store(normals, first(f, j) + 1, normal);
        }
    }
}

void buildRungMesh(float radius, std::int32_t segments, std::vector<float>& positions, std::vector<float>& normals) {
    const size_t pairs = size_t(segments) + 1;
    positions.assign(6 * pairs, 0.0f);
    normals.assign(6 * pairs, 0.0f);
    for (size_t k = 0; k < pairs; ++k) {
        const float phi = float(double(k) * double(kHalfTurn) * 2.0 / double(segments));
        const float c = float(std::cos(double(phi))), s = float(std::sin(double(phi)));
        store(positions, 2 * k, {c * radius, 0.0f, s * radius});
        store(positions, 2 * k + 1, {c * radius, 1.0f, s * radius});
        store(normals, 2 * k, {c, 0.0f, s});
        store(normals, 2 * k + 1, {c, 0.0f, s});
    }
}

std::vector<std::int32_t> drawRungGroups(const std::function<int()>& draw) {
    std::vector<std::int32_t> groups(kRungGroupCount, 0);
    for (int i = 0; i < 10; ++i) {
        groups[size_t(i)] = draw() % 3;
        groups[size_t(i + 10)] = draw() % 3;
        if (groups[size_t(i)] == groups[size_t(i + 10)]) groups[size_t(i)] = (groups[size_t(i)] + 1) % 3;
    }
    return groups;
}

}  // namespace Quorvel::Ostrel
