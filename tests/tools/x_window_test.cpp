// Driving a program's window from a test script: the window is the program's own, whatever
// other windows share its title, and when it never comes the script stops the program at once
// and says why, rather than leaving it to run out its time limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

TEST(DrivingWindows, NoWindowOrNoDisplayStopsTheProgramAtOnceWithTheReason) {
    // A display that does not exist: the program, still running, is stopped, not waited for.
    const fs::path dir = freshFolder("x_window");
    ProcessResult r = runShell("cd '" + dir.string() + "' && export DISPLAY=:97; sleep 300 & pid=$!; echo $pid > pid; " +
                               closeWindowOfPid() + "echo closed");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open the display :97"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(runShell("kill -0 $(cat '" + (dir / "pid").string() + "')").status, 0) << "the program was left running";

    // A program that ends before it shows a window is noticed at once, not after the minute.
    r = runShell("sh -c 'echo broken >&2; exit 3' & pid=$!; " + focusWindowOfPid() + "echo focused");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ended before it showed a window"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    fs::remove_all(dir);
}

TEST(DrivingWindows, ClosesTheWindowOfTheProcessItIsGivenNotAnotherWithTheSameTitle) {
    const fs::path dir = freshFolder("x_window_two");
    fs::create_directory_symlink(binaryDir() / "data", dir / "data");
    const std::string demo = "timeout 60 '" + (binaryDir() / "qvl_taluvine").string() + "'";
    // Both windows are "Taluvine by Quorvel"; the first started is closed, the second plays on.
    const ProcessResult r = runShell(
        "cd '" + dir.string() + "' && " + demo + " > first.out & first=$!; " + demo + " > second.out & second=$!; "
        "pid=$second; '" + (binaryDir() / "x_window").string() + "' find $pid 60 >/dev/null || exit 1; "
        "pid=$first; " + closeWindowOfPid() + "wait $first; echo \"first ended: $?\"; "
        "if kill -0 $second 2>/dev/null; then echo 'second still playing'; fi; "
        "pid=$second; " + closeWindowOfPid() + "wait $second; echo \"second ended: $?\"");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "first ended: 0\nsecond still playing\nsecond ended: 0\n") << r.err;
    EXPECT_EQ(readFile(dir / "first.out").rfind("loading time: ", 0), 0u) << readFile(dir / "first.out");
    fs::remove_all(dir);
}

}  // namespace
