// Melodic voices: subtractive (unison oscillators + sub + resonant filter) and two-operator FM.
// Pitch and filter coefficients are refreshed every kControlRate samples, which keeps
// vibrato and filter sweeps smooth at a fraction of the per-sample cost.
#include <array>
#include <cmath>

#include "synth/dsp.h"
#include "synth/envelope.h"
#include "synth/filter.h"
#include "synth/oscillator.h"
#include "synth/voice.h"

namespace Quorvel::Synth {
namespace {

constexpr int kControlRate = 16;
constexpr int kMaxUnison = 9;

class MelodicVoice final : public Voice {
public:
    MelodicVoice(const Patch& patch, double sampleRate, uint32_t seed)
        : patch_(patch), rate_(sampleRate), noise_(seed * 2654435761u + 1u) {
        for (Filter* f : {&filterL_, &filterR_}) f->setMode(patch.filter);
    }

    void start(double note, float velocity, int64_t gateSamples) override {
        note_ = note + 12.0 * patch_.octave;
        velocity_ = velocity;
        gate_ = gateSamples;
        age_ = 0;
        countdown_ = 0;
        amp_.set(patch_.attack, patch_.decay, patch_.sustain, patch_.release, rate_);
        filterEnv_.set(patch_.filterAttack, patch_.filterDecay, 0.0, patch_.filterDecay, rate_);
        amp_.noteOn();
        filterEnv_.noteOn();
        const int n = patch_.kind == VoiceKind::Fm ? 1 : patch_.unison;
        for (int i = 0; i < n; ++i) {
            oscs_[i].setWave(patch_.wave);
            // Random start phases keep unison stacks from phasing identically on every note.
            oscs_[i].setPhase(n > 1 ? 0.5 + 0.5 * noise_.next() : 0.0);
            const float pos = n > 1 ? patch_.spread * (2.0f * i / (n - 1) - 1.0f) : 0.0f;
            const float norm = 1.0f / std::sqrt(float(n));
            gainL_[i] = std::sqrt(0.5f * (1.0f - pos)) * norm * 1.41421356f;
            gainR_[i] = std::sqrt(0.5f * (1.0f + pos)) * norm * 1.41421356f;
            detune_[i] = n > 1 ? patch_.detune * (2.0f * i / (n - 1) - 1.0f) : 0.0f;
        }
        sub_.setWave(Wave::Sine);
        sub_.setPhase(0.0);
        carrierPhaseL_ = carrierPhaseR_ = modPhase_ = 0.0;
        vibratoPhase_ = 0.0;
    }

    void render(float* left, float* right, int count, const VoiceControl& control) override {
        for (int i = 0; i < count; ++i) {
            if (countdown_ == 0) updateControl(control);
            --countdown_;
            if (age_ == gate_) {
                amp_.noteOff();
                filterEnv_.noteOff();
            }
            ++age_;
            const float env = amp_.next() * velocity_;
            filterEnvLevel_ = filterEnv_.next();
            float l = 0.0f, r = 0.0f;
            if (patch_.kind == VoiceKind::Fm) fmSample(l, r);
            else subtractiveSample(l, r);
            left[i] += filterL_.process(l) * env;
            right[i] += filterR_.process(r) * env;
            if (!amp_.active()) break;
        }
    }

    bool active() const override { return amp_.active(); }
    float level() const override { return amp_.level() * velocity_ * (amp_.stage() == Envelope::Stage::Release ? 0.5f : 1.0f); }

private:
    void updateControl(const VoiceControl& control) {
        countdown_ = kControlRate;
        vibratoPhase_ += kControlRate * patch_.vibratoRate / rate_;
        vibratoPhase_ -= std::floor(vibratoPhase_);
        // Vibrato fades in over half a second, as a singer's would.
        const double vibDepth = patch_.vibrato * std::fmin(1.0, double(age_) / (0.5 * rate_));
        const double note = note_ + vibDepth * std::sin(kTwoPi * vibratoPhase_);
        const double hz = midiToHz(note);
        if (patch_.kind == VoiceKind::Fm) {
            const double spreadHz = hz * (std::exp2(patch_.detune / 12.0) - 1.0);
            stepL_ = (hz - spreadHz) / rate_;
            stepR_ = (hz + spreadHz) / rate_;
            modStep_ = hz * patch_.ratio / rate_;
            indexLevel_ = patch_.index * float(std::exp(-double(age_) / (patch_.indexDecay * rate_)));
        } else {
            for (int u = 0; u < patch_.unison; ++u) oscs_[u].setFrequency(midiToHz(note + detune_[u]), rate_);
            sub_.setFrequency(hz * 0.5, rate_);
        }
        const double octaves = patch_.filterEnv * filterEnvLevel_ + patch_.keyTrack * (note_ - 60.0) / 12.0;
        const double cutoff = control.cutoff * std::exp2(octaves);
        filterL_.set(cutoff, control.resonance, rate_);
        filterR_.set(cutoff, control.resonance, rate_);
    }

    void subtractiveSample(float& l, float& r) {
        for (int u = 0; u < patch_.unison; ++u) {
            const float s = patch_.wave == Wave::Noise ? noise_.next() : oscs_[u].next();
            l += s * gainL_[u];
            r += s * gainR_[u];
        }
        if (patch_.sub > 0.0f) {
            const float s = sub_.next() * patch_.sub;
            l += s;
            r += s;
        }
    }

    void fmSample(float& l, float& r) {
        const double mod = indexLevel_ * std::sin(kTwoPi * modPhase_);
        l = float(std::sin(kTwoPi * carrierPhaseL_ + mod));
        r = float(std::sin(kTwoPi * carrierPhaseR_ + mod));
        carrierPhaseL_ += stepL_;
        carrierPhaseR_ += stepR_;
        modPhase_ += modStep_;
        carrierPhaseL_ -= std::floor(carrierPhaseL_);
        carrierPhaseR_ -= std::floor(carrierPhaseR_);
        modPhase_ -= std::floor(modPhase_);
    }

    const Patch& patch_;
    double rate_;
    Noise noise_;
    std::array<Oscillator, kMaxUnison> oscs_;
    std::array<float, kMaxUnison> gainL_{}, gainR_{}, detune_{};
    Oscillator sub_{Wave::Sine};
    Envelope amp_, filterEnv_;
    Filter filterL_, filterR_;
    double note_ = 60.0;
    float velocity_ = 1.0f;
    int64_t gate_ = 0, age_ = 0;
    int countdown_ = 0;
    float filterEnvLevel_ = 0.0f;
    double vibratoPhase_ = 0.0;
    double carrierPhaseL_ = 0.0, carrierPhaseR_ = 0.0, modPhase_ = 0.0;
    double stepL_ = 0.0, stepR_ = 0.0, modStep_ = 0.0;
    float indexLevel_ = 0.0f;
};

}  // namespace

std::unique_ptr<Voice> makeMelodicVoice(const Patch& patch, double sampleRate, uint32_t seed) {
    return std::make_unique<MelodicVoice>(patch, sampleRate, seed);
}

}  // namespace Quorvel::Synth
