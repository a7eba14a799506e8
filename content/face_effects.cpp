// The face scene's effect meshes (see face_effects.h).
#include "content/face_effects.h"

#include <array>
#include <cmath>

#include "scenes/data_files.h"
#include "scenes/face_effect_layout.h"

namespace Quorvel::Assets {
namespace {

using namespace FaceEffectLayout;

// A deterministic scatter in [0, 1) for the motes.
float scatter(int i, int salt) {
    const float x = std::sin(float(i) * 12.9898f + float(salt) * 78.233f) * 43758.5453f;
    return x - std::floor(x);
}

// One quad of four vertices with their own normals and texture coordinates.
void addQuad(MeshBuilder& mesh, const std::array<Vec3, 4>& at, const std::array<Vec3, 4>& normals,
             const std::array<std::array<float, 2>, 4>& st) {
    const int first = int(mesh.positions.size());
    for (size_t k = 0; k < 4; ++k) {
        mesh.vertex(at[k], st[k][0], st[k][1]);
        mesh.normals.back() = normals[k];
    }
    mesh.quad(first, first + 1, first + 2, first + 3);
}

Vec3 vec(const std::array<float, 3>& a) { return {a[0], a[1], a[2]}; }

MeshBuilder motes() {
    MeshBuilder mesh;
    const Vec3 low = vec(kMotesLow), size = vec(kMotesSize);
    for (int i = 0; i < kMotes; ++i) {
        const Vec3 centre{low.x + size.x * scatter(i, 1), low.y + size.y * scatter(i, 2), low.z + size.z * scatter(i, 3)};
        const float radius = 0.025f + 0.04f * scatter(i, 4) * scatter(i, 4);
        const float seed = scatter(i, 5);
        addQuad(mesh, {centre, centre, centre, centre},
                {Vec3{-1.0f, -1.0f, radius}, {1.0f, -1.0f, radius}, {1.0f, 1.0f, radius}, {-1.0f, 1.0f, radius}},
                {{{seed, 0.0f}, {seed, 0.0f}, {seed, 0.0f}, {seed, 0.0f}}});
    }
    return mesh;
}

// Both face +x, towards the first camera, which looks along -x at the closed credits.
constexpr Vec3 kFacing{1.0f, 0.0f, 0.0f};

MeshBuilder wipeMask() {
    MeshBuilder mesh;
    addQuad(mesh, {Vec3{kMaskX, 0.0f, kMaskLow}, {kMaskX, kMaskFar, kMaskLow}, {kMaskX, kMaskFar, kMaskHigh}, {kMaskX, 0.0f, kMaskHigh}},
            {kFacing, kFacing, kFacing, kFacing}, {{{1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}}});
    return mesh;
}

MeshBuilder wipeFront() {
    MeshBuilder mesh;
    const float half = kFrontWidth * 0.5f, low = kMaskLow + kFrontInset, high = kMaskHigh - kFrontInset;
    addQuad(mesh, {Vec3{kMaskX, -half, low}, {kMaskX, half, low}, {kMaskX, half, high}, {kMaskX, -half, high}},
            {kFacing, kFacing, kFacing, kFacing}, {{{1.0f, 0.0f}, {1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}}});
    return mesh;
}

// The second camera sees the open credits only edge-on; the box's near faces hide them from it
// at the cost of their own small area.
MeshBuilder creditsBox() {
    MeshBuilder mesh;
    const Vec3 lo = vec(kBoxLow), hi = vec(kBoxHigh);
    auto corner = [&](int i) { return Vec3{i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z}; };
    const int sides[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& side : sides) {
        const std::array<Vec3, 4> at = {corner(side[0]), corner(side[1]), corner(side[2]), corner(side[3])};
        const Vec3 n = normalised(cross(at[1] - at[0], at[2] - at[0]));
        addQuad(mesh, at, {n, n, n, n}, {{{0.0f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.0f}}});
    }
    return mesh;
}

}  // namespace

FaceEffectMeshes buildFaceEffects() { return {motes(), wipeMask(), wipeFront(), creditsBox()}; }

void writeFaceEffects(const std::string& dataDir) {
    const FaceEffectMeshes m = buildFaceEffects();
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kFaceMotes), m.motes);
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kWipeMask), m.wipeMask);
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kWipeFront), m.wipeFront);
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kCreditsBox), m.creditsBox);
}

}  // namespace Quorvel::Assets
