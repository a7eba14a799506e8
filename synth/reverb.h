// Stereo hall reverb for the send bus: eight damped feedback combs and four all-passes per
// channel, the right channel's delays slightly longer for width; bass below ~180 Hz is kept out
// of the tail so the low end stays tight. No pre-delay, no modulation.
//
//   Reverb hall(0.86f, 0.35f, 44100.0);
//   hall.process(left, right, n);   // in place, wet signal only
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace Quorvel::Synth {

class Reverb {
public:
    // size in [0, 1) sets the decay time; damping in [0, 1] darkens the tail.
    Reverb(float size, float damping, double sampleRate);
    // Replaces the block by the reverberated block (100% wet).
    void process(float* left, float* right, int count);
    // Largest absolute value held in any delay line (for denormal and stability tests).
    float peakState() const;

private:
    struct Comb {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0.0f;
        float process(float x, float feedback, float damp);
    };
    struct AllPass {
        std::vector<float> line;
        size_t pos = 0;
        float process(float x);
    };
    std::array<Comb, 8> combsL_, combsR_;
    std::array<AllPass, 4> allPassL_, allPassR_;
    float feedback_, damp_;
    float highPassL_ = 0.0f, highPassR_ = 0.0f, highPassCoef_;
};

}  // namespace Quorvel::Synth
