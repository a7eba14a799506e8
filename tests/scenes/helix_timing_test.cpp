// The helix scene's clock, flash table and blur weights.
#include <gtest/gtest.h>

#include "scenes/helix_timing.h"

using namespace Quorvel::Ostrel;

namespace {

std::vector<float> levelsAt(double time) {
    std::vector<double> flashTimes;
    updateFlashTimes(time, helixBeatTimes(), flashTimes);
    std::vector<float> levels;
    for (double f : flashTimes) levels.push_back(rungLevel(time, f));
    return levels;
}

}  // namespace

TEST(HelixTimes, LocalTimeSpinAndCurveTimeAtTheWindowsKeyMoments) {
    const HelixFrameTimes first = helixFrameTimes(5.0, 5.0, 8.0);
    EXPECT_DOUBLE_EQ(first.local, -8.0);
    EXPECT_FLOAT_EQ(first.localF, -8.0f);
    EXPECT_DOUBLE_EQ(first.spinDegrees, -140.0);
    EXPECT_FLOAT_EQ(first.curveTime, -17.0f);
    const HelixFrameTimes logoGone = helixFrameTimes(13.0, 5.0, 8.0);
    EXPECT_DOUBLE_EQ(logoGone.local, 0.0);
    EXPECT_DOUBLE_EQ(logoGone.spinDegrees, 20.0);
    EXPECT_FLOAT_EQ(logoGone.curveTime, -9.0f);
    EXPECT_FLOAT_EQ(helixFrameTimes(22.0, 5.0, 8.0).curveTime, 0.0f);
}

TEST(HelixFlashes, NothingLightsBeforeOrAtTheFirstBeat) {
    for (double time : {5.0, 30.0, 44.3, 44.307})
        for (float level : levelsAt(time)) EXPECT_EQ(level, 0.0f) << "at " << time;
}

TEST(HelixFlashes, LevelsFollowTheBeatTable) {
    std::vector<float> l = levelsAt(44.807);
    EXPECT_NEAR(l[0], 0.7f, 1e-5f);
    EXPECT_EQ(l[1], 0.0f);
    EXPECT_EQ(l[2], 0.0f);
    EXPECT_EQ(levelsAt(45.975)[0], 0.0f);  // faded out after 1/0.6 seconds
    l = levelsAt(48.5);
    EXPECT_EQ(l[0], 0.0f);
    EXPECT_NEAR(l[1], 0.6996f, 1e-4f);
    EXPECT_NEAR(l[2], 0.9765f, 1e-4f);
}

TEST(HelixFlashes, EachBeatLightsItsGroupJustAfterItAndNotJustBefore) {
    const std::vector<double> beats = helixBeatTimes();
    ASSERT_EQ(beats.size(), 12u);
    for (size_t k = 0; k < beats.size(); ++k) {
        const double at = beats[k] + kHelixFirstBeat;
        const size_t group = k % 3;
        EXPECT_GT(levelsAt(at + 0.01)[group], 0.99f) << "beat " << k;
        EXPECT_LT(levelsAt(at - 0.01)[group], 0.99f) << "beat " << k;
    }
    // Group 1's latest beat at 63.3 s is beat 7 (62.7685 s).
    std::vector<double> flashTimes;
    updateFlashTimes(63.3, beats, flashTimes);
    EXPECT_NEAR(flashTimes[1], 62.76853848, 1e-9);
    EXPECT_NEAR(flashTimes[2], 63.230076942, 1e-9);
    EXPECT_NEAR(flashTimes[0], 59.076230784, 1e-9);
}

TEST(HelixBlurWeights, AreTheUnnormalisedGaussianFallingWithTheIndex) {
    const std::vector<float> w = blurWeights();
    ASSERT_EQ(w.size(), 32u);
    EXPECT_NEAR(w[0], 0.0398942f, 1e-7f);
    EXPECT_NEAR(w[1], 0.0394973f, 1e-7f);
    EXPECT_NEAR(w[2], 0.0383300f, 1e-7f);
    EXPECT_NEAR(w[5], 0.0310697f, 1e-7f);
    EXPECT_NEAR(w[10], 0.0146763f, 1e-7f);
    EXPECT_NEAR(w[20], 0.000730688f, 1e-9f);
    EXPECT_NEAR(w[31], 0.00000267510f, 1e-11f);
    double sum = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(w[i], w[i - 1]);
        }
        sum += w[i];
    }
    EXPECT_NEAR(sum, 0.3735, 1e-3);
    EXPECT_NEAR(2.0 * sum - w[0], 0.7071, 1e-3);
}
