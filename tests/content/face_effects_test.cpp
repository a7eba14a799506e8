// The face scene's effect meshes as their shaders and the scene read them: whole billboards
// with seeds in range, a mask whose near edge is the one that rides the wipe, a front that
// straddles it, quads and a box facing the way culling keeps, and the same bytes every build.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "content/face_effects.h"

using namespace Quorvel::Assets;

namespace {

const FaceEffectMeshes& effects() {
    static const FaceEffectMeshes built = buildFaceEffects();
    return built;
}

Vec3 quadNormal(const MeshBuilder& mesh, const std::array<int, 4>& q) {
    const Vec3 a = mesh.positions[size_t(q[0])];
    return cross(mesh.positions[size_t(q[1])] - a, mesh.positions[size_t(q[2])] - a);
}

}  // namespace

TEST(FaceEffects, MotesAreWholeBillboardsWithSeeds) {
    const MeshBuilder& motes = effects().motes;
    ASSERT_EQ(motes.quads.size(), 180u);
    std::set<float> seeds;
    for (const auto& q : motes.quads) {
        const size_t first = size_t(q[0]);
        std::set<std::pair<float, float>> corners;
        for (int index : q) {
            const size_t i = size_t(index);
            EXPECT_EQ(motes.positions[i].x, motes.positions[first].x);
            EXPECT_EQ(motes.positions[i].z, motes.positions[first].z);
            EXPECT_EQ(motes.texCoords[i], motes.texCoords[first]);
            EXPECT_EQ(motes.normals[i].z, motes.normals[first].z);
            corners.insert({motes.normals[i].x, motes.normals[i].y});
        }
        // Counter-clockwise on screen, so culling keeps them.
        EXPECT_EQ(motes.normals[first].x, -1.0f);
        EXPECT_EQ(motes.normals[first].y, -1.0f);
        EXPECT_EQ(motes.normals[size_t(q[1])].x, 1.0f);
        EXPECT_EQ(motes.normals[size_t(q[1])].y, -1.0f);
        EXPECT_EQ(corners.size(), 4u);
        const float size = motes.normals[first].z, seed = motes.texCoords[first][0];
        EXPECT_TRUE(size >= 0.025f && size <= 0.065f) << size;
        EXPECT_TRUE(seed >= 0.0f && seed < 1.0f) << seed;
        // They rise through a band 12 high centred on y = 0 and wrap round it.
        EXPECT_TRUE(std::abs(motes.positions[first].y) <= 6.0f) << motes.positions[first].y;
        seeds.insert(seed);
    }
    // The float scatter repeats a few seeds (19 of 180); those motes sway in step, far apart.
    EXPECT_GT(seeds.size(), 150u) << "motes must not move in step";
}

TEST(FaceEffects, TheMasksNearEdgeRidesTheWipeAndTheFrontStraddlesIt) {
    const MeshBuilder& mask = effects().wipeMask;
    ASSERT_EQ(mask.quads.size(), 1u);
    int riding = 0;
    for (size_t i = 0; i < mask.positions.size(); ++i) {
        if (mask.texCoords[i][0] == 1.0f) {
            ++riding;
            EXPECT_EQ(mask.positions[i].y, 0.0f) << "lands on the front itself";
        } else {
            EXPECT_EQ(mask.texCoords[i][0], 0.0f);
            EXPECT_GT(mask.positions[i].y, 4.3f) << "beyond where the front stops";
        }
    }
    EXPECT_EQ(riding, 2);
    const MeshBuilder& front = effects().wipeFront;
    ASSERT_EQ(front.quads.size(), 1u);
    float low = 1.0f, high = -1.0f;
    for (size_t i = 0; i < front.positions.size(); ++i) {
        EXPECT_EQ(front.texCoords[i][0], 1.0f);
        EXPECT_EQ(front.texCoords[i][1], front.positions[i].y > 0.0f ? 1.0f : 0.0f);
        low = std::min(low, front.positions[i].y);
        high = std::max(high, front.positions[i].y);
    }
    EXPECT_FLOAT_EQ(low, -high);
    EXPECT_GT(high, 0.0f);
    // Both face the first camera, which looks along -x at the closed credits.
    EXPECT_GT(quadNormal(mask, mask.quads[0]).x, 0.0f);
    EXPECT_GT(quadNormal(front, front.quads[0]).x, 0.0f);
}

TEST(FaceEffects, TheCreditsBoxIsClosedAndFacesOutwards) {
    const MeshBuilder& box = effects().creditsBox;
    ASSERT_EQ(box.quads.size(), 6u);
    Vec3 centre{};
    for (const Vec3& p : box.positions) centre = centre + p * (1.0f / float(box.positions.size()));
    for (const auto& q : box.quads) {
        Vec3 middle{};
        for (int i : q) middle = middle + box.positions[size_t(i)] * 0.25f;
        EXPECT_GT(dot(quadNormal(box, q), middle - centre), 0.0f);
    }
}

TEST(FaceEffects, TheSameMeshesOnEveryBuild) {
    const FaceEffectMeshes again = buildFaceEffects();
    EXPECT_EQ(objText(again.motes), objText(effects().motes));
    EXPECT_EQ(objText(again.creditsBox), objText(effects().creditsBox));
}
