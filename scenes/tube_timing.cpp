#include "scenes/tube_timing.h"

#include <algorithm>
#include <cmath>

namespace Quorvel::Ostrel {

GreetingFrame greetingFrame(double d, double timeOffset) {
    // A time that is not a number shows nothing rather than casting NaN to an index.
    if (!std::isfinite(d)) return {kGreetingCount, 0.0, kGreetingCount, 0.0, 0};
    const double g = d - timeOffset;
    const double b = (g - 1.0) - 0.5;
    const double mainClock = std::max(b, 0.0);
    const double mainPeriods = std::trunc(mainClock / kGreetingPeriod);
    const double mainPhase = mainClock - mainPeriods * kGreetingPeriod;
    const double trailClock = std::max((g - 0.55) - 0.5, 0.0);
    const double trailPeriods = std::trunc(trailClock / kGreetingPeriod);
    const double trailPhase = (trailClock - trailPeriods * kGreetingPeriod) / 1.846153848;

    GreetingFrame frame;
    // Times far past the window cannot overflow the index: it only has to exceed the count.
    frame.mainIndex = std::int64_t(std::min(mainPeriods, 1e9));
    frame.mainOpacity = 1.0 - 0.5 * (b < 0.0 ? 2.0 : mainPhase);
    frame.trailIndex = std::int64_t(std::min(trailPeriods, 1e9));
    frame.trailPhase = trailPhase;
    int copies = 0;
    while (copies / 20.0 < trailPhase && copies <= kMaxTrailCopy) ++copies;
    frame.trailCopies = copies;
    return frame;
}

double trailOpacity(double phase, int j) { return 0.3 * std::sin((phase - j / 20.0) * 3.1415); }

double trailDepth(int j) { return 0.5 * j + double(0.3f); }

std::array<CellPlacement, 5> cellPlacements(double d) {
    return {{
        {{-0.7054f, 2.40547f, -0.54981f}, float(10.0 * d), {0.8f, 0.0f, -0.85813f}},
        {{0.88729f, 3.87336f, -0.44574f}, float(-300.0 * std::sin(0.5 * d)), {0.9f, 1.0f, 0.0f}},
        {{float(std::sin(0.3 * d) + 0.35976 - 0.2), 6.21561f, float(0.3 * std::cos(0.5 * d) - 0.6581299999999999)},
         float(40.0 * d),
         {-0.8f, -0.2f, -0.85813f}},
        {{0.75513f, 22.99951f, float(0.6 * std::cos(0.4 * (d + 0.5)) - 1.03138 + 0.4)}, float(20.0 * d),
         {0.8f, -1.0f, -0.85813f}},
        {{-0.70963f, 13.79239f, float(0.1 * std::sin(0.5 * d) - 0.51239)}, float(100.0 * d), {0.2f, 1.0f, 0.5f}},
    }};
}

}  // namespace Quorvel::Ostrel
