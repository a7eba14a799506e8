// First-order DC blocker (high-pass at a few Hz) for the master: removes any offset the drums'
// asymmetric saturation leaves, without touching audible bass.
//
//   DcBlocker dc(44100.0);
//   for (float& s : channel) s = dc.process(s);
#pragma once

namespace Quorvel::Synth {

class DcBlocker {
public:
    explicit DcBlocker(double sampleRate, double cornerHz = 5.0);
    float process(float x);

private:
    float pole_;
    float lastIn_ = 0.0f, lastOut_ = 0.0f;
};

}  // namespace Quorvel::Synth
