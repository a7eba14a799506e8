// The helix scene's clock and tables: local time, spin angle and curve time of a frame, the
// beat table and the rung flash levels it drives, and the 32 Gaussian blur weights handed to
// the blur and combine programs. Pure functions of their inputs: no GL, no clock.
//
//   HelixFrameTimes times = helixFrameTimes(time, scene.startTime, scene.timeOffset);
//   updateFlashTimes(time, beatTimes, flashTimes); float level = rungLevel(time, flashTimes[g]);
#pragma once

#include <cstdint>
#include <vector>

namespace Quorvel::Ostrel {

constexpr double kHelixFirstBeat = 44.307;  // demo time of the first flash beat, seconds
constexpr double kFlashDecay = 0.6;         // a flash fades from 1 to 0 at this rate per second
constexpr int kFlashGroups = 3;
constexpr int kBlurWeightCount = 32;

// The per-frame times of the scene.
struct HelixFrameTimes {
    double local;        // time - (startTime + timeOffset)
    float localF;        // local in single precision: the "t" uniforms
    double spinDegrees;  // 20 * local + 20, the model's turn about x
    float curveTime;     // local - 9 (demo time - 22): where the camera curves are read
};

HelixFrameTimes helixFrameTimes(double time, double startTime, double timeOffset);

// The 12 flash beats in seconds after the first beat (whole numbers of 60/130-second beats).
std::vector<double> helixBeatTimes();

// Fills the three entries of `flashTimes` with the demo time of each group's latest beat
// strictly before `time` (beat k lights group k mod 3), or 0 for a group without one yet.
void updateFlashTimes(double time, const std::vector<double>& beatTimes, std::vector<double>& flashTimes);

// Grey level of a half-rung whose group last flashed at `flashTime`: 1 at the beat, fading at
// kFlashDecay per second to 0; 0 before the first beat and for a group that has not flashed.
float rungLevel(double time, double flashTime);

// w[i] = exp(-i^2 / 100) / sqrt(628.31852) for i = 0..31 (not normalised).
std::vector<float> blurWeights();

}  // namespace Quorvel::Ostrel
