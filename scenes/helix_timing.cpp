#include "scenes/helix_timing.h"

#include <cmath>

namespace Quorvel::Ostrel {

HelixFrameTimes helixFrameTimes(double time, double startTime, double timeOffset) {
    HelixFrameTimes times;
    times.local = time - (startTime + timeOffset);
    times.localF = float(times.local);
    times.spinDegrees = 20.0 * times.local + 20.0;
    times.curveTime = float(times.local - 9.0);
    return times;
}

std::vector<double> helixBeatTimes() {
    return {0.0,          3.692307696,  4.153846158, 7.384615392, 11.076923088, 12.923076936,
            14.769230784, 18.46153848,  18.923076942, 22.153846176, 25.846153872, 27.69230772};
}

void updateFlashTimes(double time, const std::vector<double>& beatTimes, std::vector<double>& flashTimes) {
    flashTimes.assign(kFlashGroups, 0.0);
    if (time < kHelixFirstBeat) return;
    const double sinceFirst = time - kHelixFirstBeat;
    size_t slot = 0;
    for (double beat : beatTimes) {
        if (!(sinceFirst > beat)) break;
        flashTimes[slot] = beat + kHelixFirstBeat;
        slot = (slot + 1) % kFlashGroups;
    }
}

float rungLevel(double time, double flashTime) {
    if (time < kHelixFirstBeat) return 0.0f;
    const float level = float(1.0 - (time - flashTime) * kFlashDecay);
    return level < 0.0f ? 0.0f : level;
}

std::vector<float> blurWeights() {
    std::vector<float> weights(kBlurWeightCount);
    const double factor = 1.0 / std::sqrt(628.31852);
    for (int i = 0; i < kBlurWeightCount; ++i) {
        const float e = float(-(i * i) / 100.0);
        const float x = float(std::exp(double(e)));
        weights[size_t(i)] = float(double(x) * factor);
    }
    return weights;
}

}  // namespace Quorvel::Ostrel
