// Percussion voices, all synthesized: kick (swept sine + softened click), snare (tuned body +
// noise), clap (noise bursts), hats and crash (metallic square cluster + noise, band-limited
// between a tone-set high pass and the track's cutoff) and the noise sweep for risers. Claps,
// hats, crashes and sweeps follow the track's cutoff automation, so their top end can open and
// close.
// Decays are exponential in the voice's own sample count, so a hit never depends on the block size.
#include <array>
#include <cmath>

#include "synth/dsp.h"
#include "synth/envelope.h"
#include "synth/filter.h"
#include "synth/voice.h"

namespace Quorvel::Synth {
namespace {

// Ratios of the six detuned square waves that give hats and cymbals their metallic colour.
constexpr std::array<double, 6> kMetalRatios = {1.0, 1.4836, 1.8006, 2.5466, 2.6309, 3.8991};

class DrumVoice final : public Voice {
public:
    DrumVoice(const Patch& patch, double sampleRate, uint32_t seed)
        : patch_(patch), rate_(sampleRate), noiseL_(seed * 747796405u + 3u), noiseR_(seed * 2891336453u + 5u) {}

    void start(double note, float velocity, int64_t gateSamples) override {
        tune_ = std::exp2((note - 60.0) / 12.0);
        velocity_ = velocity;
        gate_ = gateSamples;
        age_ = 0;
        phase_ = 0.0;
        for (double& p : metalPhase_) p = 0.0;
        decayCoef_ = float(std::exp(-1.0 / (patch_.drumDecay * rate_)));
        ampLevel_ = 1.0f;
        // Recursive decays instead of exp() per sample: the pitch drop, the click and the body.
        fastDecay_ = 1.0;
        fastCoef_ = std::exp((patch_.kind == VoiceKind::Kick ? -38.0 : -60.0) / rate_);
        clickLevel_ = 1.0f;
        clickCoef_ = float(std::exp(-900.0 / rate_));
        bodyLevel_ = patch_.kind == VoiceKind::Snare ? 1.0f : 0.0f;
        bodyCoef_ = float(std::exp(-28.0 / rate_));
        for (Filter* f : {&toneL_, &toneR_, &topL_, &topR_}) f->reset();
        switch (patch_.kind) {
        case VoiceKind::Kick:
            // A raw white-noise click paints a line up to 20 kHz on every beat; the knock the
            // kick needs to cut through sits lower.
            toneL_.setMode(FilterMode::LowPass);
            toneL_.set(4500.0, 0.0, rate_);
            break;
        case VoiceKind::Snare:
            toneL_.setMode(FilterMode::HighPass);
            toneL_.set(900.0 + 2500.0 * patch_.tone, 0.1, rate_);
            // Without a top cut, fast rolls turn into a wall of white noise.
            toneR_.setMode(FilterMode::LowPass);
            toneR_.set(7500.0, 0.0, rate_);
            break;
        case VoiceKind::Clap:
            toneL_.setMode(FilterMode::BandPass);
            toneL_.set(1100.0 + 800.0 * patch_.tone, 0.35, rate_);
            topL_.setMode(FilterMode::LowPass);
            break;
        case VoiceKind::Hat:
        case VoiceKind::Crash:
            for (Filter* f : {&toneL_, &toneR_}) {
                f->setMode(FilterMode::HighPass);
                f->set(5000.0 + 4000.0 * patch_.tone, 0.15, rate_);
            }
            // White noise above the high pass is mostly 10-20 kHz hiss; the top cut keeps the
            // cymbal's energy where it reads as metal rather than fatigue.
            for (Filter* f : {&topL_, &topR_}) f->setMode(FilterMode::LowPass);
            break;
        case VoiceKind::Sweep:
            for (Filter* f : {&toneL_, &toneR_}) f->setMode(patch_.filter);
            sweepEnv_.set(patch_.attack, patch_.decay, patch_.sustain, patch_.release, rate_);
            sweepEnv_.noteOn();
            break;
        default:
            break;
        }
        active_ = true;
    }

    void render(float* left, float* right, int count, const VoiceControl& control) override {
        if (patch_.kind == VoiceKind::Sweep) {
            toneL_.set(control.cutoff, control.resonance, rate_);
            toneR_.set(control.cutoff * 1.07, control.resonance, rate_);
        } else if (patch_.kind == VoiceKind::Hat || patch_.kind == VoiceKind::Crash || patch_.kind == VoiceKind::Clap) {
            topL_.set(control.cutoff, 0.0, rate_);
            topR_.set(control.cutoff, 0.0, rate_);
        }
        for (int i = 0; i < count && active_; ++i) {
            float l = 0.0f, r = 0.0f;
            const double t = double(age_) / rate_;
            switch (patch_.kind) {
            case VoiceKind::Kick: kick(l, r); break;
            case VoiceKind::Snare: snare(l, r); break;
            case VoiceKind::Clap: clap(t, l, r); break;
            case VoiceKind::Hat:
            case VoiceKind::Crash: metal(l, r); break;
            case VoiceKind::Sweep: sweep(l, r); break;
            default: break;
            }
            ++age_;
            ampLevel_ *= decayCoef_;
            fastDecay_ *= fastCoef_;
            clickLevel_ *= clickCoef_;
            bodyLevel_ *= bodyCoef_;
            // -60 dB under the hit's own peak: inaudible after gain, and it frees the voice early.
            if (patch_.kind != VoiceKind::Sweep && ampLevel_ < 1e-3f && bodyLevel_ < 1e-3f) active_ = false;
            left[i] += l * velocity_;
            right[i] += r * velocity_;
        }
    }

    bool active() const override { return active_; }
    float level() const override { return velocity_ * (patch_.kind == VoiceKind::Sweep ? sweepEnv_.level() : ampLevel_); }

private:
    void kick(float& l, float& r) {
        // Pitch falls from (1 + sweep) × pitch to pitch within a few tens of milliseconds.
        const double hz = patch_.pitch * tune_ * (1.0 + patch_.sweep * fastDecay_);
        phase_ += hz / rate_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        const float body = float(std::sin(kTwoPi * phase_)) * ampLevel_;
        const float click = clickLevel_ > 1e-4f ? toneL_.process(noiseL_.next()) * clickLevel_ * 0.7f * patch_.tone : 0.0f;
        const float s = std::tanh(patch_.drive * (body + click)) / std::tanh(patch_.drive);
        l = r = s;
    }

    void snare(float& l, float& r) {
        const double hz = patch_.pitch * tune_ * (1.0 + 0.5 * fastDecay_);
        phase_ += hz / rate_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        const float body = bodyLevel_ > 1e-4f ? float(std::sin(kTwoPi * phase_) + 0.5 * std::sin(kTwoPi * phase_ * 1.6)) *
                                                     bodyLevel_ * 0.6f
                                               : 0.0f;
        const float noise = toneR_.process(toneL_.process(noiseL_.next())) * ampLevel_;
        const float s = std::tanh(patch_.drive * (body + noise));
        l = s;
        r = s;
    }

    void clap(double t, float& l, float& r) {
        // Three quick bursts, then the tail: several hands, not quite together.
        const double burst = std::fmod(t, 0.011);
        const float shape = t < 0.033 ? float(std::exp(-burst * 350.0)) : ampLevel_;
        const float s = topL_.process(toneL_.process(noiseL_.next())) * shape * 2.5f;
        l = s;
        r = s;
    }

    void metal(float& l, float& r) {
        float m = 0.0f;
        for (size_t k = 0; k < kMetalRatios.size(); ++k) {
            metalPhase_[k] += patch_.pitch * tune_ * kMetalRatios[k] / rate_;
            if (metalPhase_[k] >= 1.0) metalPhase_[k] -= 1.0;
            m += metalPhase_[k] < 0.5 ? 1.0f : -1.0f;
        }
        m *= 1.0f / 6.0f;
        const float mix = patch_.tone;
        const float inL = (1.0f - mix) * m + mix * noiseL_.next();
        const float inR = (1.0f - mix) * m + mix * noiseR_.next();
        l = topL_.process(toneL_.process(inL)) * ampLevel_;
        r = topR_.process(toneR_.process(inR)) * ampLevel_;
    }

    void sweep(float& l, float& r) {
        if (age_ == gate_) sweepEnv_.noteOff();
        const float env = sweepEnv_.next();
        l = toneL_.process(noiseL_.next()) * env;
        r = toneR_.process(noiseR_.next()) * env;
        if (!sweepEnv_.active()) active_ = false;
    }

    const Patch& patch_;
    double rate_;
    Noise noiseL_, noiseR_;
    Filter toneL_, toneR_, topL_, topR_;
    Envelope sweepEnv_;
    std::array<double, kMetalRatios.size()> metalPhase_{};
    double tune_ = 1.0;
    double phase_ = 0.0;
    double fastDecay_ = 0.0, fastCoef_ = 0.0;
    float clickLevel_ = 0.0f, clickCoef_ = 0.0f, bodyLevel_ = 0.0f, bodyCoef_ = 0.0f;
    float velocity_ = 1.0f;
    float ampLevel_ = 0.0f;
    float decayCoef_ = 0.0f;
    int64_t gate_ = 0, age_ = 0;
    bool active_ = false;
};

}  // namespace

std::unique_ptr<Voice> makeDrumVoice(const Patch& patch, double sampleRate, uint32_t seed) {
    return std::make_unique<DrumVoice>(patch, sampleRate, seed);
}

}  // namespace Quorvel::Synth
