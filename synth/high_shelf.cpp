#include "synth/high_shelf.h"

#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

HighShelf::HighShelf(double sampleRate, double cornerHz, float gainDb) {
    // H(s) = (g s + w) / (s + w) through the bilinear transform, pre-warped at the corner: unity
    // at DC, exactly g at Nyquist.
    const double g = dbToGain(gainDb);
    const double k = std::tan(kPi * std::fmin(cornerHz, 0.45 * sampleRate) / sampleRate);
    b0_ = float((g + k) / (1.0 + k));
    b1_ = float((k - g) / (1.0 + k));
    a1_ = float((k - 1.0) / (1.0 + k));
}

float HighShelf::process(float x) {
    const float y = b0_ * x + b1_ * lastIn_ - a1_ * lastOut_;
    lastIn_ = x;
    lastOut_ = flushDenormal(y);
    return y;
}

}  // namespace Quorvel::Synth
