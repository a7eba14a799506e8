// The onset meter: a hit shows in its own band and not in the other, an accent is told from the
// plain beats by the median, and beats whose windows leave the buffer are not made up.
#include <gtest/gtest.h>

#include <cmath>

#include "synth/dsp.h"
#include "synth/onset_meter.h"
#include "synth/score.h"

using namespace Quorvel::Synth;

namespace {

const OnsetBand kTreble{2000.0, 16000.0}, kBass{40.0, 250.0};

// Eight beats at 120 BPM of a quiet bed of noise, with a decaying hit on every beat: a low sine
// thump on the beats in `lowHits`, a 6 kHz ping on those in `highHits`, each with its gain.
StereoBuffer beatsWithHits(const std::vector<std::pair<int, float>>& lowHits,
                           const std::vector<std::pair<int, float>>& highHits) {
    StereoBuffer b;
    b.left.assign(size_t(beatToSample(8.0, 120.0, 44100)), 0.0f);
    Noise bed(7);
    for (float& s : b.left) s = 0.02f * bed.next();
    for (const auto& [beat, gain] : lowHits) {
        const size_t at = size_t(beatToSample(beat, 120.0, 44100));
        for (size_t i = 0; i < 8000 && at + i < b.left.size(); ++i)
            b.left[at + i] += gain * float(std::exp(-double(i) / 3000.0) * std::sin(kTwoPi * 80.0 * i / 44100.0));
    }
    for (const auto& [beat, gain] : highHits) {
        const size_t at = size_t(beatToSample(beat, 120.0, 44100));
        for (size_t i = 0; i < 4000 && at + i < b.left.size(); ++i)
            b.left[at + i] += gain * float(std::exp(-double(i) / 1500.0) * std::sin(kTwoPi * 6000.0 * i / 44100.0));
    }
    b.right = b.left;
    return b;
}

}  // namespace

TEST(OnsetMeter, AHitShowsInItsOwnBandOnly) {
    const StereoBuffer low = beatsWithHits({{2, 0.5f}}, {});
    const StereoBuffer high = beatsWithHits({}, {{2, 0.5f}});
    const std::vector<double> beats = {2.0};
    EXPECT_GT(measureOnsets(low, 0.0, beats, 120.0, kBass)[0].onsetDb, 20.0);
    EXPECT_LT(std::fabs(measureOnsets(low, 0.0, beats, 120.0, kTreble)[0].onsetDb), 3.0);
    EXPECT_GT(measureOnsets(high, 0.0, beats, 120.0, kTreble)[0].onsetDb, 20.0);
    EXPECT_LT(std::fabs(measureOnsets(high, 0.0, beats, 120.0, kBass)[0].onsetDb), 3.0);
    // Twice the hit over the same bed: 6 dB more level and 6 dB more onset.
    const StereoBuffer louder = beatsWithHits({{2, 1.0f}}, {});
    const BeatOnset a = measureOnsets(low, 0.0, beats, 120.0, kBass)[0];
    const BeatOnset b = measureOnsets(louder, 0.0, beats, 120.0, kBass)[0];
    EXPECT_NEAR(b.levelDb - a.levelDb, 6.0, 0.2);
    EXPECT_NEAR(b.onsetDb - a.onsetDb, 6.0, 0.5);
}

TEST(OnsetMeter, BufferStartingLaterAndBeatsOutsideIt) {
    const StereoBuffer whole = beatsWithHits({{3, 0.5f}}, {});
    StereoBuffer tail = whole;
    const size_t cut = size_t(beatToSample(2.0, 120.0, 44100));
    tail.left.erase(tail.left.begin(), tail.left.begin() + long(cut));
    tail.right.erase(tail.right.begin(), tail.right.begin() + long(cut));
    const std::vector<double> beats = {2.0, 3.0, 7.99};
    const std::vector<BeatOnset> fromWhole = measureOnsets(whole, 0.0, beats, 120.0, kBass);
    const std::vector<BeatOnset> fromTail = measureOnsets(tail, 2.0, beats, 120.0, kBass);
    EXPECT_NEAR(fromTail[1].onsetDb, fromWhole[1].onsetDb, 0.5);  // filters settle before the hit
    // Beat 2 has no "before" in the tail and beat 7.99 no "after" in either: left silent.
    EXPECT_EQ(fromTail[0].levelDb, -200.0);
    EXPECT_EQ(fromWhole[2].levelDb, -200.0);
    EXPECT_EQ(fromWhole[2].onsetDb, 0.0);
}

TEST(OnsetMeter, AccentsAreMeasuredAgainstTheMedianOfThePlainBeats) {
    // Every beat has a thump; beats 2 and 5 are accented with a bigger one, and beat 6 is an
    // outlier among the plain beats that the median must not follow.
    const StereoBuffer b = beatsWithHits({{1, 0.2f}, {2, 0.8f}, {3, 0.2f}, {4, 0.2f}, {5, 0.1f}, {6, 0.9f}}, {});
    const std::vector<double> beats = {1, 2, 3, 4, 5, 6};
    const std::vector<BeatOnset> onsets = measureOnsets(b, 0.0, beats, 120.0, kBass);
    const std::vector<AccentContrast> c = contrastAccents(beats, onsets, {2, 5});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].beat, 2.0);
    EXPECT_NEAR(c[0].levelExcessDb, 20.0 * std::log10(0.8 / 0.2), 0.5);
    EXPECT_GT(c[0].onsetExcessDb, 6.0);
    EXPECT_NEAR(c[1].levelExcessDb, -6.0, 0.5);  // a weak accent reads as one
    EXPECT_LT(c[1].onsetExcessDb, 0.0);
    EXPECT_TRUE(contrastAccents(beats, onsets, beats).empty());  // nothing plain to compare with
}

TEST(OnsetMeter, Median) {
    EXPECT_EQ(medianOf({}), 0.0);
    EXPECT_EQ(medianOf({3.0, -1.0, 2.0}), 2.0);
    EXPECT_EQ(medianOf({4.0, 1.0, 3.0, 2.0}), 2.5);
}
