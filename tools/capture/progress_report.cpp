#include "tools/capture/progress_report.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace Quorvel::Capture {

std::string clockText(double seconds) {
    char text[32];
    const long s = long(std::max(seconds, 0.0) + 0.5);
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

std::string ProgressReport::update(long done, double demoTime, double seconds) {
    const double interval = terminal ? kTerminalSeconds : kPlainSeconds;
    const long tenth = frames > 0 ? done * 10 / frames : 0;
    const bool newTenth = !terminal && tenth > lastTenth;
    if (seconds - lastSeconds <= interval && !newTenth && done != frames) return {};
    lastSeconds = seconds;
    lastTenth = tenth;
    printed = true;
    const double rate = double(done) / std::max(seconds, 1e-3);
    std::ostringstream line;
    line << (terminal ? "\r" : "") << "frame " << done << "/" << frames << " at " << demoTime << " s, " << rate
         << " frames/s, " << clockText(double(frames - done) / rate) << " left" << (terminal ? "   " : "\n");
    return line.str();
}

std::string ProgressReport::finish() const { return terminal && printed ? "\n" : ""; }

}  // namespace Quorvel::Capture
