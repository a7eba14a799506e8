// The in-place "Avg. frame render time" line: about once a second it overwrites its ten-character
// field (ten backspaces, then the new figure) with the average frame time since the last update.
// Where a line cannot be rewritten (a console that only appends lines) each update is handed over instead.
//
//   FrameStatistics stats(std::cout);  stats.begin(clock.elapsed());
//   each frame: stats.frameDone(clock.elapsed());
//   FrameStatistics lines([](double s) { std::cout << kFrameTimeLabel << s << '\n'; });
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace Quorvel {

constexpr const char* kFrameTimeLabel = "Avg. frame render time: ";

// The text of one update: ten backspaces, then seconds per frame in a right-aligned field of
// width 10 with 4 decimals. A zero frame count (one frame that took over a second) shows the
// elapsed time itself: that one frame's duration.
std::string formatFrameTimeUpdate(double secondsSinceLastPrint, int frames);
// Seconds per frame of one update (the figure formatFrameTimeUpdate prints).
double secondsPerFrame(double secondsSinceLastPrint, int frames);

class FrameStatistics {
public:
    // The in-place line on `out`.
    explicit FrameStatistics(std::ostream& out) : out(&out) {}
    // Each update's seconds per frame handed to `update`, nothing printed.
    explicit FrameStatistics(std::function<void(double secondsPerFrame)> update) : update(std::move(update)) {}
    // Prints the label and an empty field; `now` is the clock reading at the start of playback.
    void begin(double now);
    // Called after each frame with a fresh clock reading.
    void frameDone(double now);

private:
    std::ostream* out = nullptr;
    std::function<void(double)> update;
    double lastPrint = 0.0;
    int frames = 0;
};

}  // namespace Quorvel
