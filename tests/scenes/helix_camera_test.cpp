// Reading the helix camera's placement from its six curves.
#include <gtest/gtest.h>

#include <sstream>

#include "scenes/helix_camera.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

TEST(HelixCamera, WithoutCurvesItSitsAtTheOriginTurnedUpright) {
    CurveSet curves;
    const HelixCameraPlacement p = helixCameraPlacement(curves, 3.0f);
    EXPECT_FLOAT_EQ(p.rotation[0], -1.5707f);
    EXPECT_EQ(p.rotation[1], 0.0f);
    EXPECT_EQ(p.rotation[2], 0.0f);
    for (float v : p.translation) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(curves.size(), 6u);  // each lookup added its empty curve
}

TEST(HelixCamera, MapsTheFileAxesOntoTheScene) {
    std::istringstream text(
        "curve 1 float helix/CameraAction/location\nc 0 1 0 0 0 0\n"
        "curve 1 float helix/CameraAction/location1\nc 0 2 0 0 0 0\n"
        "curve 1 float helix/CameraAction/location2\nc 0 3 0 0 0 0\n"
        "curve 1 float helix/CameraAction/rotation_euler\nc 0 1.5707 0 0 0 0\n"
        "curve 1 float helix/CameraAction/rotation_euler1\nc 0 0.25 0 0 0 0\n"
        "curve 1 float helix/CameraAction/rotation_euler2\nc 0 0.5 0 0 0 0\n");
    CurveSet curves;
    loadCurves(text, curves);
    const HelixCameraPlacement p = helixCameraPlacement(curves, 0.0f);
    EXPECT_NEAR(p.rotation[0], 0.0f, 1e-7f);
    EXPECT_FLOAT_EQ(p.rotation[1], 0.5f);
    EXPECT_FLOAT_EQ(p.rotation[2], -0.25f);
    // The camera stands at (1, 3, -2) in scene coordinates; the translation undoes that.
    EXPECT_FLOAT_EQ(p.translation[0], -1.0f);
    EXPECT_FLOAT_EQ(p.translation[1], -3.0f);
    EXPECT_FLOAT_EQ(p.translation[2], 2.0f);
}
