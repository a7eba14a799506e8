// The face scene's generated pictures as the build wrote them into data/: the credits' size and
// clear border (the scene clamps them), a backdrop that scrolls without a seam, a subtle normal
// map, a probe lit from above and warm from +x, and eyes with a dark pupil in a lit iris.
#include <gtest/gtest.h>

#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/data_picture.h"

namespace {

// Mean of a channel (3 = luma) over a ring of radius r (fraction of the width) about the centre.
double ringMean(const DataPicture& d, double r, int channel) {
    double sum = 0.0;
    for (int i = 0; i < 64; ++i) {
        const double a = i * 6.283185307 / 64.0;
        const unsigned x = unsigned(d.width * (0.5 + r * std::cos(a)));
        const unsigned y = unsigned(d.height * (0.5 + r * std::sin(a)));
        sum += channel == 3 ? d.luma(x, y) : d.at(x, y, channel);
    }
    return sum / 64.0;
}

}  // namespace

TEST(FacePictures, SizesAndOpacity) {
    const DataPicture credits = decodeDataPicture("credits.png");
    EXPECT_GE(credits.width, 1300u);
    EXPECT_LE(credits.width, 1600u);
    EXPECT_GE(credits.height, 800u);
    EXPECT_LE(credits.height, 1000u);
    struct Expected { const char* name; unsigned width, height; };
    for (const Expected& e : {Expected{"face_bg.png", 1024, 1024}, Expected{"face_normal.png", 1024, 1024},
                              Expected{"face_lightprobe.png", 512, 256}, Expected{"face_eyes.png", 256, 256}}) {
        const DataPicture d = decodeDataPicture(e.name);
        ASSERT_EQ(d.width, e.width) << e.name;
        ASSERT_EQ(d.height, e.height) << e.name;
        int translucent = 0;
        for (size_t i = 3; i < d.rgba.size(); i += 4) translucent += d.rgba[i] != 255;
        EXPECT_EQ(translucent, 0) << e.name;
    }
}

TEST(FacePictures, CreditsHaveAClearBorderAndSolidText) {
    const DataPicture d = decodeDataPicture("credits.png");
    ASSERT_GT(d.width, 4u);
    int solid = 0;
    for (unsigned y = 0; y < d.height; ++y)
        for (unsigned x = 0; x < d.width; ++x) {
            if (x < 2 || y < 2 || x + 2 >= d.width || y + 2 >= d.height) {
                ASSERT_EQ(d.at(x, y, 3), 0) << "at " << x << "," << y;
            }
            // Where the glyphs are solid the colour is the warm off-white, not the glow.
            if (d.at(x, y, 3) == 255) {
                ++solid;
                EXPECT_NEAR(d.at(x, y, 0), 0xf2, 6) << "at " << x << "," << y;
            }
        }
    EXPECT_GT(solid, 40000);
}

TEST(FacePictures, BackgroundScrollsWithoutASeamAndStaysDark) {
    const DataPicture d = decodeDataPicture("face_bg.png");
    const double inside = lineDifference(d, false, 500, 501, 3);
    EXPECT_LT(lineDifference(d, false, d.height - 1, 0, 3), inside * 2.0 + 1.0);
    double sum = 0.0;
    for (unsigned y = 0; y < d.height; ++y)
        for (unsigned x = 0; x < d.width; ++x) sum += d.luma(x, y);
    EXPECT_LT(sum / (d.width * d.height), 30.0);
}

TEST(FacePictures, NormalMapIsNearlyFlatOnAverageAndRepeatsAroundTheHead) {
    const DataPicture d = decodeDataPicture("face_normal.png");
    double mean[3] = {0.0, 0.0, 0.0}, tilt = 0.0;
    for (unsigned y = 0; y < d.height; ++y)
        for (unsigned x = 0; x < d.width; ++x) {
            double n[3];
            for (int c = 0; c < 3; ++c) mean[c] += d.at(x, y, c), n[c] = d.at(x, y, c) / 127.5 - 1.0;
            tilt += std::atan2(std::hypot(n[0], n[1]), n[2]);
        }
    const double count = double(d.width) * d.height;
    EXPECT_NEAR(mean[0] / count, 127.5, 2.0);
    EXPECT_NEAR(mean[1] / count, 127.5, 2.0);
    EXPECT_GT(mean[2] / count, 250.0);
    const double meanTiltDegrees = tilt / count * 57.2958;
    EXPECT_GT(meanTiltDegrees, 0.5) << "no detail";
    EXPECT_LT(meanTiltDegrees, 8.0) << "too rough for skin";
    // A relief that did not repeat around the head would step at the seam, and that step would
    // tilt the normals of the first and last columns steeply towards u.
    const auto tiltAlongU = [&d](unsigned x) {
        double sum = 0.0;
        for (unsigned y = 0; y < d.height; ++y) sum += std::abs(d.at(x, y, 0) - 127.5);
        return sum / d.height;
    };
    double typical = 0.0;
    for (unsigned x = 0; x < d.width; ++x) typical += tiltAlongU(x) / d.width;
    EXPECT_LT((tiltAlongU(0) + tiltAlongU(d.width - 1)) / 2.0, typical * 1.2);
}

TEST(FacePictures, LightProbeIsCoolAboveDarkBelowAndWarmOnPlusX) {
    const DataPicture d = decodeDataPicture("face_lightprobe.png");
    double top = 0.0, bottom = 0.0, topBlue = 0.0, bottomBlue = 0.0, redPlusX = 0.0, redMinusX = 0.0;
    for (unsigned x = 0; x < d.width; ++x) {
        top += d.luma(x, 0), bottom += d.luma(x, d.height - 1);
        topBlue += d.at(x, 0, 2), bottomBlue += d.at(x, d.height - 1, 2);
        // Columns past the middle look towards +x (s = atan2(x, z) / 2 pi + 0.5).
        (x >= d.width / 2 ? redPlusX : redMinusX) += d.at(x, d.height / 2, 0);
    }
    EXPECT_GT(top, bottom * 2.0);
    EXPECT_GT(topBlue, bottomBlue * 2.0);
    EXPECT_GT(redPlusX, redMinusX * 1.5);
    EXPECT_LT(lineDifference(d, true, d.width - 1, 0, 3), 4.0) << "seam behind the head";
}

TEST(FacePictures, EyesHaveADarkPupilInALitIrisInAPaleSclera) {
    const DataPicture d = decodeDataPicture("face_eyes.png");
    const double pupil = d.luma(d.width / 2, d.height / 2), iris = ringMean(d, 0.16, 3), sclera = ringMean(d, 0.32, 3);
    EXPECT_LT(pupil, 20.0);
    EXPECT_GT(iris, pupil + 30.0);
    EXPECT_GT(sclera, iris + 60.0);
    EXPECT_LT(ringMean(d, 0.215, 3), iris) << "no dark limbal ring";
    // The highlight sits up and to the left of the centre.
    double brightest = 0.0;
    for (unsigned y = d.height * 2 / 5; y < d.height / 2; ++y)
        for (unsigned x = d.width * 2 / 5; x < d.width / 2; ++x) brightest = std::max(brightest, d.luma(x, y));
    EXPECT_GT(brightest, 220.0);
}
