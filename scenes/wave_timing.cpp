#include "scenes/wave_timing.h"

#include <cmath>

namespace Quorvel::Ostrel {

std::int64_t lineGridIndex(int i, double time) { return std::int64_t((i * kLineStep + time) / kLineStep); }

double lineTime(int i, double time) { return double(lineGridIndex(i, time)) * kLineStep; }

float worldAngle(double time) { return float(time * 3.0 - 110.0); }

double fadeInOut(double u, double fadeIn, double fadeOut) {
    constexpr double kHalfPeriod = 3.1415;
    double in = 1.0, out = 1.0;
    if (u < fadeIn) in = 0.0;
    else if (u < fadeIn + kHalfPeriod) in = std::sin((u - fadeIn) * 0.5);
    if (u >= fadeOut + kHalfPeriod) out = 0.0;
    else if (u >= fadeOut) out = 1.0 - std::sin((u - fadeOut) * 0.5);
    return in * out;
}

}  // namespace Quorvel::Ostrel
