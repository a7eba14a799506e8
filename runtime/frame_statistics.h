// The in-place "Avg. frame render time" line: about once a second it overwrites its ten-character
// field (ten backspaces, then the new figure) with the average frame time since the last update.
//
//   FrameStatistics stats(std::cout);  stats.begin(clock.elapsed());
//   each frame: stats.frameDone(clock.elapsed());
#pragma once

#include <ostream>
#include <string>

namespace Quorvel {

// The text of one update: ten backspaces, then seconds per frame in a right-aligned field of
// width 10 with 4 decimals. A zero frame count (one frame that took over a second) shows the
// elapsed time itself: that one frame's duration.
std::string formatFrameTimeUpdate(double secondsSinceLastPrint, int frames);

class FrameStatistics {
public:
    explicit FrameStatistics(std::ostream& out) : out(out) {}
    // Prints the label and an empty field; `now` is the clock reading at the start of playback.
    void begin(double now);
    // Called after each frame with a fresh clock reading.
    void frameDone(double now);

private:
    std::ostream& out;
    double lastPrint = 0.0;
    int frames = 0;
};

}  // namespace Quorvel
