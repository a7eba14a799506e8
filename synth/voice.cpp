#include "synth/voice.h"

namespace Quorvel::Synth {

std::unique_ptr<Voice> makeVoice(const Patch& patch, double sampleRate, uint32_t seed) {
    if (patch.kind == VoiceKind::Poly || patch.kind == VoiceKind::Fm) return makeMelodicVoice(patch, sampleRate, seed);
    return makeDrumVoice(patch, sampleRate, seed);
}

}  // namespace Quorvel::Synth
