// The helix's procedural band and rung meshes and the rung flash groups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "scenes/helix_geometry.h"

using namespace Quorvel::Ostrel;

namespace {

struct Meshes {
    std::vector<float> bandPositions, bandNormals, rungPositions, rungNormals;
    Meshes() {
        buildBandMesh(bandProfile(), kBandSteps, bandPositions, bandNormals);
        buildRungMesh(kRungRadius, kRungSegments, rungPositions, rungNormals);
    }
};

// Float index of vertex A (b = 0) or B (b = 1) of step j of face f.
size_t bandIndex(int f, int j, int b) { return size_t(6 * (f * kBandSteps + j) + 3 * b); }

void expectVec(const std::vector<float>& a, size_t i, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(a[i], x, tolerance) << "at float " << i;
    EXPECT_NEAR(a[i + 1], y, tolerance) << "at float " << i + 1;
    EXPECT_NEAR(a[i + 2], z, tolerance) << "at float " << i + 2;
}

float length(const std::vector<float>& a, size_t i) { return std::sqrt(a[i] * a[i] + a[i + 1] * a[i + 1] + a[i + 2] * a[i + 2]); }

}  // namespace

TEST(HelixBand, HasFourStripsOf480Vertices) {
    Meshes m;
    EXPECT_EQ(m.bandPositions.size(), 5760u);
    EXPECT_EQ(m.bandNormals.size(), 5760u);
}

TEST(HelixBand, FirstStepSitsBelowTheAxisWithFacesPointingInAndOut) {
    Meshes m;
    expectVec(m.bandPositions, bandIndex(0, 0, 0), -0.14142f, -0.92929f, 0.0f);
    expectVec(m.bandPositions, bandIndex(0, 0, 1), 0.14142f, -0.92929f, 0.0f);
    expectVec(m.bandNormals, bandIndex(0, 0, 0), 0.0f, 1.0f, 0.0f);
    expectVec(m.bandNormals, bandIndex(0, 0, 1), 0.0f, 1.0f, 0.0f);
    expectVec(m.bandNormals, bandIndex(2, 0, 0), 0.0f, -1.0f, 0.0f);
    // Face 1 is the flat side at +0.14142 from the inner to the outer corner.
    expectVec(m.bandPositions, bandIndex(1, 0, 0), 0.14142f, -0.92929f, 0.0f);
    expectVec(m.bandPositions, bandIndex(1, 0, 1), 0.14142f, -1.07071f, 0.0f);
}

TEST(HelixBand, LastStepIsAdvancedAndTurned) {
    Meshes m;
    const double theta = 239.0 * double(3.1415f) / 18.0;  // about 2390 degrees
    for (int f = 0; f < 4; ++f) {
        const size_t a = bandIndex(f, 239, 0);
        const float radial = bandProfile()[size_t(2 * f)];
        EXPECT_NEAR(m.bandPositions[a], bandProfile()[size_t(2 * f + 1)] + 239.0f / 12.0f, 1e-4f);
        EXPECT_NEAR(m.bandPositions[a + 1], radial * std::cos(theta), 1e-4f);
        EXPECT_NEAR(m.bandPositions[a + 2], radial * std::sin(theta), 1e-4f);
    }
}

TEST(HelixBand, FlatFacesHaveUnitRadialNormalsExceptAtTheEnds) {
    Meshes m;
    for (int f : {1, 3}) {
        for (int end : {0, kBandSteps - 1})
            for (int b : {0, 1}) expectVec(m.bandNormals, bandIndex(f, end, b), 0.0f, 0.0f, 0.0f, 0.0f);
        for (int j = 1; j < kBandSteps - 1; ++j) {
            const size_t i = bandIndex(f, j, 0);
            ASSERT_NEAR(length(m.bandNormals, i), 1.0f, 1e-4f) << "face " << f << " step " << j;
            // Radial: no component along the axis, and parallel to the position's y-z direction.
            EXPECT_NEAR(m.bandNormals[i], 0.0f, 1e-3f);
            const float py = m.bandPositions[i + 1], pz = m.bandPositions[i + 2];
            const float along = (m.bandNormals[i + 1] * py + m.bandNormals[i + 2] * pz) / std::hypot(py, pz);
            EXPECT_NEAR(std::fabs(along), 1.0f, 1e-3f);
            // Both vertices of a step share the normal.
            EXPECT_EQ(m.bandNormals[i + 1], m.bandNormals[i + 4]);
        }
    }
}

TEST(HelixBand, CurvedFaceNormalsAreUnitLengthEverywhere) {
    Meshes m;
    for (int f : {0, 2})
        for (int j = 0; j < kBandSteps; ++j) ASSERT_NEAR(length(m.bandNormals, bandIndex(f, j, 1)), 1.0f, 1e-5f);
}

TEST(HelixRung, IsAnOpenTubeFromTheAxisToRadiusOne) {
    Meshes m;
    ASSERT_EQ(m.rungPositions.size(), 150u);
    ASSERT_EQ(m.rungNormals.size(), 150u);
    expectVec(m.rungPositions, 0, 0.1f, 0.0f, 0.0f);
    expectVec(m.rungPositions, 3, 0.1f, 1.0f, 0.0f);
    expectVec(m.rungNormals, 0, 1.0f, 0.0f, 0.0f);
    expectVec(m.rungPositions, 36, 0.0f, 0.0f, 0.1f, 1e-4f);  // pair 6: a quarter turn
    expectVec(m.rungPositions, 39, 0.0f, 1.0f, 0.1f, 1e-4f);
    // The last pair stops a hair short of closing the circle.
    EXPECT_LT(m.rungPositions[146], 0.0f);
    EXPECT_NEAR(m.rungPositions[144], 0.1f, 1e-5f);
}

TEST(HelixRungGroups, PairsMeetingAtTheAxisNeverShareAGroup) {
    // The programme's own generator, a constant one (every pair equal) and a cycling one.
    int counter = 0;
    const std::function<int()> draws[] = {[] { return std::rand(); }, [] { return 7; },
                                          [&counter] { return counter++; }};
    for (const auto& draw : draws) {
        const std::vector<std::int32_t> groups = drawRungGroups(draw);
        ASSERT_EQ(groups.size(), 20u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_NE(groups[size_t(i)], groups[size_t(i + 10)]) << "pair " << i;
            EXPECT_GE(groups[size_t(i)], 0);
            EXPECT_LE(groups[size_t(i)], 2);
            EXPECT_GE(groups[size_t(i + 10)], 0);
            EXPECT_LE(groups[size_t(i + 10)], 2);
        }
    }
}

TEST(HelixRungGroups, DrawsTwicePerPairInOrder) {
    std::vector<int> sequence = {0, 1, 2, 2, 4, 3};
    size_t next = 0;
    const std::vector<std::int32_t> groups = drawRungGroups([&] { return next < sequence.size() ? sequence[next++] : 1; });
    EXPECT_EQ(groups[0], 0);
    EXPECT_EQ(groups[10], 1);
    EXPECT_EQ(groups[1], 0);  // 2 and 2 collide: the first moves on to (2 + 1) mod 3
    EXPECT_EQ(groups[11], 2);
    EXPECT_EQ(groups[2], 1);
    EXPECT_EQ(groups[12], 0);
    EXPECT_EQ(next, 6u);
}
