#include "engine/camera.h"

#include <gtest/gtest.h>

#include <cmath>

using Quorvel::Camera;

TEST(Camera, DefaultPerspectiveProjection) {
    const std::vector<float> m = Camera().projectionMatrix();
    ASSERT_EQ(m.size(), 16u);
    EXPECT_FLOAT_EQ(m[0], 2.1875f);
    EXPECT_NEAR(m[5], 3.888889f, 1e-5);
    EXPECT_NEAR(m[10], -1.002002f, 1e-6);
    EXPECT_FLOAT_EQ(m[11], -1.0f);
    EXPECT_NEAR(m[14], -0.2002002f, 1e-6);
    EXPECT_FLOAT_EQ(m[15], 1.0f);  // not the textbook 0
    for (int k : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13}) EXPECT_EQ(m[k], 0.0f) << "element " << k;
}

TEST(Camera, OrthographicProjectionUsesSensorAspect) {
    Camera camera;
    camera.perspective = false;
    const std::vector<float> m = camera.projectionMatrix();
    EXPECT_NEAR(m[0], 0.333333f, 1e-6);
    EXPECT_NEAR(m[5], 0.592593f, 1e-6);  // view-volume height 3.375
    EXPECT_NEAR(m[10], -0.020020f, 1e-6);
    EXPECT_NEAR(m[14], -1.002002f, 1e-6);
    EXPECT_FLOAT_EQ(m[15], 1.0f);
    EXPECT_EQ(m[11], 0.0f);
}

TEST(Camera, ViewWithoutRotationIsTranslationByMinusLocation) {
    Camera camera;
    camera.rotation = {0.0f, 0.0f, 0.0f};
    camera.location = {1.0f, -2.0f, 3.5f};
    const std::vector<float> m = camera.viewMatrix();
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1.0f, 2.0f, -3.5f, 1};
    for (int k = 0; k < 16; ++k) EXPECT_FLOAT_EQ(m[k], expected[k]) << "element " << k;
}

TEST(Camera, ViewRotationsAreTheInverseOfZYX) {
    Camera camera;
    camera.location = {0.0f, 0.0f, 0.0f};
    camera.rotation = {static_cast<float>(M_PI / 2), 0.0f, 0.0f};
    std::vector<float> m = camera.viewMatrix();
    EXPECT_NEAR(m[5], 0.0f, 1e-6);
    EXPECT_NEAR(m[6], -1.0f, 1e-6);
    EXPECT_NEAR(m[9], 1.0f, 1e-6);
    EXPECT_NEAR(m[0], 1.0f, 1e-6);

    // A quarter turn about z: the world x axis must end up along -y in eye space.
    camera.rotation = {0.0f, 0.0f, static_cast<float>(M_PI / 2)};
    m = camera.viewMatrix();
    EXPECT_NEAR(m[1], -1.0f, 1e-6);  // column 0 (image of x) has -1 in row 1
    EXPECT_NEAR(m[4], 1.0f, 1e-6);
    EXPECT_NEAR(m[0], 0.0f, 1e-6);

    // About y alone.
    camera.rotation = {0.0f, static_cast<float>(M_PI / 2), 0.0f};
    m = camera.viewMatrix();
    EXPECT_NEAR(m[8], -1.0f, 1e-6);
    EXPECT_NEAR(m[2], 1.0f, 1e-6);
    EXPECT_NEAR(m[10], 0.0f, 1e-6);
}

TEST(Camera, ViewTranslationIsNotRotated) {
    Camera camera;
    camera.rotation = {0.3f, -1.1f, 2.0f};
    camera.location = {4.0f, 5.0f, 6.0f};
    const std::vector<float> m = camera.viewMatrix();
    EXPECT_FLOAT_EQ(m[12], -4.0f);
    EXPECT_FLOAT_EQ(m[13], -5.0f);
    EXPECT_FLOAT_EQ(m[14], -6.0f);
    // The rotation block stays orthonormal whatever the angles.
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            double dot = 0;
            for (int r = 0; r < 3; ++r) dot += double(m[4 * a + r]) * m[4 * b + r];
            EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 1e-6);
        }
    }
}
