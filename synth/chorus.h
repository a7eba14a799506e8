// Stereo chorus: two slowly modulated short delays, the right one a quarter cycle behind the left,
// mixed under the dry signal. Widens pads and leads without moving their centre.
//
//   Chorus chorus(44100.0);
//   chorus.process(left, right, n, 0.5f);   // in place, 0 = dry, 1 = strongest
#pragma once

#include <cstddef>
#include <vector>

namespace Quorvel::Synth {

class Chorus {
public:
    explicit Chorus(double sampleRate);
    void process(float* left, float* right, int count, float amount);

private:
    float read(const std::vector<float>& line, double delaySamples) const;
    std::vector<float> lineL_, lineR_;
    size_t position_ = 0;
    double lfoPhase_ = 0.0, lfoStep_, baseDelay_, depth_;
};

}  // namespace Quorvel::Synth
