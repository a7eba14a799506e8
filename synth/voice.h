// One sounding note of an instrument. Voices add themselves into a stereo block; the instrument
// owns a fixed pool of them and reuses the quietest. Melodic voices (poly, fm) and percussion
// (kick, snare, clap, hat, crash, noise sweep) share this interface.
//
//   auto v = makeVoice(patch, 44100.0, 7); v->start(57.0, 0.8f, 22050);
//   v->render(left, right, 256, control);
#pragma once

#include <cstdint>
#include <memory>

#include "synth/patch.h"

namespace Quorvel::Synth {

// Per-block values a track hands its voices (automation already applied).
struct VoiceControl {
    float cutoff = 8000.0f;
    float resonance = 0.1f;
};

class Voice {
public:
    virtual ~Voice() = default;
    // note: MIDI number (drums read it as tuning relative to 60); gate: samples until note-off.
    virtual void start(double note, float velocity, int64_t gateSamples) = 0;
    // Adds `count` samples into left/right.
    virtual void render(float* left, float* right, int count, const VoiceControl& control) = 0;
    virtual bool active() const = 0;
    // Loudness of the voice now, for stealing the quietest one.
    virtual float level() const = 0;
};

// A voice for the patch's kind; `seed` decorrelates the noise and unison phases of pool members.
std::unique_ptr<Voice> makeVoice(const Patch& patch, double sampleRate, uint32_t seed);

std::unique_ptr<Voice> makeMelodicVoice(const Patch& patch, double sampleRate, uint32_t seed);
std::unique_ptr<Voice> makeDrumVoice(const Patch& patch, double sampleRate, uint32_t seed);

}  // namespace Quorvel::Synth
