#include "content/mesh_builder.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace Quorvel::Assets {

int MeshBuilder::vertex(Vec3 position, float s, float t) {
    positions.push_back(position);
    normals.push_back({});
    texCoords.push_back({s, t});
    return int(positions.size()) - 1;
}

void MeshBuilder::append(const MeshBuilder& other) {
    const int base = int(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    texCoords.insert(texCoords.end(), other.texCoords.begin(), other.texCoords.end());
    for (auto q : other.quads) quads.push_back({q[0] + base, q[1] + base, q[2] + base, q[3] + base});
    for (auto t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void MeshBuilder::smoothNormals(bool flip) {
    std::vector<Vec3> sum(positions.size());
    auto add = [&](const int* index, int count) {
        // Sum of the corner cross products: twice the area times the normal, also for non-planar quads.
        Vec3 n{};
        for (int k = 0; k < count; ++k)
            n = n + cross(positions[size_t(index[k])], positions[size_t(index[(k + 1) % count])]);
        for (int k = 0; k < count; ++k) sum[size_t(index[k])] = sum[size_t(index[k])] + n;
    };
    for (const auto& q : quads) add(q.data(), 4);
    for (const auto& t : triangles) add(t.data(), 3);
    for (size_t i = 0; i < positions.size(); ++i) normals[i] = normalised(sum[i]) * (flip ? -1.0f : 1.0f);
}

void MeshBuilder::transform(const std::function<Vec3(Vec3)>& position, const std::function<Vec3(Vec3)>& direction) {
    for (auto& p : positions) p = position(p);
    for (auto& n : normals) n = normalised(direction(n));
}

MeshBuilder MeshBuilder::surface(int columns, int rows, const std::function<Vec3(float, float)>& at, bool wrapU) {
    MeshBuilder mesh;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= columns; ++c) {
            const float u = float(c) / float(columns), v = float(r) / float(rows);
            mesh.vertex(at(wrapU && c == columns ? 0.0f : u, v), u, v);
        }
    const int stride = columns + 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int a = r * stride + c;
            mesh.quad(a, a + 1, a + stride + 1, a + stride);
        }
    mesh.smoothNormals();
    if (wrapU) {
        // The seam's two copies share one position: give both the same normal.
        for (int r = 0; r <= rows; ++r) {
            const size_t first = size_t(r * stride), last = first + size_t(columns);
            const Vec3 n = normalised(mesh.normals[first] + mesh.normals[last]);
            mesh.normals[first] = mesh.normals[last] = n;
        }
    }
    return mesh;
}

namespace {

// Fixed notation, trailing zeros kept: the same float gives the same characters everywhere.
void appendNumbers(std::string& out, const char* keyword, const float* values, int count, int digits) {
    char buffer[48];
    out += keyword;
    for (int i = 0; i < count; ++i) {
        const float v = values[i] == 0.0f ? 0.0f : values[i];  // no "-0.00000"
        std::snprintf(buffer, sizeof buffer, " %.*f", digits, double(v));
        out += buffer;
    }
    out += '\n';
}

}  // namespace

std::string objText(const MeshBuilder& mesh, ObjDigits digits) {
    std::string out;
    out.reserve(mesh.positions.size() * 96 + (mesh.quads.size() + mesh.triangles.size()) * 40);
    for (const Vec3& p : mesh.positions) appendNumbers(out, "v", &p.x, 3, digits.positions);
    for (const auto& t : mesh.texCoords) appendNumbers(out, "vt", t.data(), 2, digits.texCoords);
    for (const Vec3& n : mesh.normals) appendNumbers(out, "vn", &n.x, 3, digits.normals);
    char buffer[160];
    for (const auto& q : mesh.quads) {
        std::snprintf(buffer, sizeof buffer, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", q[0] + 1, q[0] + 1, q[0] + 1,
                      q[1] + 1, q[1] + 1, q[1] + 1, q[2] + 1, q[2] + 1, q[2] + 1, q[3] + 1, q[3] + 1, q[3] + 1);
        out += buffer;
    }
    for (const auto& t : mesh.triangles) {
        std::snprintf(buffer, sizeof buffer, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", t[0] + 1, t[0] + 1, t[0] + 1, t[1] + 1,
                      t[1] + 1, t[1] + 1, t[2] + 1, t[2] + 1, t[2] + 1);
        out += buffer;
    }
    return out;
}

void writeObj(const std::string& path, const MeshBuilder& mesh, ObjDigits digits) {
    std::ofstream file(path, std::ios::binary);
    const std::string text = objText(mesh, digits);
    file.write(text.data(), std::streamsize(text.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace Quorvel::Assets
