// The landscape's and the tube's clocks against numbers worked out by hand: line grid
// indices, the world's turn, name fades, greeting index/opacity/trail, and cell placements.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/tube_timing.h"
#include "scenes/wave_timing.h"

using namespace Quorvel::Ostrel;

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TEST(WaveTiming, LinesAt80SecondsRunFrom980To1020) {
    for (int i = -20; i <= 20; ++i) EXPECT_EQ(lineGridIndex(i, 80.0), 1000 + i) << "line " << i;
    EXPECT_DOUBLE_EQ(lineTime(0, 80.0), 79.99999821186066);
    // Every 0.08 s each line takes over what its neighbour showed.
    EXPECT_EQ(lineGridIndex(3, 80.0 + 0.08), lineGridIndex(4, 80.0));
}

TEST(WaveTiming, WorldTurnsThreeDegreesASecondFrom112) {
    EXPECT_EQ(worldAngle(74.0), 112.0f);
    EXPECT_NEAR(worldAngle(99.999), 190.0f, 0.01f);
}

TEST(WaveTiming, NamesFadeInTurn) {
    const NameFade tornwick = kNameFades[0], pelmo = kNameFades[1];
    EXPECT_EQ(tornwick.dx, 1.25f);
    EXPECT_EQ(pelmo.dx, 0.2f);
    EXPECT_EQ(fadeInOut(0.5, tornwick.fadeIn, tornwick.fadeOut), 0.0);
    EXPECT_NEAR(fadeInOut(1.0 + kPi / 3.0, tornwick.fadeIn, tornwick.fadeOut), 0.5, 1e-12);
    EXPECT_NEAR(fadeInOut(4.1415, tornwick.fadeIn, tornwick.fadeOut), 1.0, 1e-7);  // the sine's last step
    for (double u : {4.1416, 5.5, 6.999}) EXPECT_EQ(fadeInOut(u, tornwick.fadeIn, tornwick.fadeOut), 1.0);
    EXPECT_NEAR(fadeInOut(7.0 + kPi / 3.0, tornwick.fadeIn, tornwick.fadeOut), 0.5, 1e-12);
    EXPECT_EQ(fadeInOut(10.1415, tornwick.fadeIn, tornwick.fadeOut), 0.0);
    EXPECT_EQ(fadeInOut(8.5, pelmo.fadeIn, pelmo.fadeOut), 0.0);
    EXPECT_EQ(fadeInOut(12.1415, pelmo.fadeIn, pelmo.fadeOut), 1.0);
    EXPECT_GT(fadeInOut(18.14, pelmo.fadeIn, pelmo.fadeOut), 0.0);
    EXPECT_EQ(fadeInOut(18.1415, pelmo.fadeIn, pelmo.fadeOut), 0.0);
}

TEST(TubeTiming, GreetingsArriveEveryEightBeatsFrom100AndAHalf) {
    auto at = [](double time) { return greetingFrame(time - 94.0, 5.0); };
    EXPECT_EQ(at(100.0).mainOpacity, 0.0);
    EXPECT_EQ(at(100.0).trailCopies, 0);
    EXPECT_EQ(at(100.5).mainIndex, 0);
    EXPECT_DOUBLE_EQ(at(100.5).mainOpacity, 1.0);
    EXPECT_NEAR(at(101.5).mainOpacity, 0.5, 1e-9);
    EXPECT_LE(at(102.5).mainOpacity, 0.0);
    EXPECT_EQ(at(100.5 + 3.692307696 + 1e-6).mainIndex, 1);
    EXPECT_NEAR(at(100.5 + 3.692307696 + 1e-6).mainOpacity, 1.0, 1e-5);
    EXPECT_EQ(at(133.7).mainIndex, 8);
    EXPECT_EQ(at(133.75).mainIndex, 9);  // past the last greeting: nothing to draw
    // The trail runs 0.45 s ahead: its phase starts at 100.05 s.
    EXPECT_NEAR(at(100.5).trailPhase, 0.45 / 1.846153848, 1e-9);
}

TEST(TubeTiming, TrailCopiesFadeAlongTheTube) {
    // F = 0.5 (a hair below, so rounding cannot add copy 10): copies 0 to 9.
    const double halfPhase = 99.0 + 1.05 + 0.4999999 * 1.846153848;
    const GreetingFrame frame = greetingFrame(halfPhase - 94.0, 5.0);
    EXPECT_NEAR(frame.trailPhase, 0.5, 1e-6);
    EXPECT_EQ(frame.trailCopies, 10);
    EXPECT_NEAR(trailOpacity(0.5, 0), 0.3 * std::sin(0.5 * 3.1415), 1e-12);
    EXPECT_NEAR(trailOpacity(0.5, 9), 0.3 * std::sin(0.05 * 3.1415), 1e-12);
    // F = 1.9: the loop stops after copy 20, not at 38.
    EXPECT_EQ(greetingFrame(99.0 + 1.05 + 1.9 * 1.846153848 - 94.0, 5.0).trailCopies, 21);
    EXPECT_LT(trailOpacity(1.9, 0), 0.0);  // long faded: GL clamps it to nothing
    EXPECT_DOUBLE_EQ(trailDepth(0), 0.30000001192092896);
    EXPECT_DOUBLE_EQ(trailDepth(20), 10.30000001192092896);
}

TEST(TubeTiming, CellsTumbleOnTheirOwnAxes) {
    const auto start = cellPlacements(0.0);
    EXPECT_EQ(start[0].angleDegrees, 0.0f);
    EXPECT_EQ(start[2].position[0], 0.15976f);
    EXPECT_EQ(start[2].position[2], float(0.3 - 0.65813));
    EXPECT_EQ(start[3].position[2], float(0.6 * std::cos(0.2) - 1.03138 + 0.4));
    EXPECT_EQ(start[4].axis[2], 0.5f);
    // d = pi: sin(0.3 pi) for cell 3's x, its z at the constant itself, cell 2 at -300 degrees.
    const auto later = cellPlacements(kPi);
    EXPECT_EQ(later[1].angleDegrees, -300.0f);
    EXPECT_EQ(later[2].position[0], float(0.80901699437494745 + 0.35976 - 0.2));
    EXPECT_EQ(later[2].position[2], -0.65813f);
    EXPECT_EQ(later[4].angleDegrees, float(100.0 * kPi));
    EXPECT_EQ(later[3].position[1], 22.99951f);
}
