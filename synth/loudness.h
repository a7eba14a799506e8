// Integrated loudness of a stereo buffer in LUFS: K-weighting (high shelf + high pass), 400 ms
// blocks with 75% overlap, absolute gate at -70 LUFS and relative gate 10 LU below. Used to set
// the master gain before the limiter; not a certified meter (no true-peak, no channel weights
// beyond L/R).
//
//   double lufs = integratedLoudness(buf.left, buf.right, 44100);
#pragma once

#include <vector>

namespace Quorvel::Synth {

// Returns -200 for silence (every block below the absolute gate).
double integratedLoudness(const std::vector<float>& left, const std::vector<float>& right, int sampleRate);

}  // namespace Quorvel::Synth
