// Renders a score to a raw stereo mix: every track block by block, the kick tracks first so their
// sum can key the side-chain that ducks the other tracks (each by its `duck` depth), then the
// reverb and echo send buses. No mastering here (see master.h).
//
//   Score score = ...;
//   StereoBuffer mix = renderMix(score, 0.0, 32.0);   // the first 32 beats
#pragma once

#include "synth/score.h"
#include "synth/stereo_buffer.h"

namespace Quorvel::Synth {

// Renders from beat 0 up to `endBeat` (the sample at round(endBeat × 60/tempo × rate)).
// Notes before `startBeat` still play; only the returned buffer starts at startBeat's sample.
StereoBuffer renderMix(const Score& score, double startBeat, double endBeat, int sampleRate = 44100);

}  // namespace Quorvel::Synth
