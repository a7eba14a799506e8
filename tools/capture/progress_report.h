// When and how the capture tells its progress. On a terminal: one line rewritten in place about
// four times a second. Into a pipe or a file: a plain line at each tenth of the run and at least
// every few seconds, so a log holds a readable handful of lines instead of thousands of
// carriage-return updates. No clock of its own: the caller passes the seconds since the start.
//
//   ProgressReport progress(isatty(1), plan.frames);
//   std::cout << progress.update(done, time, seconds) << std::flush;   // often empty
//   std::cout << progress.finish();
#pragma once

#include <string>

namespace Quorvel::Capture {

class ProgressReport {
public:
    ProgressReport(bool terminal, long frames) : terminal(terminal), frames(frames) {}

    // The text due after `done` frames of `frames` at demo time `demoTime`, `seconds` after the
    // start: empty when nothing is due. The last frame is always reported.
    std::string update(long done, double demoTime, double seconds);
    // Ends the report: the line break an in-place line still needs, or nothing.
    std::string finish() const;

    static constexpr double kTerminalSeconds = 0.25;  // between in-place updates
    static constexpr double kPlainSeconds = 5.0;      // between plain lines

private:
    bool terminal;
    long frames;
    double lastSeconds = 0.0;
    long lastTenth = 0;  // the last tenth of the run reported by a plain line
    bool printed = false;
};

// "1:05" for 65 seconds, rounded to the second.
std::string clockText(double seconds);

}  // namespace Quorvel::Capture
