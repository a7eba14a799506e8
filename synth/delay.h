// Stereo ping-pong echo for the send bus: the first repeat on the left, the next on the right,
// each darker than the last (a low-pass in the feedback path). Time is fixed at construction.
//
//   PingPongDelay echo(0.346, 0.4, 44100.0);     // dotted eighth at 130 BPM
//   echo.process(left, right, n);                 // in place, wet signal only
#pragma once

#include <cstddef>
#include <vector>

namespace Quorvel::Synth {

class PingPongDelay {
public:
    PingPongDelay(double seconds, float feedback, double sampleRate);
    // Replaces the block by the echoes of the block (100% wet).
    void process(float* left, float* right, int count);

private:
    std::vector<float> bufferL_, bufferR_;
    size_t position_ = 0;
    float feedback_;
    float dampL_ = 0.0f, dampR_ = 0.0f, dampCoef_;
};

}  // namespace Quorvel::Synth
