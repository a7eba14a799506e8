// An instrument's sound: every parameter a voice or its track reads, with musical defaults.
// The score sets them by name ("cutoff=1800"); this module maps names to fields and checks values.
// It does not render anything.
//
//   Patch p; std::string error;
//   if (!setPatchParameter(p, "cutoff", "1800", error)) report(error);
#pragma once

#include <string>

#include "synth/filter.h"
#include "synth/oscillator.h"

namespace Quorvel::Synth {

enum class VoiceKind { Poly, Fm, Kick, Snare, Clap, Hat, Crash, Sweep };

struct Patch {
    VoiceKind kind = VoiceKind::Poly;
    // Oscillators (poly): unison copies detuned over `detune` semitones, spread over `spread` of the
    // stereo field; `sub` adds a sine an octave below; `octave` shifts the whole voice.
    Wave wave = Wave::Saw;
    int unison = 1;
    float detune = 0.0f;
    float spread = 0.5f;
    float sub = 0.0f;
    float octave = 0.0f;
    float vibrato = 0.0f;      // semitones
    float vibratoRate = 5.0f;  // Hz
    // FM (fm): carrier plus one modulator at `ratio`; index falls from `index` over `indexDecay` s.
    float ratio = 2.0f;
    float index = 2.0f;
    float indexDecay = 0.5f;
    // Filter: base cutoff (automatable per track; for claps, hats and cymbals the top of their
    // band, for sweeps the band itself), envelope depth in octaves, key tracking.
    FilterMode filter = FilterMode::LowPass;
    float cutoff = 8000.0f;
    float resonance = 0.1f;
    float filterEnv = 0.0f;
    float filterAttack = 0.001f;
    float filterDecay = 0.3f;
    float keyTrack = 0.0f;
    // Amplitude envelope, seconds and level.
    float attack = 0.005f;
    float decay = 0.2f;
    float sustain = 0.8f;
    float release = 0.2f;
    // Drums: base pitch (Hz), decay time (s), tone (0..1, brightness/noise share), pitch sweep.
    float pitch = 50.0f;
    float drumDecay = 0.4f;
    float tone = 0.5f;
    float sweep = 4.0f;
    float drive = 1.0f;
    // Track: level, placement and effects.
    float gain = 0.0f;  // dB
    float pan = 0.0f;   // -1 left .. 1 right
    float reverb = 0.0f;
    float delay = 0.0f;
    float chorus = 0.0f;
    float duck = 0.0f;  // 0 = untouched, 1 = fully side-chained by the kick
    int polyphony = 8;
};

// Sets one named parameter from its text; false with a message for unknown names or bad values.
bool setPatchParameter(Patch& patch, const std::string& name, const std::string& value, std::string& error);
// Parses an instrument kind ("poly", "fm", "kick", "snare", "clap", "hat", "crash", "sweep").
bool parseVoiceKind(const std::string& text, VoiceKind& kind);

}  // namespace Quorvel::Synth
