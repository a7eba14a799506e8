#include "runtime/frame_statistics.h"

#include <iomanip>
#include <sstream>

namespace Quorvel {

namespace {
const std::string kBackspaces(10, '\b');
const std::string kBlanks(10, ' ');
}  // namespace

double secondsPerFrame(double secondsSinceLastPrint, int frames) {
    return frames > 0 ? secondsSinceLastPrint / frames : secondsSinceLastPrint;
}

std::string formatFrameTimeUpdate(double secondsSinceLastPrint, int frames) {
    std::ostringstream text;
    text << kBackspaces << std::fixed << std::setprecision(4) << std::setw(10) << std::right
         << secondsPerFrame(secondsSinceLastPrint, frames);
    return text.str();
}

void FrameStatistics::begin(double now) {
    lastPrint = now;
    frames = 0;
    if (!out) return;
    // Flushed at once: on a terminal stdout holds a line without its break, so the label would
    // only show with the first figure, a second or more into the run.
    *out << std::fixed << std::setprecision(4) << kFrameTimeLabel << kBlanks;
    out->flush();
}

void FrameStatistics::frameDone(double now) {
    if (now - lastPrint > 1.0) {
        if (out) {
            *out << formatFrameTimeUpdate(now - lastPrint, frames);
            out->flush();
        } else if (update) {
            update(secondsPerFrame(now - lastPrint, frames));
        }
        lastPrint = now;
        frames = 0;
    } else {
        ++frames;
    }
}

}  // namespace Quorvel
