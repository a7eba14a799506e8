// Rendering the score: sample-accurate timing, the soundtrack's structure (accents on the helix
// beats, triplet hits, length), determinism, stereo, and the master's guarantees. Renders stay
// short excerpts so the suite is quick under the sanitizers; only the accents' check renders the
// whole drop, because the master's reaction to an accent depends on the music around it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <sstream>

#include "synth/dsp.h"
#include "synth/master.h"
#include "synth/mixer.h"
#include "synth/onset_meter.h"
#include "synth/score_parser.h"
#include "synth/soundtrack.h"

using namespace Quorvel::Synth;

namespace {

Score parseOrFail(const std::string& text) {
    std::istringstream in(text);
    ScoreParseResult r = parseScore(in);
    EXPECT_TRUE(r.errors.empty()) << formatErrors(r.errors);
    return r.score;
}

size_t firstNonZero(const std::vector<float>& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] != 0.0f) return i;
    return s.size();
}

// Every kind of instrument and effect, a few beats long.
const char* kSmallScore = R"(
tempo 130
length 8
instrument kick  kick
instrument snare snare reverb=0.3
instrument hat   hat pan=0.4
instrument crash crash
instrument clap  clap
instrument wind  sweep cutoff=800
instrument pad   poly unison=5 detune=0.2 chorus=0.5 duck=0.7 reverb=0.4 delay=0.3
instrument bell  fm ratio=3 index=4 pan=-0.5
pattern beat 4
  steps 1/4 X...X...X...X...
end
pattern chord 4
  0 A3+C4+E4 3
  arp 0 4 1/4 A4+C5+E5 updown
end
play kick  0 beat x2
play snare 1 beat
play hat   0 beat x2
play crash 0 beat
play clap  2 beat
play wind  0 beat
play pad   0 chord x2
play bell  2+1/3 chord
auto pad cutoff 0 300 8 4000
)";

}  // namespace

TEST(Render, NotesStartOnTheirExactSample) {
    const std::pair<const char*, double> starts[] = {
        {"0", 0.0}, {"1", 1.0}, {"3+1/3", 3.0 + 1.0 / 3.0}, {"5+2/3", 5.0 + 2.0 / 3.0}, {"7.25", 7.25}};
    for (const auto& [written, beat] : starts) {
        std::ostringstream text;
        text << "tempo 130\nlength 10\ninstrument tone poly wave=noise attack=0 cutoff=20000\n"
             << "pattern one 1\n  0 A4 1\nend\nplay tone " << written << " one\n";
        const Score score = parseOrFail(text.str());
        const StereoBuffer b = renderMix(score, 0.0, 10.0);
        const size_t expected = size_t(std::llround(beat * 60.0 / 130.0 * 44100.0));
        EXPECT_EQ(firstNonZero(b.left), expected) << "beat " << beat;
        EXPECT_EQ(beatToSample(beat, 130.0, 44100), int64_t(expected));
    }
}

TEST(Render, APlayedNoteSoundsAtItsPitch) {
    const Score score = parseOrFail(
        "tempo 120\nlength 4\ninstrument tone poly wave=sine attack=0.001 sustain=1 cutoff=20000\n"
        "pattern one 4\n  0 A3 4\nend\nplay tone 0 one\n");
    const StereoBuffer b = renderMix(score, 0.5, 3.5);  // inside the held note
    int crossings = 0;
    for (size_t i = 1; i < b.left.size(); ++i) crossings += b.left[i - 1] < 0.0f && b.left[i] >= 0.0f;
    EXPECT_NEAR(crossings / (double(b.left.size()) / 44100.0), 220.0, 1.0);
}

TEST(Render, SameScoreGivesTheSameSamplesEveryTime) {
    const Score score = parseOrFail(kSmallScore);
    const StereoBuffer a = renderMix(score, 0.0, 8.0);
    const StereoBuffer b = renderMix(score, 0.0, 8.0);
    ASSERT_EQ(a.left.size(), b.left.size());
    EXPECT_TRUE(a.left == b.left);
    EXPECT_TRUE(a.right == b.right);
    // The excerpt is real stereo, finite, and not silent.
    double difference = 0.0, energy = 0.0;
    for (size_t i = 0; i < a.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(a.left[i]) && std::isfinite(a.right[i]));
        difference += std::fabs(a.left[i] - a.right[i]);
        energy += std::fabs(a.left[i]);
    }
    EXPECT_GT(energy, 100.0);
    EXPECT_GT(difference, 0.05 * energy);
}

TEST(Render, ExcerptsAreCutFromTheSameTimeline) {
    const Score score = parseOrFail(kSmallScore);
    const StereoBuffer whole = renderMix(score, 0.0, 8.0);
    const StereoBuffer tail = renderMix(score, 4.0, 8.0);
    const size_t offset = size_t(beatToSample(4.0, 130.0, 44100));
    ASSERT_EQ(tail.left.size(), whole.left.size() - offset);
    for (size_t i = 0; i < tail.left.size(); i += 97) ASSERT_EQ(tail.left[i], whole.left[i + offset]) << i;
}

TEST(Master, KeepsUnderTheCeilingRemovesDcAndFades) {
    StereoBuffer b;
    b.left.assign(44100 * 4, 0.0f);
    b.right.assign(b.left.size(), 0.0f);
    for (size_t i = 0; i < b.left.size(); ++i) {
        b.left[i] = 0.3f + 2.0f * float(std::sin(i * 0.05));  // offset and far too loud
        b.right[i] = 1.5f * float(std::sin(i * 0.031));
    }
    b.left[1000] = std::numeric_limits<float>::quiet_NaN();
    b.right[2000] = -std::numeric_limits<float>::infinity();
    AutomationLane fade;
    fade.parameter = "gain";
    fade.points = {{0.0, 0.0}, {4.0, 0.0}, {6.0, -90.0}};  // beats at 120 BPM: silent from 3 s
    MasterSettings settings;
    settings.normalize = false;
    masterMix(b, settings, &fade, 120.0);
    const float ceiling = dbToGain(settings.ceilingDb);
    double mean = 0.0;
    for (size_t i = 0; i < b.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(b.left[i]) && std::isfinite(b.right[i])) << i;
        ASSERT_LE(std::fabs(b.left[i]), ceiling);
        ASSERT_LE(std::fabs(b.right[i]), ceiling);
        if (i > 22050 && i < 88200) mean += b.left[i];
    }
    EXPECT_LT(std::fabs(mean / (88200 - 22050)), 0.01);
    for (size_t i = 3 * 44100 + 100; i < b.left.size(); ++i) ASSERT_EQ(b.left[i], 0.0f);
}

TEST(Soundtrack, ScoreIsValidAndLastsTheProgramme) {
    const Score score = soundtrackScore();
    EXPECT_EQ(score.tempo, 130.0);
    const double seconds = score.lengthBeats * score.secondsPerBeat();
    EXPECT_NEAR(seconds, 172.0, 0.01);
    ASSERT_NE(score.lane(-1, "gain"), nullptr);
    EXPECT_LE(score.lane(-1, "gain")->valueAt(score.lengthBeats - 0.5), -80.0);  // faded out before the end
    EXPECT_EQ(score.lane(-1, "gain")->valueAt(300.0), 0.0);
}

TEST(Soundtrack, HelixBeatsTripletCutsAndFinalHitsAreInTheScore) {
    const Score score = soundtrackScore();
    const int stab = score.instrumentIndex("stab");
    const int crash = score.instrumentIndex("crash");
    ASSERT_GE(stab, 0);
    ASSERT_GE(crash, 0);
    const std::vector<NoteEvent> events = expandEvents(score);
    auto has = [&](int instrument, double beat) {
        for (const NoteEvent& e : events)
            if (e.instrument == instrument && std::fabs(e.beat - beat) < 1e-9) return true;
        return false;
    };
    for (int beat : {96, 104, 105, 112, 120, 124, 128, 136, 137, 144, 152, 156})
        EXPECT_TRUE(has(stab, beat)) << "no accent on helix beat " << beat;
    // Scene changes and the face's morphs sit on triplets: 74, 94, 134, 154, 164 and 166 s.
    for (double beat : {160.0 + 1.0 / 3, 203.0 + 2.0 / 3, 290.0 + 1.0 / 3, 333.0 + 2.0 / 3, 355.0 + 1.0 / 3,
                        359.0 + 2.0 / 3})
        EXPECT_TRUE(has(crash, beat)) << "no hit on beat " << beat;
    EXPECT_NEAR(beatToSample(355.0 + 1.0 / 3, 130.0, 44100) / 44100.0, 164.0, 1e-3);
    EXPECT_NEAR(beatToSample(359.0 + 2.0 / 3, 130.0, 44100) / 44100.0, 166.0, 1e-3);
    // The intro has no kick: nothing of it before beat 28.
    for (const NoteEvent& e : events) {
        if (e.instrument == score.instrumentIndex("kick")) {
            EXPECT_GE(e.beat, 28.0);
        }
    }
}

TEST(Soundtrack, OpeningRendersDeterministically) {
    const Score score = soundtrackScore();
    const StereoBuffer a = renderMix(score, 0.0, 6.0);
    const StereoBuffer b = renderMix(score, 0.0, 6.0);
    EXPECT_TRUE(a.left == b.left && a.right == b.right);
    EXPECT_FALSE(a.left == a.right);
}

// The drop rendered and mastered on its own (the drop as qvl_accent_table --drop sees it): every
// accent of the helix beat table must start clearly harder than the plain beats in the top end
// and in the low end, through the glue and the limiter, and the plain beat after an accent must
// not sink while the master recovers from it. Margins sit under what the score reaches (2.8 dB
// treble, 3.4 dB bass at the weakest) so a change that gives an accent away shows here.
TEST(Soundtrack, HelixAccentsStandOutInTrebleAndBassAfterTheMaster) {
    const Score score = soundtrackScore();
    constexpr double kFrom = 92.0, kTo = 162.0;
    StereoBuffer drop = renderMix(score, kFrom, kTo);
    masterMix(drop, MasterSettings{}, nullptr, score.tempo);

    const std::vector<double> accents = {96, 104, 105, 112, 120, 124, 128, 136, 137, 144, 152, 156};
    std::vector<double> beats;
    for (double b = 96.0; b < 160.0; b += 1.0) beats.push_back(b);
    const std::vector<AccentContrast> treble =
        contrastAccents(beats, measureOnsets(drop, kFrom, beats, score.tempo, {2000.0, 16000.0}), accents);
    const std::vector<AccentContrast> bass =
        contrastAccents(beats, measureOnsets(drop, kFrom, beats, score.tempo, {40.0, 250.0}), accents);
    ASSERT_EQ(treble.size(), accents.size());
    ASSERT_EQ(bass.size(), accents.size());
    for (size_t i = 0; i < accents.size(); ++i) {
        EXPECT_GT(treble[i].onsetExcessDb, 2.0) << "treble onset of the accent on beat " << accents[i];
        EXPECT_GT(bass[i].onsetExcessDb, 2.5) << "bass onset of the accent on beat " << accents[i];
    }

    const std::set<double> accentSet(accents.begin(), accents.end());
    const std::vector<BeatOnset> whole =
        measureOnsets(drop, kFrom, beats, score.tempo, {20.0, 20000.0}, {0.05, 0.45});
    std::vector<double> afterAccent, otherPlain;
    for (size_t i = 0; i < beats.size(); ++i) {
        if (accentSet.count(beats[i])) continue;
        (accentSet.count(beats[i] - 1.0) ? afterAccent : otherPlain).push_back(whole[i].levelDb);
    }
    ASSERT_FALSE(afterAccent.empty());
    EXPECT_NEAR(medianOf(afterAccent), medianOf(otherPlain), 0.5) << "plain beats after an accent";
}
