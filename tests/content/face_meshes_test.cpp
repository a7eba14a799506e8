// The closing scene's meshes: the three faces must blend vertex by vertex, read as a face (the
// nose leads, the eyes sit in their sockets), differ enough for a change to show, and the
// parts around the head must stay off the face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "content/face_head.h"
#include "content/face_meshes.h"

using namespace Quorvel::Assets;

namespace {

const FaceMeshes& meshes() {
    static const FaceMeshes built = buildFaceMeshes();
    return built;
}

// The canonical axes after the group's turn.
Vec3 front() { return groupOrientation({0.0f, 0.0f, 1.0f}); }
// A written position back in the head's own frame.
Vec3 canonical(Vec3 p) { return canonicalOf(p); }

}  // namespace

TEST(FaceMeshes, TheThreeFacesShareOneGridOfQuadsSoTheyCanBlend) {
    const MeshBuilder* faces[] = {&meshes().face, &meshes().face2, &meshes().face3};
    const size_t vertices = size_t((faceColumns + 1) * (faceRows + 1));
    for (const MeshBuilder* face : faces) {
        EXPECT_EQ(face->positions.size(), vertices);
        EXPECT_EQ(face->quads, meshes().face.quads);
        EXPECT_EQ(face->texCoords, meshes().face.texCoords);
        EXPECT_TRUE(face->triangles.empty());
    }
    // u is the angle around the head with the face's middle at 0.5, v runs from the cut to the crown.
    float frontMost = -1e9f, frontU = 0.0f;
    for (size_t i = 0; i < vertices; ++i) {
        const auto [s, t] = meshes().face.texCoords[i];
        ASSERT_TRUE(s >= 0.0f && s <= 1.0f && t >= 0.0f && t <= 1.0f) << s << ' ' << t;
        if (dot(meshes().face.positions[i], front()) > frontMost) {
            frontMost = dot(meshes().face.positions[i], front());
            frontU = s;
        }
    }
    EXPECT_NEAR(frontU, 0.5f, 0.02f);
}

TEST(FaceMeshes, NormalsAreUnitAndFacesPointOutwards) {
    const FaceMeshes& m = meshes();
    for (const MeshBuilder* mesh : {&m.face, &m.face2, &m.face3, &m.eyes, &m.modules, &m.tube})
        for (size_t i = 0; i < mesh->normals.size(); ++i) {
            // The cable mesh's timed effects (texture s of 2 and up) carry corners and sizes
            // in their normals, not directions.
            if (mesh == &m.tube && mesh->texCoords[i][0] > 1.5f) continue;
            ASSERT_NEAR(length(mesh->normals[i]), 1.0f, 1e-3f);
        }
    for (const MeshBuilder* face : {&m.face, &m.face2, &m.face3}) {
        // Outwards from the middle of the skull, apart from a few vertices in folds (ears, nostrils).
        const Vec3 middle = sceneOf({0.0f, 0.0f, -0.05f});
        int inwards = 0;
        for (size_t i = 0; i < face->positions.size(); ++i)
            inwards += dot(face->normals[i], face->positions[i] - middle) < 0.0f;
        EXPECT_LT(inwards, int(face->positions.size()) / 50);
    }
}

TEST(FaceMeshes, TheCalmFaceHasItsProportions) {
    Vec3 nose{0.0f, 0.0f, -1e9f}, low{0.0f, 1e9f, 0.0f}, high{0.0f, -1e9f, 0.0f};
    for (const Vec3& p : meshes().face.positions) {
        const Vec3 c = canonical(p);
        if (c.z > nose.z) nose = c;
        if (c.z > 0.55f && c.y < low.y) low = c;  // the chin: lowest point of the face's front
        if (c.y > high.y) high = c;
    }
    // The nose leads the profile, on the middle line, halfway from the eyes down to the chin.
    EXPECT_NEAR(nose.x, 0.0f, 0.02f);
    EXPECT_NEAR(nose.y, (eyeCentre(1).y + low.y) * 0.5f, 0.1f);
    // Chin to crown about 2 units, the eyes halfway.
    EXPECT_NEAR(high.y - low.y, 2.0f, 0.15f);
    EXPECT_NEAR(eyeCentre(1).y, (high.y + low.y) * 0.5f, 0.1f);
}

TEST(FaceMeshes, EyesSitInTheSocketsOfEveryFace) {
    const MeshBuilder& eyes = meshes().eyes;
    for (const int s : {-1, 1}) {
        // The eye's own vertices and texture coordinates: a sphere around its centre whose front
        // point shows the picture's middle.
        const Vec3 centre = sceneOf(eyeCentre(s));
        const float radius = eyeRadius * kHeadScale;
        int count = 0;
        for (size_t i = 0; i < eyes.positions.size(); ++i) {
            if (length(eyes.positions[i] - centre) > radius * 1.01f) continue;
            ++count;
            if (dot(eyes.positions[i] - centre, front()) > radius * 0.999f) {
                EXPECT_NEAR(eyes.texCoords[i][0], 0.5f, 0.02f);
                EXPECT_NEAR(eyes.texCoords[i][1], 0.5f, 0.02f);
            }
        }
        EXPECT_EQ(count * 2, int(eyes.positions.size()));
        // Every face keeps its socket: the eyeball's front stands at or out of the skin, and
        // its back lies inside the head.
        const Vec3 eye = eyeCentre(s);
        for (const HeadShape& shape : {HeadShape::calm(), HeadShape::gaunt(), HeadShape::machined()}) {
            EXPECT_GT(headDistance(shape, eye + Vec3{0.0f, 0.0f, eyeRadius}), -0.01f);
            EXPECT_LT(headDistance(shape, eye - Vec3{0.0f, 0.0f, eyeRadius}), 0.0f);
            EXPECT_LT(headDistance(shape, eye + Vec3{0.0f, eyeRadius * 1.2f, 0.0f}), 0.02f);  // under the brow
        }
    }
}

TEST(FaceMeshes, TheFacesDifferEnoughForAChangeToRead) {
    // The outline's extremes: half-width, reach of the profile, depth of the chin.
    auto outline = [](const MeshBuilder& face) {
        Vec3 extent{0.0f, 0.0f, 0.0f};
        for (const Vec3& p : face.positions) {
            const Vec3 c = canonical(p);
            extent.x = std::max(extent.x, std::abs(c.x));
            extent.z = std::max(extent.z, c.z);
            if (c.z > 0.55f) extent.y = std::min(extent.y, c.y);
        }
        return extent;
    };
    const MeshBuilder* faces[] = {&meshes().face, &meshes().face2, &meshes().face3};
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3;
        float largest = 0.0f;
        for (size_t i = 0; i < faces[a]->positions.size(); ++i)
            largest = std::max(largest, length(canonical(faces[a]->positions[i]) - canonical(faces[b]->positions[i])));
        EXPECT_GT(largest, 0.15f) << a << " and " << b;
        const Vec3 d = outline(*faces[a]) - outline(*faces[b]);
        EXPECT_GT(std::abs(d.x) + std::abs(d.y) + std::abs(d.z), 0.12f) << a << " and " << b;
    }
}

TEST(FaceMeshes, ModulesAndCableStayOffTheFace) {
    // Nothing of the modules in front of the face above the chin.
    for (const Vec3& p : meshes().modules.positions) {
        const Vec3 c = canonical(p);
        if (c.y > -1.0f) {
            ASSERT_LT(c.z, 0.3f) << c.x << ' ' << c.y << ' ' << c.z;
        }
    }
    // The cable leaves the back of the head and winds down the mast to its foot, far below the
    // head in the first camera's view (where the scene's z is up); u runs along it.
    const MeshBuilder& tube = meshes().tube;
    Vec3 start{}, end{};
    int starts = 0, ends = 0;
    for (size_t i = 0; i < tube.positions.size(); ++i) {
        if (tube.texCoords[i][0] == 0.0f) {
            start = start + tube.positions[i];
            ++starts;
        } else if (tube.texCoords[i][0] == 1.0f) {
            end = end + tube.positions[i];
            ++ends;
        }
    }
    ASSERT_GT(starts, 0);
    ASSERT_GT(ends, 0);
    start = canonical(start * (1.0f / float(starts)));
    end = end * (1.0f / float(ends));
    EXPECT_LT(headDistance(HeadShape::calm(), start), 0.0f);
    EXPECT_LT(start.z, 0.0f);
    EXPECT_LT(end.z, -9.0f);
    EXPECT_LT(std::abs(end.x) + std::abs(end.y), 1.0f);
    // The cable is only the cable: its texture s stays along it, the effects have meshes of
    // their own (face_effects_test.cpp).
    for (const auto& st : tube.texCoords) ASSERT_TRUE(st[0] >= 0.0f && st[0] <= 1.0f) << st[0];
}
