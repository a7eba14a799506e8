#include "synth/dc_blocker.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

DcBlocker::DcBlocker(double sampleRate, double cornerHz)
    : pole_(float(std::exp(-kTwoPi * cornerHz / sampleRate))) {}

float DcBlocker::process(float x) {
    const float y = x - lastIn_ + pole_ * lastOut_;
    lastIn_ = x;
    lastOut_ = flushDenormal(y);
    return y;
}

}  // namespace Quorvel::Synth
