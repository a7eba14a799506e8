// The part of the soundtrack that goes with a run of video frames, to the sample: it starts at
// the first frame's time and lasts exactly as long as the frames do, silence where the track
// has ended. 16-bit interleaved PCM in, the same out, at the track's own rate (a preset's 48 kHz
// is the encoder's single resampling of this cut). No audio device, no files.
//
//   std::vector<char> pcm = cutSoundtrack(music.pcm, 2, 44100, 20.0, 20, 10, 1);  // 2 s at 10 fps
#pragma once

#include <cstdint>
#include <vector>

namespace Quorvel::Capture {

// Sample frames from `from` seconds for `frames` video frames at fpsNumerator/fpsDenominator.
std::int64_t soundtrackStart(int rate, double from);
std::int64_t soundtrackLength(int rate, long frames, long fpsNumerator, long fpsDenominator);

std::vector<char> cutSoundtrack(const std::vector<char>& pcm, int channels, int rate, double from, long frames,
                                long fpsNumerator, long fpsDenominator);

}  // namespace Quorvel::Capture
