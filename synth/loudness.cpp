#include "synth/loudness.h"

#include <algorithm>
#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {
namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double process(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages, designed for any rate by the bilinear transform of their analogue
// prototypes (at 48 kHz they reproduce the standard's published coefficients).
Biquad highShelf(double rate) {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(kPi * f0 / rate);
    const double vh = std::pow(10.0, gainDb / 20.0), vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad highPass(double rate) {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(kPi * f0 / rate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

std::vector<double> weightedSquares(const std::vector<float>& samples, int rate) {
    Biquad shelf = highShelf(rate), pass = highPass(rate);
    std::vector<double> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double y = pass.process(shelf.process(samples[i]));
        out[i] = y * y;
    }
    return out;
}

}  // namespace

double integratedLoudness(const std::vector<float>& left, const std::vector<float>& right, int sampleRate) {
    const std::vector<double> sqL = weightedSquares(left, sampleRate);
    const std::vector<double> sqR = weightedSquares(right, sampleRate);
    const size_t n = std::min(sqL.size(), sqR.size());
    const size_t block = size_t(0.4 * sampleRate), hop = block / 4;
    // Prefix sums make each block's mean square O(1).
    std::vector<double> prefix(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + sqL[i] + sqR[i];
    std::vector<double> powers;
    for (size_t start = 0; start + block <= n; start += hop) powers.push_back((prefix[start + block] - prefix[start]) / block);
    auto toLufs = [](double power) { return -0.691 + 10.0 * std::log10(std::max(power, 1e-30)); };
    auto gatedMean = [&](double gate) {
        double sum = 0.0;
        size_t count = 0;
        for (double p : powers)
            if (toLufs(p) > gate) sum += p, ++count;
        return count ? sum / count : 0.0;
    };
    const double ungated = gatedMean(-70.0);
    if (ungated <= 0.0) return -200.0;
    return toLufs(gatedMean(toLufs(ungated) - 10.0));
}

}  // namespace Quorvel::Synth
