// The statistics line as a viewer sees it on a terminal while the demo plays: the program runs on a
// pseudo-terminal (standard output and error both, like a terminal window), the test reads the
// terminal's side as the figures come, and closes the window once a few of them have shown.
// Output held back by stdio until exit, or a figure printed only at the end, reads the same as a
// working line to the tests that look at the output after the program has gone.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kLabel = "Avg. frame render time: ";
const std::string kBackspaces(10, '\b');

// Control characters spelled out, so that a failure shows what the terminal received.
std::string spelled(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        if (c == '\b') shown += "\\b";
        else if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n\n";
        else shown += c;
    }
    return shown;
}

// Whole updates received so far: ten backspaces and the ten-character field after them.
int updatesIn(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find(kBackspaces); at != std::string::npos && at + 20 <= text.size();
         at = text.find(kBackspaces, at + 20))
        ++count;
    return count;
}

// The demo on a pseudo-terminal of its own, from a folder whose data/ is the build's.
class TerminalRun {
public:
    TerminalRun() : dir(freshFolder("terminal")) {
        fs::create_directory_symlink(binaryDir() / "data", dir / "data");
        const std::string program = (binaryDir() / "qvl_taluvine").string();
        pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (pid == 0) {
            if (::chdir(dir.c_str()) == 0) ::execl(program.c_str(), program.c_str(), nullptr);
            ::_exit(127);
        }
    }
    ~TerminalRun() {
        if (pid > 0 && !reaped) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (terminal >= 0) ::close(terminal);
        fs::remove_all(dir);
    }

    bool started() const { return pid > 0; }

    // Reads what the program writes until `enough` holds or the terminal closes (the program
    // ended); false when neither came by `deadline`. `enough` sees each read as it arrives.
    template <typename Enough>
    bool readUntil(Clock::time_point deadline, Enough enough) {
        while (!closed && !enough()) {
            if (Clock::now() > deadline) return false;
            pollfd wait{terminal, POLLIN, 0};
            if (::poll(&wait, 1, 250) <= 0) continue;
            char chunk[4096];
            const ssize_t n = ::read(terminal, chunk, sizeof chunk);
            if (n > 0) {
                text.append(chunk, static_cast<std::size_t>(n));
                reads.push_back(text.size());
            } else if (n == 0 || errno != EINTR) {
                closed = true;  // EIO once the program and its terminal are gone
            }
        }
        return true;
    }

    // Waits for the program's exit status, or kills it at `deadline`.
    int finish(Clock::time_point deadline) {
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) ::kill(pid, SIGKILL);
            ::usleep(100000);
        }
        reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir;
    pid_t pid = -1;
    int terminal = -1;
    bool reaped = false;
    bool closed = false;
    std::string text;                // everything the terminal received
    std::vector<std::size_t> reads;  // the length of `text` after each read
};

TEST(StatisticsOnATerminal, TheFigureUpdatesInPlaceWhileTheDemoPlays) {
    TerminalRun run;
    ASSERT_TRUE(run.started()) << "forkpty failed";

    // Loading takes seconds and llvmpipe may be slow: the limits only end a run that hangs.
    const int kUpdatesWhilePlaying = 4;
    std::vector<Clock::time_point> arrivals;
    const bool cameInTime = run.readUntil(Clock::now() + std::chrono::seconds(120), [&] {
        while (static_cast<int>(arrivals.size()) < updatesIn(run.text)) arrivals.push_back(Clock::now());
        return static_cast<int>(arrivals.size()) >= kUpdatesWhilePlaying;
    });
    ASSERT_TRUE(cameInTime) << "no " << kUpdatesWhilePlaying << " updates after two minutes:\n" << spelled(run.text);
    ASSERT_FALSE(run.closed) << "the program ended before the line was updated " << kUpdatesWhilePlaying
                             << " times while it played:\n"
                             << spelled(run.text);

    // Still playing: the updates above reached the terminal as they were made, not at exit.
    const std::string close = "'" + (binaryDir() / "x_window").string() + "' close " + std::to_string(run.pid) + " 60";
    EXPECT_EQ(std::system(close.c_str()), 0) << "the window could not be closed";
    run.readUntil(Clock::now() + std::chrono::seconds(60), [] { return false; });
    EXPECT_EQ(run.finish(Clock::now() + std::chrono::seconds(60)), 0);

    // Nothing else on the terminal (standard error included): the loading report, the label with
    // its blank field, each update erasing exactly the field before it, and the line ended at shutdown.
    static const std::regex kTranscript(
        "loading time: [0-9.e+-]+\r\n"
        "memory usage: \r\n"
        "(    [a-z ]+: [0-9]+MB\r\n)+"
        "Avg\\. frame render time: [ ]{10}(\b{10}[ 0-9.]{10})+\r\n");
    ASSERT_TRUE(std::regex_match(run.text, kTranscript)) << spelled(run.text);
    static const std::regex kFigure(" *[0-9]+\\.[0-9]{4}");  // right-aligned, four decimals
    for (std::size_t at = run.text.find(kBackspaces); at != std::string::npos;
         at = run.text.find(kBackspaces, at + 20)) {
        const std::string field = run.text.substr(at + 10, 10);
        EXPECT_TRUE(std::regex_match(field, kFigure)) << "field '" << field << "'";
        EXPECT_GT(std::stod(field), 0.0) << "field '" << field << "'";
    }

    // Before the first figure the viewer already sees the label and its blank field: some read
    // ended after them and before the first backspace.
    const std::size_t fieldEnd = run.text.find(kLabel) + kLabel.size() + 10;
    const std::size_t firstUpdate = run.text.find(kBackspaces);
    bool labelShownAlone = false;
    for (const std::size_t length : run.reads) labelShownAlone |= length >= fieldEnd && length <= firstUpdate;
    EXPECT_TRUE(labelShownAlone) << "the label only showed with the first figure";

    // About once a second, not every frame: each update waits for more than a second of demo
    // time after the one before, so the updates seen span at least that many seconds (less a
    // second for a late first read).
    const double span = std::chrono::duration<double>(arrivals.back() - arrivals.front()).count();
    EXPECT_GE(span, kUpdatesWhilePlaying - 1 - 1.0)
        << "the updates came together (held back, then written at once) or faster than once a second";
}

}  // namespace
