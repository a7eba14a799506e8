// A stereo signal held whole in memory: what the renderer returns and the generator encodes.
//
//   StereoBuffer b; b.left.resize(n); b.right.resize(n);
#pragma once

#include <vector>

namespace Quorvel::Synth {

struct StereoBuffer {
    int sampleRate = 44100;
    std::vector<float> left, right;
};

}  // namespace Quorvel::Synth
