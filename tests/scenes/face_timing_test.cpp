// The face scene's clock and morph against numbers worked out by hand: the cut at 154 s, the
// tilt, the credits' swing, the morph weights, and a morph that never depends on the last frame.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "scenes/face_timing.h"

using namespace Quorvel::Ostrel;

TEST(FaceTiming, CutsToTheSecondPhaseAt154Seconds) {
    const FacePhase before = facePhase(153.99 - 134.0), after = facePhase(154.0 - 134.0);
    EXPECT_FALSE(before.second);
    EXPECT_NEAR(before.d, 19.99, 1e-9);
    EXPECT_TRUE(after.second);
    EXPECT_EQ(after.d, 21.0);
    EXPECT_EQ(faceLight(before.d)[0], -1.0f);
    EXPECT_EQ(faceLight(after.d)[0], 1.0f);
    EXPECT_EQ(sinkHeight(0.0), 5.8f);
}

TEST(FaceTiming, SecondCameraTiltsDownToFrontal) {
    EXPECT_FLOAT_EQ(tiltRadians(facePhase(20.0).d), 1.1f);   // 154 s
    EXPECT_FLOAT_EQ(tiltRadians(facePhase(26.0).d), 0.5f);   // 160 s
    EXPECT_EQ(tiltRadians(facePhase(31.0).d), 0.0f);         // 165 s
    EXPECT_EQ(tiltRadians(facePhase(35.0).d), 0.0f);
}

TEST(FaceTiming, CreditsSwingFrom90To20Degrees) {
    EXPECT_EQ(creditsDegrees(136.0 - 134.0), 90.0f);
    EXPECT_EQ(creditsDegrees(137.0 - 134.0), 60.0f);
    EXPECT_EQ(creditsDegrees(138.34 - 134.0), 20.0f);
    EXPECT_GT(creditsDegrees(138.3 - 134.0), 20.0f);
    EXPECT_EQ(creditsDegrees(19.0), 20.0f);
}

TEST(FaceTiming, MorphLandsOnTheHitsAt164And166Seconds) {
    auto at = [](double time) { return facePhase(time - 134.0).d; };
    EXPECT_EQ(morphWeight(at(163.9)), 0.0f);
    EXPECT_NEAR(morphWeight(at(164.5)), 0.35f, 1e-6f);
    EXPECT_EQ(snapWeight(at(164.5)), 0.0f);
    EXPECT_EQ(morphWeight(at(165.5)), 1.0f);
    EXPECT_NEAR(snapWeight(at(166.05)), 0.5f, 1e-5f);
    EXPECT_EQ(snapWeight(at(166.1)), 1.0f);
    EXPECT_EQ(snapWeight(at(169.9)), 1.0f);
    // The older face's shading follows its shape in, and hands over to the machine's at the snap.
    EXPECT_EQ(agedWeight(at(163.9)), 0.0f);
    EXPECT_NEAR(agedWeight(at(164.5)), 0.35f, 1e-6f);
    EXPECT_EQ(agedWeight(at(165.9)), 1.0f);
    EXPECT_NEAR(agedWeight(at(166.05)), 0.5f, 1e-5f);
    EXPECT_EQ(agedWeight(at(166.1)), 0.0f);

    const std::vector<float> base{0.0f, 1.0f, 2.0f}, second{10.0f, 11.0f, 12.0f}, third{-4.0f, -4.0f, -4.0f};
    std::vector<float> face(3, 99.0f);
    morphFace(base.data(), second.data(), third.data(), 3, 0.35f, 0.0f, face.data());
    EXPECT_NEAR(face[0], 3.5f, 1e-5f);  // 0.35 of the second shape, 0.65 of the base
    const std::vector<float> once = face;
    morphFace(base.data(), second.data(), third.data(), 3, 0.35f, 0.0f, face.data());
    EXPECT_EQ(face, once);  // from the base copy every time, not from the last frame
    morphFace(base.data(), second.data(), third.data(), 3, 1.0f, 0.5f, face.data());
    EXPECT_FLOAT_EQ(face[1], 3.5f);  // halfway between the second and the third shape
    morphFace(base.data(), second.data(), third.data(), 3, 1.0f, 1.0f, face.data());
    EXPECT_EQ(face[2], -4.0f);
}

TEST(FaceTiming, BackgroundScrollsUprightThenMirrors) {
    using Corners = std::array<std::array<float, 2>, 4>;
    // Extents of a picture in larger storage, so a swapped s and t would show.
    const Corners first = backgroundCoordinates(false, 0.0, 0.75f, 0.5f);
    EXPECT_EQ(first, (Corners{{{0.0f, 0.0f}, {0.75f, 0.0f}, {0.75f, -0.25f}, {0.0f, -0.25f}}}));
    const Corners late = backgroundCoordinates(false, 10.5, 0.75f, 0.5f);
    EXPECT_EQ(late, (Corners{{{0.0f, 0.0f}, {0.75f, 0.0f}, {0.75f, -0.5f}, {0.0f, -0.5f}}}));
    EXPECT_NEAR(backgroundCoordinates(false, 19.99, 1.0f, 1.0f)[3][1], -0.976, 1e-3);
    // Mirrored left to right and still: the left edge shows the picture's right edge.
    const Corners second = backgroundCoordinates(true, 21.0, 0.75f, 0.5f);
    EXPECT_EQ(second, (Corners{{{0.75f, 0.0f}, {0.0f, 0.0f}, {0.0f, -0.25f}, {0.75f, -0.25f}}}));
    EXPECT_EQ(backgroundCoordinates(true, 35.0, 0.75f, 0.5f), second);
}

// Beat n of 130 BPM falls at n * 6 / 13 s of demo time: 312 at 144 s, 347 at 2082 / 13 s.
TEST(FaceEffectsTiming, BeatFollowsTheMusicInBothPhases) {
    EXPECT_NEAR(beatPhase(144.0), 0.0f, 1e-6f);
    EXPECT_NEAR(beatPhase(144.0 + 3.0 / 13.0), 0.5f, 1e-5f);
    EXPECT_NEAR(beatPhase(144.0 - 0.6 / 13.0), 0.9f, 1e-5f);
    EXPECT_NEAR(moteBeatGlow(144.0), 1.0f, 1e-6f);
    EXPECT_NEAR(moteBeatGlow(144.0 + 3.0 / 13.0), 0.6109f, 1e-4f);  // 0.55 + 0.45 e^-2
    // After the cut the local time runs a second ahead; the beat must not.
    const double onBeat = 2082.0 / 13.0;
    const FacePhase b = facePhase(onBeat - 134.0);
    ASSERT_TRUE(b.second);
    EXPECT_NEAR(faceEffects(onBeat, b.d).beat, 0.0f, 1e-5f);
    EXPECT_NEAR(faceEffects(onBeat, b.d).moteGlow, 1.0f, 1e-4f);
    const FacePhase a = facePhase(144.0 - 134.0);
    EXPECT_NEAR(faceEffects(144.0, a.d).beat, 0.0f, 1e-6f);
    for (double time = 134.0; time < 170.0; time += 0.0731) {
        const float phase = beatPhase(time);
        ASSERT_TRUE(phase >= 0.0f && phase < 1.0f) << time;
    }
}

TEST(FaceEffectsTiming, WipeSweepsFromTheMastPastTheCreditsThenGoes) {
    auto d = [](double time) { return facePhase(time - 134.0).d; };
    EXPECT_EQ(wipeFront(d(134.0)), -0.55f);
    EXPECT_EQ(wipeFront(d(137.1)), -0.55f);
    EXPECT_NEAR(wipeFront(d(137.8)), 1.875f, 1e-5f);  // halfway, eased
    EXPECT_GT(wipeFront(d(137.3)), -0.55f);
    EXPECT_LT(wipeFront(d(137.3)), 0.5f);
    EXPECT_EQ(wipeFront(d(138.5)), 4.3f);
    EXPECT_EQ(wipeFront(d(139.0)), 4.3f);
    // The front glows while it moves, dark before and after.
    EXPECT_EQ(wipeGlow(d(136.9)), 0.0f);
    EXPECT_NEAR(wipeGlow(d(137.15)), 0.5f, 1e-5f);
    EXPECT_EQ(wipeGlow(d(137.8)), 1.0f);
    EXPECT_NEAR(wipeGlow(d(138.4)), 0.5f, 1e-5f);
    EXPECT_EQ(wipeGlow(d(138.7)), 0.0f);
    // The mask stands until d = 5, never in phase B; the box only in phase B.
    EXPECT_TRUE(creditsMaskInForce(d(134.0)));
    EXPECT_TRUE(creditsMaskInForce(d(139.0)));
    EXPECT_FALSE(creditsMaskInForce(d(139.1)));
    EXPECT_FALSE(creditsMaskInForce(d(160.0)));
    EXPECT_FALSE(creditsBoxInForce(d(134.0)));
    EXPECT_FALSE(creditsBoxInForce(d(153.99)));
    EXPECT_TRUE(creditsBoxInForce(d(154.0)));
    EXPECT_TRUE(creditsBoxInForce(d(169.99)));
}

TEST(FaceEffectsTiming, FadeToBlackFrom166Point3To169Point85Seconds) {
    auto d = [](double time) { return facePhase(time - 134.0).d; };
    EXPECT_EQ(fadeOpacity(d(134.0)), 0.0f);
    EXPECT_EQ(fadeOpacity(d(153.99)), 0.0f);
    EXPECT_EQ(fadeOpacity(d(166.2)), 0.0f);
    EXPECT_NEAR(fadeOpacity(d(166.3)), 0.0f, 1e-6f);
    EXPECT_GT(fadeOpacity(d(166.4)), 0.0f);
    EXPECT_NEAR(fadeOpacity(d(168.075)), 0.5f, 1e-5f);
    EXPECT_NEAR(fadeOpacity(d(168.0)), 0.4684f, 1e-4f);
    EXPECT_EQ(fadeOpacity(d(169.85)), 1.0f);
    EXPECT_EQ(fadeOpacity(d(169.99)), 1.0f);
    // The motes go out with the picture.
    EXPECT_EQ(faceEffects(169.9, d(169.9)).moteGlow, 0.0f);
    EXPECT_EQ(faceEffects(169.9, d(169.9)).fade, 1.0f);
    const FaceEffects early = faceEffects(140.0, d(140.0));
    EXPECT_EQ(early.fade, 0.0f);
    EXPECT_FLOAT_EQ(early.drift, 6.0f);
    EXPECT_FLOAT_EQ(faceEffects(160.0, d(160.0)).drift, 27.0f);
}
