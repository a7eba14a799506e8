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

namespace {

// The canonical positions of a face mesh.
std::vector<Vec3> canonicalPositions(const MeshBuilder& face) {
    std::vector<Vec3> result;
    for (const Vec3& p : face.positions) result.push_back(canonical(p));
    return result;
}

// Seen from straight ahead, is the eyeball's front at (x, y) (offsets from the eye's centre)
// behind some skin? 0 no, 1 yes, -1 no grid vertex near enough to tell.
int coveredFromTheFront(const std::vector<Vec3>& face, int side, float x, float y) {
    const Vec3 eye = eyeCentre(side);
    const float eyeballFront = eye.z + std::sqrt(std::max(0.0f, eyeRadius * eyeRadius - x * x - y * y));
    int near = 0;
    for (const Vec3& p : face) {
        if (p.z < eye.z - eyeRadius) continue;  // the back of the head
        if (std::abs(p.x - eye.x - x) > 0.008f || std::abs(p.y - eye.y - y) > 0.005f) continue;
        ++near;
        if (p.z > eyeballFront + 0.002f) return 1;
    }
    return near > 0 ? 0 : -1;
}

}  // namespace

TEST(FaceMeshes, TheLidsCoverTheTopOfTheIrisAndLeaveThePupilOpen) {
    // The eyes' picture (face_eyes.png) spans the eyeball's diameter, its iris 0.22 and its pupil
    // 0.09 of that across in radius: in the eye's own units, these radii.
    const float iris = 0.22f * 2.0f * eyeRadius, pupil = 0.09f * 2.0f * eyeRadius;
    const std::vector<Vec3> face = canonicalPositions(meshes().face);
    for (const int side : {-1, 1}) {
        // Walk up the eye's middle: open from the lower lid's margin to the upper one's.
        float lowest = 1.0f, highest = -1.0f;
        int known = 0;
        for (float y = -0.09f; y <= 0.09f; y += 0.002f) {
            const int covered = coveredFromTheFront(face, side, 0.0f, y);
            if (covered < 0) continue;
            ++known;
            if (covered == 0) lowest = std::min(lowest, y), highest = std::max(highest, y);
        }
        EXPECT_GT(known, 40) << "too few rows through the eye to see its lids";
        // A relaxed eye: the upper lid over the top tenth or more of the iris, well clear of the
        // pupil; the lower lid at the iris's lower edge.
        EXPECT_LT(highest, iris - 0.1f * 2.0f * iris) << side;
        EXPECT_GT(highest, pupil + 0.008f) << side;
        EXPECT_NEAR(lowest, -iris, 0.012f) << side;
        // The pupil is open all across, and lids cover the eyeball above and below the opening.
        for (float x = -pupil; x <= pupil; x += 0.004f)
            for (float y = -pupil; y <= pupil; y += 0.004f)
                EXPECT_NE(coveredFromTheFront(face, side, x, y), 1) << side << ' ' << x << ' ' << y;
        EXPECT_EQ(coveredFromTheFront(face, side, 0.0f, 0.09f), 1);
        EXPECT_EQ(coveredFromTheFront(face, side, 0.0f, -0.09f), 1);
    }
}

TEST(FaceMeshes, TheMorphTargetsMoveEachVertexOnlyLocally) {
    // The same grid: corresponding vertices are the same place on the head, so no vertex of one
    // face lands somewhere else on another (which a shuffled order would do), while the whole
    // face moves a fair amount.
    const MeshBuilder* faces[] = {&meshes().face2, &meshes().face3};
    for (const MeshBuilder* target : faces) {
        ASSERT_EQ(target->positions.size(), meshes().face.positions.size());
        double sum = 0.0;
        float largest = 0.0f;
        for (size_t i = 0; i < target->positions.size(); ++i) {
            const float moved = length(target->positions[i] - meshes().face.positions[i]);
            largest = std::max(largest, moved);
            sum += moved;
        }
        EXPECT_LT(largest, 0.45f);
        EXPECT_GT(sum / double(target->positions.size()), 0.02);
        EXPECT_LT(sum / double(target->positions.size()), 0.15);
    }
}

namespace {

// Half-width of a face's outline from the front at height y (canonical), behind the face's front.
float outlineHalfWidth(const std::vector<Vec3>& face, float y) {
    float width = 0.0f;
    for (const Vec3& p : face)
        if (std::abs(p.y - y) < 0.02f) width = std::max(width, std::abs(p.x));
    return width;
}

// The frontal outline as a grid of covered cells: every quad's two triangles filled in.
std::vector<bool> frontalOutline(const MeshBuilder& mesh, int cells, float lowY, float highY, float halfWidth) {
    const std::vector<Vec3> face = canonicalPositions(mesh);
    std::vector<bool> covered(size_t(cells * cells), false);
    auto cellX = [&](float x) { return (x + halfWidth) / (2.0f * halfWidth) * float(cells); };
    auto cellY = [&](float y) { return (y - lowY) / (highY - lowY) * float(cells); };
    auto fill = [&](Vec3 a, Vec3 b, Vec3 c) {
        const float ax = cellX(a.x), ay = cellY(a.y), bx = cellX(b.x), by = cellY(b.y), cx = cellX(c.x), cy = cellY(c.y);
        const float area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (std::abs(area) < 1e-9f) return;
        const int x0 = std::max(0, int(std::min({ax, bx, cx}))), x1 = std::min(cells - 1, int(std::max({ax, bx, cx})));
        const int y0 = std::max(0, int(std::min({ay, by, cy}))), y1 = std::min(cells - 1, int(std::max({ay, by, cy})));
        for (int j = y0; j <= y1; ++j)
            for (int i = x0; i <= x1; ++i) {
                const float px = float(i) + 0.5f, py = float(j) + 0.5f;
                const float w0 = ((bx - px) * (cy - py) - (by - py) * (cx - px)) / area;
                const float w1 = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) / area;
                if (w0 >= 0.0f && w1 >= 0.0f && w0 + w1 <= 1.0f) covered[size_t(j * cells + i)] = true;
            }
    };
    for (const auto& q : mesh.quads) {
        const Vec3 a = face[size_t(q[0])], b = face[size_t(q[1])], c = face[size_t(q[2])], d = face[size_t(q[3])];
        fill(a, b, c);
        fill(a, c, d);
    }
    return covered;
}

}  // namespace

TEST(FaceMeshes, EarsStandOutOfTheOutlineFromBrowToNoseTip) {
    for (const MeshBuilder* mesh : {&meshes().face, &meshes().face2}) {
        const std::vector<Vec3> face = canonicalPositions(*mesh);
        // The skull's half-width above the ears, and where the outline stands out past it.
        const float skull = outlineHalfWidth(face, 0.35f);
        float top = -1.0f, bottom = 1.0f, widest = 0.0f;
        for (float y = 0.3f; y >= -0.8f; y -= 0.01f) {
            const float width = outlineHalfWidth(face, y);
            widest = std::max(widest, width);
            if (width > skull + 0.03f) top = std::max(top, y), bottom = std::min(bottom, y);
        }
        EXPECT_GT(widest, skull + 0.07f) << "the ears do not stand out";
        // From about the brow (0.13) down to about the nose's tip (-0.5 calm, -0.57 gaunt).
        EXPECT_GT(top, -0.05f);
        EXPECT_LT(top, 0.25f);
        EXPECT_GT(bottom, -0.7f);
        EXPECT_LT(bottom, -0.35f);
    }
}

TEST(FaceMeshes, EachMorphChangesTheFrontalOutline) {
    // Cells of the frontal outline (head and neck, 2.4 x 3.3 units in 0.02-unit cells) that one
    // face covers and the next does not: each change must move at least 6 % of the outline's
    // area, which reads at once from the back of a hall.
    const int cells = 160;
    const MeshBuilder* faces[] = {&meshes().face, &meshes().face2, &meshes().face3};
    std::vector<std::vector<bool>> outlines;
    for (const MeshBuilder* face : faces) outlines.push_back(frontalOutline(*face, cells, -1.6f, 1.25f, 1.2f));
    int calmArea = 0;
    for (const bool c : outlines[0]) calmArea += c;
    for (int a = 0; a < 2; ++a) {
        int changed = 0;
        for (size_t i = 0; i < outlines[0].size(); ++i) changed += outlines[size_t(a)][i] != outlines[size_t(a) + 1][i];
        EXPECT_GT(changed, calmArea * 6 / 100) << "face " << a + 1 << " to face " << a + 2 << " of " << calmArea;
    }
}

TEST(FaceMeshes, TheSkinsGlossFindsTheFeaturesByTheirTextureCoordinates) {
    // face_face.frag makes the skin oily by texture coordinates, which every face shares: the
    // forehead over t 0.65..0.82, the nose over t 0.47..0.62 (s within 0.018 of the middle),
    // matte cheeks beyond s 0.57. The calm face's features must lie there.
    const MeshBuilder& mesh = meshes().face;
    const std::vector<Vec3> face = canonicalPositions(mesh);
    auto uvNear = [&](Vec3 target) {
        size_t best = 0;
        for (size_t i = 0; i < face.size(); ++i)
            if (length(face[i] - target) < length(face[best] - target)) best = i;
        EXPECT_LT(length(face[best] - target), 0.1f);
        return mesh.texCoords[best];
    };
    size_t tip = 0;
    for (size_t i = 0; i < face.size(); ++i)
        if (face[i].z > face[tip].z) tip = i;
    const auto nose = mesh.texCoords[tip];
    EXPECT_NEAR(nose[0], 0.5f, 0.018f);
    EXPECT_GT(nose[1], 0.47f);
    EXPECT_LT(nose[1], 0.62f);
    const auto bridge = uvNear({0.0f, 0.0f, 0.87f});
    EXPECT_GT(bridge[1], 0.47f);
    EXPECT_LT(bridge[1], 0.62f);
    const auto forehead = uvNear({0.0f, 0.5f, 0.78f});
    EXPECT_GT(forehead[1], 0.65f);
    EXPECT_LT(forehead[1], 0.82f);
    const auto cheek = uvNear({0.47f, -0.3f, 0.62f});
    EXPECT_GT(std::abs(cheek[0] - 0.5f), 0.07f);
}
