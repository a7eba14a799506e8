#include "synth/onset_meter.h"

#include <algorithm>
#include <cmath>

#include "synth/dsp.h"
#include "synth/score.h"

namespace Quorvel::Synth {
namespace {

// Second-order Butterworth section (RBJ cookbook, Q = 1/sqrt 2), in double: the band edges of
// the bass band sit at a thousandth of the sample rate, where float biquads lose their poles.
class Biquad {
public:
    Biquad(bool highPass, double cutoff, double rate) {
        const double w = kTwoPi * std::min(cutoff, 0.45 * rate) / rate;
        const double alpha = std::sin(w) / (2.0 * std::sqrt(0.5));
        const double c = std::cos(w);
        const double a0 = 1.0 + alpha;
        b0_ = (highPass ? (1.0 + c) / 2.0 : (1.0 - c) / 2.0) / a0;
        b1_ = (highPass ? -(1.0 + c) : (1.0 - c)) / a0;
        b2_ = b0_;
        a1_ = -2.0 * c / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    double process(double x) {
        const double y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return y;
    }

private:
    double b0_, b1_, b2_, a1_, a2_;
    double z1_ = 0.0, z2_ = 0.0;
};

// Squared band-passed signal, both channels summed, so a window's energy is a plain sum.
std::vector<double> bandPower(const StereoBuffer& audio, OnsetBand band) {
    const size_t n = std::min(audio.left.size(), audio.right.size());
    std::vector<double> power(n, 0.0);
    for (const std::vector<float>* channel : {&audio.left, &audio.right}) {
        Biquad stages[] = {{true, band.lowHz, double(audio.sampleRate)},
                           {true, band.lowHz, double(audio.sampleRate)},
                           {false, band.highHz, double(audio.sampleRate)},
                           {false, band.highHz, double(audio.sampleRate)}};
        for (size_t i = 0; i < n; ++i) {
            double x = (*channel)[i];
            for (Biquad& s : stages) x = s.process(x);
            power[i] += x * x;
        }
    }
    return power;
}

double toDb(double meanSquare) { return meanSquare > 1e-20 ? 10.0 * std::log10(meanSquare) : -200.0; }

}  // namespace

std::vector<BeatOnset> measureOnsets(const StereoBuffer& audio, double audioStartBeat, const std::vector<double>& beats,
                                     double tempo, OnsetBand band, OnsetWindows windows) {
    std::vector<BeatOnset> out(beats.size());
    const std::vector<double> power = bandPower(audio, band);
    // Prefix sums turn every window into two look-ups.
    std::vector<double> prefix(power.size() + 1, 0.0);
    for (size_t i = 0; i < power.size(); ++i) prefix[i + 1] = prefix[i] + power[i];
    const int64_t before = std::max<int64_t>(1, std::llround(windows.before * audio.sampleRate));
    const int64_t after = std::max<int64_t>(1, std::llround(windows.after * audio.sampleRate));
    const int64_t first = beatToSample(audioStartBeat, tempo, audio.sampleRate);
    for (size_t b = 0; b < beats.size(); ++b) {
        const int64_t at = beatToSample(beats[b], tempo, audio.sampleRate) - first;
        if (at - before < 0 || at + after > int64_t(power.size())) continue;
        const double pre = (prefix[size_t(at)] - prefix[size_t(at - before)]) / double(before);
        const double post = (prefix[size_t(at + after)] - prefix[size_t(at)]) / double(after);
        out[b].levelDb = toDb(post);
        out[b].onsetDb = toDb(post) - toDb(pre);
    }
    return out;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) return 0.0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    const double upper = values[mid];
    if (values.size() % 2) return upper;
    return 0.5 * (upper + *std::max_element(values.begin(), values.begin() + mid));
}

std::vector<AccentContrast> contrastAccents(const std::vector<double>& beats, const std::vector<BeatOnset>& onsets,
                                            const std::vector<double>& accents) {
    auto isAccent = [&](double beat) {
        return std::any_of(accents.begin(), accents.end(), [&](double a) { return std::fabs(a - beat) < 1e-9; });
    };
    std::vector<double> plainOnsets, plainLevels;
    for (size_t i = 0; i < beats.size() && i < onsets.size(); ++i) {
        if (isAccent(beats[i])) continue;
        plainOnsets.push_back(onsets[i].onsetDb);
        plainLevels.push_back(onsets[i].levelDb);
    }
    std::vector<AccentContrast> out;
    if (plainOnsets.empty()) return out;
    const double onsetMedian = medianOf(plainOnsets), levelMedian = medianOf(plainLevels);
    for (size_t i = 0; i < beats.size() && i < onsets.size(); ++i) {
        if (!isAccent(beats[i])) continue;
        out.push_back({beats[i], onsets[i].onsetDb, onsets[i].onsetDb - onsetMedian, onsets[i].levelDb - levelMedian});
    }
    return out;
}

}  // namespace Quorvel::Synth
