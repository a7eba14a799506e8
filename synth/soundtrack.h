// The demo's soundtrack: the score compiled into the library (score/taluvine.score), rendered
// and mastered offline. Deterministic: the same build gives the same samples on every run.
//
//   Quorvel::Synth::StereoBuffer music = Quorvel::Synth::renderSoundtrack();
//   writeOggVorbis("data/e5_t5.ogg", music.left, music.right, music.sampleRate, 0.5f);
#pragma once

#include "synth/score.h"
#include "synth/stereo_buffer.h"

namespace Quorvel::Synth {

// The whole piece at 44.1 kHz stereo, mastered. Throws std::runtime_error if the score is invalid.
StereoBuffer renderSoundtrack();

// The text of the built-in score, as it was when the library was configured.
const char* soundtrackScoreText();

// The built-in score, parsed. Throws std::runtime_error listing the bad lines.
Score soundtrackScore();

}  // namespace Quorvel::Synth
