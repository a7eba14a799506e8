#include "runtime/frame_statistics.h"

#include <iomanip>
#include <sstream>

namespace Quorvel {

namespace {
const std::string kBackspaces(10, '\b');
const std::string kBlanks(10, ' ');
}  // namespace

std::string formatFrameTimeUpdate(double secondsSinceLastPrint, int frames) {
    const double perFrame = frames > 0 ? secondsSinceLastPrint / frames : secondsSinceLastPrint;
    std::ostringstream text;
    text << kBackspaces << std::fixed << std::setprecision(4) << std::setw(10) << std::right << perFrame;
    return text.str();
}

void FrameStatistics::begin(double now) {
    lastPrint = now;
    frames = 0;
    out << std::fixed << std::setprecision(4) << "Avg. frame render time: " << kBlanks;
}

void FrameStatistics::frameDone(double now) {
    if (now - lastPrint > 1.0) {
        out << formatFrameTimeUpdate(now - lastPrint, frames);
        lastPrint = now;
        frames = 0;
        out.flush();
    } else {
        ++frames;
    }
}

}  // namespace Quorvel
