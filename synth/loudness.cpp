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

// The two K-weighting stages, designed for any rate from their analogue corner frequencies.
Biquad highShelf(double rate) {
    const double gainDb = 3.99984385397, fc = 1681.974450955533, q = 0.7071752369554196;
    const double a = std::pow(10.0, gainDb / 40.0), w = kTwoPi * fc / rate;
    const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q), sa = 2.0 * std::sqrt(a) * alpha;
    const double a0 = (a + 1) - (a - 1) * c + sa;
    return {a * ((a + 1) + (a - 1) * c + sa) / a0, -2 * a * ((a - 1) + (a + 1) * c) / a0,
            a * ((a + 1) + (a - 1) * c - sa) / a0, 2 * ((a - 1) - (a + 1) * c) / a0,
            ((a + 1) - (a - 1) * c - sa) / a0};
}

Biquad highPass(double rate) {
    const double fc = 38.13547087602444, q = 0.5003270373238773;
    const double w = kTwoPi * fc / rate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1 + alpha;
    return {(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
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
