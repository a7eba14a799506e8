// First-order high shelf for the master: lowers (or lifts) everything above a corner by a fixed
// amount, with the gentle slope of a single pole, so it tames a busy top end without the dull,
// boxed-in sound of a low-pass. Mono; a stereo bus uses two.
//
//   HighShelf air(44100.0, 9000.0, -2.5f);
//   for (float& s : channel) s = air.process(s);
#pragma once

namespace Quorvel::Synth {

class HighShelf {
public:
    // cornerHz: where the shelf starts to act; gainDb: level at the top of the band (0 = unchanged).
    HighShelf(double sampleRate, double cornerHz, float gainDb);
    float process(float x);

private:
    float b0_, b1_, a1_;
    float lastIn_ = 0.0f, lastOut_ = 0.0f;
};

}  // namespace Quorvel::Synth
