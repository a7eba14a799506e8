// The spectrum line without GL: silence and DC stay flat, one bin lights only its band, the
// stereo channel follows the window start's parity, band positions, and windows that hang
// over either end of a short track (read as silence there, never outside the PCM).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "runtime/spectrum_analyser.h"
#include "runtime/spectrum_bands.h"

using namespace Quorvel;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The build folder's soundtrack, with its PCM replaced by the test's samples.
class Analyser : public ::testing::Test {
protected:
    MusicTrack track{MusicTrack::Silent{}};
    void usePcm(const std::vector<std::int16_t>& samples, ALenum format, std::int32_t rate = 44100) {
        track.pcm.resize(samples.size() * 2);
        if (!samples.empty()) std::memcpy(track.pcm.data(), samples.data(), track.pcm.size());
        track.format = format;
        track.frequency = rate;
    }
    static std::vector<float> heightsOf(const SpectrumAnalyser& a) {
        std::vector<float> z;
        for (int entry = 0; entry < 124; ++entry) z.push_back(a.vertices[size_t(3 * entry + 2)]);
        return z;
    }
};

}  // namespace

TEST_F(Analyser, SilenceAndAConstantGiveFlatLines) {
    for (std::int16_t level : {std::int16_t(0), std::int16_t(12000)}) {
        usePcm(std::vector<std::int16_t>(44100, level), AL_FORMAT_MONO16);
        SpectrumAnalyser analyser(track);
        analyser.compute(0.5);
        for (float z : heightsOf(analyser)) EXPECT_NEAR(z, 0.0f, 1e-6f) << "level " << level;
        for (size_t i = 1; i < analyser.vertices.size(); i += 3) EXPECT_EQ(analyser.vertices[i], 0.0f);
    }
}

TEST_F(Analyser, ASineOnOneBinOfBandFiveLiftsOnlySegmentsFourAndFive) {
    const int bin = 170;  // band 5 covers bins 160 to 191
    std::vector<std::int16_t> samples(44100);
    for (size_t n = 0; n < samples.size(); ++n)
        samples[n] = std::int16_t(std::lround(8000.0 * std::sin(2.0 * kPi * bin * double(n) / 2048.0)));
    usePcm(samples, AL_FORMAT_MONO16);
    SpectrumAnalyser analyser(track);
    analyser.compute(0.5);
    const std::vector<float> z = heightsOf(analyser);
    float lifted = 0.0f;
    for (int entry = 18; entry < 22; ++entry) lifted = std::max(lifted, z[size_t(entry)]);
    // ln(1 + 5/32) x mean |X_k| (8000/16384 x 1024 / 32) x 1.2 x 0.8^(1/4), worked out by hand.
    EXPECT_NEAR(lifted, 2.5745f, 0.005f);
    for (int entry = 0; entry < 124; ++entry) {
        if (entry >= 18 && entry < 22) continue;
        EXPECT_LT(std::abs(z[size_t(entry)]), lifted * 1e-3f) << "entry " << entry;
    }
    // Segment 4 ends at band 5 (entries 18, 19), segment 5 starts there (entries 20, 21).
    EXPECT_EQ(z[18], lifted);
    EXPECT_EQ(z[20], lifted);
    // The normals carry the other end and the mirrored end of each segment.
    EXPECT_EQ(analyser.normals[3 * 16 + 2], lifted);
    EXPECT_EQ(analyser.normals[3 * 21 + 2], -z[25]);
    EXPECT_FLOAT_EQ(analyser.normals[3 * 21], -1.0f - 2.0f * 6.0f / 31.0f);
}

TEST_F(Analyser, StereoTakesTheChannelTheWindowStartsOn) {
    // Left carries a tone, right is silent.
    std::vector<std::int16_t> samples(2 * 44100, 0);
    for (size_t n = 0; n < 44100; ++n) samples[2 * n] = std::int16_t(8000.0 * std::sin(2.0 * kPi * 200.0 * n / 2048.0));
    usePcm(samples, AL_FORMAT_STEREO16);
    SpectrumAnalyser analyser(track);
    analyser.compute((2048.0 + 10000.0) / 44100.0);  // s0 = 20000: even, left
    EXPECT_GT(analyser.vertices[3 * 24 + 2], 1.0f);
    analyser.compute((2048.0 + 10000.5) / 44100.0);  // s0 = 20001: odd, right
    for (float v : analyser.samples) ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(windowStart(44100.0, (2048.0 + 10000.5) / 44100.0, 2048, 2), 20001);
}

TEST(SpectrumBands, PositionsRunFromMinusOneToOneAndMirror) {
    EXPECT_EQ(bandX(0, 32), -1.0f);
    EXPECT_EQ(bandX(31, 32), 1.0f);
    EXPECT_EQ(bandX(1, 32), -0.935483873f);
    EXPECT_EQ(bandX(30, 32), 0.935483873f);
    EXPECT_EQ(bandXMirror(0, 32), -1.0f);
    EXPECT_EQ(bandXMirror(31, 32), -3.0f);
}

TEST(SpectrumBands, WeightsAndLogFactorFollowTheBand) {
    // Every bin of the first two bands at magnitude 1 (real part only).
    std::vector<float> spectrum(2048, 0.0f);
    for (int k = 0; k < 1024; ++k) spectrum[size_t(k)] = 1.0f;
    spectrum[1024] = 0.0f;  // Re X_{N/2}: pairs with bin 0
    float magnitudes[1024], heights[32];
    bandHeights(spectrum.data(), 2048, BandWeights(32), magnitudes, heights);
    EXPECT_EQ(heights[0], 0.0f);  // ln(1) = 0 whatever its weight
    EXPECT_NEAR(heights[1], std::log(1.0 + 1.0 / 32.0) * 1.2 * 0.9457416, 1e-6);
    EXPECT_NEAR(heights[31], std::log(1.0 + 31.0 / 32.0) * 1.2 * 0.9457416, 1e-6);
}

TEST_F(Analyser, WindowsOverEitherEndOfAShortTrackReadSilenceThere) {
    std::vector<std::int16_t> samples(1000, 16384);  // 1000 frames, value 1.0
    usePcm(samples, AL_FORMAT_MONO16);
    SpectrumAnalyser analyser(track);
    // Ends 500 frames into the track: the first 1548 values are before it.
    analyser.compute(500.0 / 44100.0);
    EXPECT_EQ(analyser.samples[1547], 0.0f);
    EXPECT_EQ(analyser.samples[1548], 1.0f);
    EXPECT_EQ(analyser.samples[2047], 1.0f);
    // Far before, far after, and times no window can be placed at: silence, no crash.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double time : {-5.0, 0.0, 1000.0, 1e300, -1e300, nan, inf, -inf}) {
        analyser.compute(time);
        for (float v : analyser.samples) ASSERT_EQ(v, 0.0f) << "at " << time;
    }
    // A track with no samples at all, and one without a rate.
    usePcm({}, AL_FORMAT_STEREO16);
    analyser.compute(80.0);
    usePcm(samples, AL_FORMAT_MONO16, 0);
    analyser.compute(80.0);
    for (float v : analyser.samples) EXPECT_EQ(v, 0.0f);
}
