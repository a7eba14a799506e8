// Signal-level checks of the synthesizer's building blocks: pitch, envelope stages, filter
// responses, the limiter's ceiling, and that long silences neither go subnormal nor produce NaN.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "synth/delay.h"
#include "synth/dsp.h"
#include "synth/envelope.h"
#include "synth/filter.h"
#include "synth/high_shelf.h"
#include "synth/limiter.h"
#include "synth/loudness.h"
#include "synth/oscillator.h"
#include "synth/reverb.h"
#include "synth/voice.h"

using namespace Quorvel::Synth;

namespace {

constexpr double kRate = 44100.0;

// Upward zero crossings per second of a signal, after removing its mean.
double measureFrequency(const std::vector<float>& s) {
    double mean = 0.0;
    for (float v : s) mean += v;
    mean /= double(s.size());
    int crossings = 0;
    for (size_t i = 1; i < s.size(); ++i)
        if (s[i - 1] - mean < 0.0 && s[i] - mean >= 0.0) ++crossings;
    return crossings * kRate / double(s.size());
}

double rms(const std::vector<float>& s, size_t from = 0) {
    double sum = 0.0;
    for (size_t i = from; i < s.size(); ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(s.size() - from));
}

std::vector<float> sine(double hz, double amplitude, size_t n) {
    std::vector<float> s(n);
    for (size_t i = 0; i < n; ++i) s[i] = float(amplitude * std::sin(kTwoPi * hz * double(i) / kRate));
    return s;
}

bool isSubnormal(float x) { return std::fpclassify(x) == FP_SUBNORMAL; }

// One hit of a percussion patch (left channel), the track's cutoff held at `cutoff`.
std::vector<float> drumHit(const Patch& patch, float cutoff, size_t n) {
    auto voice = makeVoice(patch, kRate, 11);
    voice->start(60.0, 1.0f, int64_t(n));
    std::vector<float> left(n, 0.0f), right(n, 0.0f);
    VoiceControl control;
    control.cutoff = cutoff;
    for (size_t at = 0; at < n; at += 256) {
        const int count = int(std::min<size_t>(256, n - at));
        voice->render(left.data() + at, right.data() + at, count, control);
    }
    return left;
}

// Share of a signal's energy above `hz` (two high-pass stages, 24 dB per octave).
double energyAbove(std::vector<float> s, double hz) {
    const double total = rms(s);
    Filter a, b;
    for (Filter* f : {&a, &b}) {
        f->setMode(FilterMode::HighPass);
        f->set(hz, 0.0, kRate);
    }
    for (float& v : s) v = b.process(a.process(v));
    return rms(s) / total;
}

}  // namespace

TEST(Oscillator, EveryWaveformRunsAtTheRequestedPitch) {
    for (Wave wave : {Wave::Saw, Wave::Square, Wave::Sine, Wave::Triangle}) {
        for (double hz : {110.0, 440.0, 3520.0}) {
            Oscillator osc(wave);
            osc.setFrequency(hz, kRate);
            std::vector<float> s(static_cast<size_t>(kRate));
            for (float& v : s) v = osc.next();
            EXPECT_NEAR(measureFrequency(s), hz, 1.5) << "wave " << int(wave) << " at " << hz;
        }
    }
}

TEST(Oscillator, BandLimitedSawStaysBoundedNearNyquist) {
    Oscillator osc(Wave::Saw);
    osc.setFrequency(30000.0, kRate);  // clamped below Nyquist, never a runaway step
    for (int i = 0; i < 10000; ++i) {
        const float v = osc.next();
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_LT(std::fabs(v), 2.0f);
    }
}

TEST(Oscillator, MidiNotesMapToConcertPitch) {
    EXPECT_DOUBLE_EQ(midiToHz(69.0), 440.0);
    EXPECT_NEAR(midiToHz(57.0), 220.0, 1e-9);
    EXPECT_NEAR(midiToHz(60.0), 261.6256, 1e-3);
}

TEST(Envelope, WalksThroughAttackDecaySustainRelease) {
    Envelope env;
    env.set(0.01, 0.05, 0.5, 0.1, 1000.0);  // 10 samples of attack at 1 kHz
    EXPECT_FALSE(env.active());
    env.noteOn();
    for (int i = 0; i < 9; ++i) env.next();
    EXPECT_EQ(env.stage(), Envelope::Stage::Attack);
    EXPECT_LT(env.level(), 1.0f);
    env.next();
    EXPECT_FLOAT_EQ(env.level(), 1.0f);
    EXPECT_EQ(env.stage(), Envelope::Stage::Decay);
    for (int i = 0; i < 100; ++i) env.next();
    EXPECT_EQ(env.stage(), Envelope::Stage::Sustain);
    EXPECT_FLOAT_EQ(env.level(), 0.5f);
    env.noteOff();
    EXPECT_EQ(env.stage(), Envelope::Stage::Release);
    for (int i = 0; i < 100; ++i) env.next();
    EXPECT_LT(env.level(), 0.5f * 0.011f);  // 99% of the way down after the release time
    int samples = 100;
    while (env.active() && samples < 1000) env.next(), ++samples;
    EXPECT_FALSE(env.active());
    EXPECT_LE(samples, 300);  // and silent soon after, not an endless tail
    EXPECT_EQ(env.level(), 0.0f);
}

TEST(Envelope, RetriggerStartsFromTheCurrentLevel) {
    Envelope env;
    env.set(0.1, 0.1, 0.8, 0.1, 1000.0);
    env.noteOn();
    for (int i = 0; i < 50; ++i) env.next();
    const float before = env.level();
    env.noteOn();
    EXPECT_GE(env.next(), before);  // no jump back to zero: no click
}

TEST(Filter, LowHighAndBandPassAttenuateWhereTheyShould) {
    auto gainThrough = [](FilterMode mode, double cutoff, double hz) {
        Filter f;
        f.setMode(mode);
        f.set(cutoff, 0.0, kRate);
        std::vector<float> s = sine(hz, 1.0, size_t(kRate / 2));
        for (float& v : s) v = f.process(v);
        return rms(s, s.size() / 2) / (1.0 / std::sqrt(2.0));
    };
    EXPECT_GT(gainThrough(FilterMode::LowPass, 1000.0, 100.0), 0.95);
    EXPECT_LT(gainThrough(FilterMode::LowPass, 1000.0, 10000.0), 0.02);  // 12 dB per octave
    EXPECT_NEAR(gainThrough(FilterMode::LowPass, 1000.0, 1000.0), 0.5, 0.05);  // -6 dB at cutoff, no resonance
    EXPECT_GT(gainThrough(FilterMode::HighPass, 1000.0, 10000.0), 0.95);
    EXPECT_LT(gainThrough(FilterMode::HighPass, 1000.0, 100.0), 0.02);
    EXPECT_GT(gainThrough(FilterMode::BandPass, 1000.0, 1000.0), 0.9);
    EXPECT_LT(gainThrough(FilterMode::BandPass, 1000.0, 50.0), 0.1);
    EXPECT_LT(gainThrough(FilterMode::BandPass, 1000.0, 15000.0), 0.1);
}

TEST(HighShelf, LowersOnlyTheTopAndZeroDbChangesNothing) {
    auto gainThrough = [](float shelfDb, double hz) {
        HighShelf shelf(kRate, 9000.0, shelfDb);
        std::vector<float> s = sine(hz, 1.0, size_t(kRate / 2));
        for (float& v : s) v = shelf.process(v);
        return 20.0 * std::log10(rms(s, s.size() / 2) / (1.0 / std::sqrt(2.0)));
    };
    EXPECT_NEAR(gainThrough(-3.0f, 200.0), 0.0, 0.05);   // bass and mids untouched
    EXPECT_NEAR(gainThrough(-3.0f, 1000.0), 0.0, 0.15);
    EXPECT_LT(gainThrough(-3.0f, 16000.0), -1.5);        // the top goes down, at most by the shelf
    EXPECT_GT(gainThrough(-3.0f, 16000.0), -3.05);
    EXPECT_LT(gainThrough(-3.0f, 16000.0), gainThrough(-3.0f, 6000.0));
    EXPECT_NEAR(gainThrough(0.0f, 16000.0), 0.0, 1e-3);
}

TEST(Filter, ResonanceBoostsTheCutoffAndBadCutoffsStayFinite) {
    Filter f;
    f.set(1000.0, 0.9, kRate);
    std::vector<float> s = sine(1000.0, 1.0, size_t(kRate / 2));
    for (float& v : s) v = f.process(v);
    EXPECT_GT(rms(s, s.size() / 2), 2.0);
    for (double cutoff : {std::numeric_limits<double>::quiet_NaN(), -5.0, 0.0, 1e9}) {
        Filter g;
        g.set(cutoff, 0.5, kRate);
        for (int i = 0; i < 1000; ++i) ASSERT_TRUE(std::isfinite(g.process(i % 2 ? 1.0f : -1.0f)));
    }
}

TEST(Limiter, NothingPassesTheCeilingAndQuietAudioIsUntouched) {
    const float ceiling = dbToGain(-1.0f);
    std::vector<float> left = sine(80.0, 3.0, 44100), right = sine(5000.0, 0.5, 44100);
    left[20000] = 40.0f;  // a lone spike
    right[30000] = -25.0f;
    Limiter limiter(ceiling, 0.0015, 0.1, kRate);
    limiter.processBuffer(left, right);
    for (size_t i = 0; i < left.size(); ++i) {
        ASSERT_LE(std::fabs(left[i]), ceiling) << i;
        ASSERT_LE(std::fabs(right[i]), ceiling) << i;
    }
    std::vector<float> quietL = sine(440.0, 0.3, 4410), quietR = sine(660.0, 0.3, 4410);
    const std::vector<float> originalL = quietL;
    Limiter gentle(ceiling, 0.0015, 0.1, kRate);
    gentle.processBuffer(quietL, quietR);
    for (size_t i = 0; i < quietL.size(); ++i) ASSERT_FLOAT_EQ(quietL[i], originalL[i]) << i;  // latency removed
}

// The gain the limiter applied over [from, to): its lowest and highest, from output over input
// on samples loud enough for the ratio to mean something (the latency is already removed).
std::pair<float, float> appliedGainRange(const std::vector<float>& in, const std::vector<float>& out, size_t from,
                                         size_t to) {
    float lo = 10.0f, hi = 0.0f;
    for (size_t i = from; i < to; ++i) {
        if (std::fabs(in[i]) < 0.1f) continue;
        lo = std::min(lo, out[i] / in[i]);
        hi = std::max(hi, out[i] / in[i]);
    }
    return {lo, hi};
}

TEST(Limiter, ABriefPeakLetsGoAtOnceASustainedOneHoldsASteadyGain) {
    const float ceiling = dbToGain(-1.0f);
    // A tone under the ceiling with a 2 ms burst 11 dB over it: 60 ms later the tone must be back
    // within a decibel, or every hit drags the beat under it down with it.
    const std::vector<float> tone = sine(200.0, 0.3, 44100);
    std::vector<float> left = tone, right = tone;
    for (size_t i = 22050; i < 22050 + 88; ++i) left[i] = right[i] = 12.0f * tone[i];
    Limiter limiter(ceiling, 0.0015, 0.12, kRate);
    limiter.processBuffer(left, right);
    const size_t after = 22050 + 88 + size_t(0.06 * kRate);
    EXPECT_GT(appliedGainRange(tone, left, after, after + 441).first, dbToGain(-1.0f));

    // A low note held 6 dB over the ceiling: once settled, the gain must not follow its cycles,
    // which would distort it.
    const std::vector<float> low = sine(60.0, 2.0 * ceiling, 44100);
    std::vector<float> lowL = low, lowR = low;
    Limiter held(ceiling, 0.0015, 0.12, kRate);
    held.processBuffer(lowL, lowR);
    const auto [lo, hi] = appliedGainRange(low, lowL, 22050, 44100);
    EXPECT_LT(gainToDb(hi) - gainToDb(lo), 1.5f);
    EXPECT_GT(hi, 0.4f);  // and it is not squeezed far below what the ceiling needs
}

TEST(Limiter, NonFiniteInputBecomesSilence) {
    std::vector<float> left(1000, 0.2f), right(1000, 0.2f);
    left[500] = std::numeric_limits<float>::quiet_NaN();
    right[600] = std::numeric_limits<float>::infinity();
    Limiter limiter(0.9f, 0.0015, 0.1, kRate);
    limiter.processBuffer(left, right);
    for (size_t i = 0; i < left.size(); ++i) ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i]));
}

TEST(Denormals, FeedbackPathsSettleToExactZeroAfterSilence) {
    // An impulse, then a minute of silence: without flushing, these states would decay through
    // the subnormal range and stay there, which costs ~100x per operation on x86.
    Filter f;
    f.set(200.0, 0.7, kRate);
    f.process(1.0f);
    for (int i = 0; i < 60 * 44100; ++i) {
        const float y = f.process(0.0f);
        ASSERT_FALSE(isSubnormal(y)) << i;
    }
    EXPECT_EQ(f.state1(), 0.0f);
    EXPECT_EQ(f.state2(), 0.0f);

    Reverb hall(0.95f, 0.2f, kRate);
    PingPongDelay echo(0.3, 0.9f, kRate);
    std::vector<float> l(256, 0.0f), r(256, 0.0f), el(256, 0.0f), er(256, 0.0f);
    l[0] = r[0] = el[0] = er[0] = 1.0f;
    for (int block = 0; block < 60 * 44100 / 256; ++block) {
        hall.process(l.data(), r.data(), 256);
        echo.process(el.data(), er.data(), 256);
        for (int i = 0; i < 256; ++i) {
            ASSERT_FALSE(isSubnormal(l[i]) || isSubnormal(r[i]) || isSubnormal(el[i]) || isSubnormal(er[i]));
            l[i] = r[i] = el[i] = er[i] = 0.0f;
        }
    }
    EXPECT_EQ(hall.peakState(), 0.0f);
}

TEST(Loudness, MatchesTheReferenceLevelOfAFullScaleSine) {
    // The meter's calibration point: a 1 kHz sine peaking at -20 dBFS in both channels reads
    // -20 LUFS; in one channel only, 3 dB less.
    std::vector<float> s = sine(1000.0, std::pow(10.0, -20.0 / 20.0), size_t(kRate * 5));
    EXPECT_NEAR(integratedLoudness(s, s, 44100), -20.0, 0.2);
    EXPECT_NEAR(integratedLoudness(s, std::vector<float>(s.size(), 0.0f), 44100), -23.0, 0.2);
    EXPECT_LT(integratedLoudness(std::vector<float>(44100, 0.0f), std::vector<float>(44100, 0.0f), 44100), -150.0);
}

TEST(Drums, CymbalsClapsAndKickClickKeepOutOfTheTopOctave) {
    const size_t n = size_t(0.3 * kRate);
    for (VoiceKind kind : {VoiceKind::Hat, VoiceKind::Crash, VoiceKind::Clap}) {
        Patch p;
        p.kind = kind;
        p.tone = 0.6f;
        // The track's cutoff is the top of the band: closing it moves the energy down.
        const double dark = energyAbove(drumHit(p, 7000.0f, n), 12000.0);
        const double open = energyAbove(drumHit(p, 18000.0f, n), 12000.0);
        EXPECT_LT(dark, 0.5 * open) << int(kind);
        EXPECT_LT(dark, 0.3) << int(kind);
        EXPECT_GT(rms(drumHit(p, 7000.0f, n)), 0.01) << int(kind);  // still a hit, not silence
    }
    Patch kick;
    kick.kind = VoiceKind::Kick;
    kick.tone = 1.0f;  // loudest click
    EXPECT_LT(energyAbove(drumHit(kick, 8000.0f, n), 10000.0), 0.002);  // ~-54 dB
}
