// Tables checked against numbers written here, never against the tables themselves: the helix
// beat table and the flash levels it drives, and the picture-over-picture extent.
#include <gtest/gtest.h>

#include <vector>

#include "scenes/helix_timing.h"
#include "scenes/picture_scale.h"

using namespace Quorvel::Ostrel;

TEST(WrittenExpectations, HelixBeatTableIsTheTwelveAccentsOfTheScore) {
    // Beats 96, 104, 105, 112, 120, 124, 128, 136, 137, 144, 152, 156 of 0.461538462 s, from beat 96.
    const std::vector<double> expected{0.0,          3.692307696,  4.153846158,  7.384615392,
                                       11.076923088, 12.923076936, 14.769230784, 18.46153848,
                                       18.923076942, 22.153846176, 25.846153872, 27.69230772};
    const std::vector<double> beats = helixBeatTimes();
    ASSERT_EQ(beats.size(), expected.size());
    for (size_t k = 0; k < beats.size(); ++k) EXPECT_NEAR(beats[k], expected[k], 1e-8) << "beat " << k;
    EXPECT_EQ(kHelixFirstBeat, 44.307);
}

TEST(WrittenExpectations, FlashLevelsAtChosenMoments) {
    struct Moment {
        double time;
        float levels[3];  // groups 0, 1, 2
    };
    // 1 - 0.6 (time - beat), raised to 0; beat k lights group k mod 3 (demo times from the score).
    const Moment moments[] = {
        {44.0, {0.0f, 0.0f, 0.0f}},
        {44.807, {0.7f, 0.0f, 0.0f}},
        {48.5, {0.0f, 0.6995846f, 0.9765077f}},
        {56.0, {0.0f, 0.6303539f, 0.0f}},         // beat 4 (55.383923088) lit group 1
        {59.5, {0.7457385f, 0.0f, 0.0f}},         // beat 6 (59.076230784)
        {70.5, {0.0f, 0.7918923f, 0.0f}},         // beat 10 (70.153153872)
        {73.0, {0.0f, 0.0f, 0.3995846f}},         // beat 11 (71.99930772)
    };
    std::vector<double> flashTimes(3, 0.0);
    for (const Moment& m : moments) {
        updateFlashTimes(m.time, helixBeatTimes(), flashTimes);
        for (int g = 0; g < 3; ++g)
            EXPECT_NEAR(rungLevel(m.time, flashTimes[size_t(g)]), m.levels[g], 1e-5f) << m.time << " group " << g;
    }
}

TEST(WrittenExpectations, PictureOverPictureExtent) {
    EXPECT_EQ(relativeExtent(1.0f, 1024, 256), 4.0f);  // a 256 tile over a 1024 x 512 logo: 4 across
    EXPECT_EQ(relativeExtent(1.0f, 512, 256), 2.0f);   // and 2 down
    EXPECT_EQ(relativeExtent(0.5f, 1024, 256), 2.0f);  // the tile's own extent scales it
    EXPECT_EQ(relativeExtent(1.0f, 1024, 0), 0.0f);    // a picture that failed to load: 0, not x/0
}
