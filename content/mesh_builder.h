// Meshes made by the asset generator: shared vertices (one index for position, texture
// coordinate and normal), quads and triangles, smooth normals accumulated from the faces, and
// writing as Wavefront OBJ text in the subset the engine reads ("v", "vt", "vn", "f a/a/a").
// Numbers are printed with a fixed precision, so the same mesh gives the same bytes.
// It does not weld, simplify or validate: callers build consistent topology.
//
//   MeshBuilder grid = MeshBuilder::surface(32, 16, [](float u, float v) { return Vec3{u, v, 0}; });
//   writeObj(dataDir + "/plane.obj", grid);
#pragma once

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace Quorvel::Assets {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
// A zero vector stays zero instead of becoming NaN.
inline Vec3 normalised(Vec3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : Vec3{};
}

class MeshBuilder {
public:
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;                  // one per position; see smoothNormals()
    std::vector<std::array<float, 2>> texCoords;  // one per position
    std::vector<std::array<int, 4>> quads;      // 0-based indices, counter-clockwise seen from the front
    std::vector<std::array<int, 3>> triangles;

    // Adds a vertex with a zero normal; returns its index.
    int vertex(Vec3 position, float s, float t);
    void quad(int a, int b, int c, int d) { quads.push_back({a, b, c, d}); }
    void triangle(int a, int b, int c) { triangles.push_back({a, b, c}); }
    // Appends another mesh, shifting its indices.
    void append(const MeshBuilder& other);
    // Replaces every normal with the normalised sum of the normals of the faces around it
    // (area-weighted); `flip` points them the other way (surfaces seen from inside).
    void smoothNormals(bool flip = false);
    // Moves every position and turns every normal by f (normals renormalised from finite
    // differences are not needed: f should be a rigid motion or a uniform scale).
    void transform(const std::function<Vec3(Vec3)>& position, const std::function<Vec3(Vec3)>& direction);

    // A (columns x rows) grid of quads over u, v in [0, 1], with texture coordinates (u, v).
    // `wrapU` joins the last column to the first (closed rings) with a seam of duplicated
    // vertices so texture coordinates run to 1. Normals are smoothed.
    static MeshBuilder surface(int columns, int rows, const std::function<Vec3(float u, float v)>& at,
                               bool wrapU = false);
};

// Decimal places written for each kind of number: fewer where a mesh is large and the detail
// is finer than any screen shows (the web page downloads every byte).
struct ObjDigits {
    int positions = 5, texCoords = 5, normals = 5;
};

// The mesh as OBJ text, and written to a file (throws std::runtime_error when it cannot).
std::string objText(const MeshBuilder& mesh, ObjDigits digits = {});
void writeObj(const std::string& path, const MeshBuilder& mesh, ObjDigits digits = {});

}  // namespace Quorvel::Assets
