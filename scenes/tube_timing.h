// The tube's clock: where the five cells tumble, and which greeting shows with what opacity
// and trail at a given time. Greetings change every kGreetingPeriod seconds from 100.5 s; the
// trail of faint copies runs 0.45 s ahead of the main picture, away from the camera. Pure
// functions of the time: no GL, no clock.
//
//   GreetingFrame g = greetingFrame(d, scene.timeOffset);   // d = time - 94
//   for (int j = 0; j < g.trailCopies; ++j) trailOpacity(g.trailPhase, j);
#pragma once

#include <array>
#include <cstdint>

namespace Quorvel::Ostrel {

constexpr double kGreetingPeriod = 3.692307696;  // eight beats at 130 BPM
constexpr int kGreetingCount = 9;
constexpr int kMaxTrailCopy = 20;

struct GreetingFrame {
    std::int64_t mainIndex;   // greeting of the main picture (D); none when >= the count
    double mainOpacity;       // 1 at the start of a period, 0.5 a second later, <= 0 from 2 s
    std::int64_t trailIndex;  // greeting of the trail (E)
    double trailPhase;        // F, from 0 to 2 over a period
    int trailCopies;          // copies j = 0 .. trailCopies - 1 are drawn
};

// `d` is the scene's local time (time - 94); the greetings run `timeOffset` seconds later.
GreetingFrame greetingFrame(double d, double timeOffset);
// Opacity of trail copy j at phase F: 0.3 sin((F - j/20) pi'); negative means not visible.
double trailOpacity(double phase, int j);
// Depth along the tube of trail copy j: 0.5 j + 0.3 (the float constant).
double trailDepth(int j);

// Placement of one cell: glTranslatef(position), glRotatef(angle, axis), then scale 0.4.
struct CellPlacement {
    std::array<float, 3> position;
    float angleDegrees;
    std::array<float, 3> axis;
};

// The five cells at local time d, in drawing order.
std::array<CellPlacement, 5> cellPlacements(double d);

}  // namespace Quorvel::Ostrel
