// Driving a program's window from a test script: when the window never comes, the script stops
// the program at once and says why, rather than leaving it to run out its time limit.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.h"

namespace {

TEST(DrivingWindows, NoWindowOrNoDisplayStopsTheProgramAtOnceWithTheReason) {
    // A display that does not exist: the program, still running, is stopped, not waited for.
    ProcessResult r = runShell("export DISPLAY=:97; sleep 300 & pid=$!; " + closeWindowOfPid() + "echo closed");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open the display :97"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(runShell("pgrep -f '^sleep 300$'").status, 0) << "the program was left running";

    // A program that ends before it shows a window is noticed at once, not after the minute.
    r = runShell("sh -c 'echo broken >&2; exit 3' & pid=$!; " + focusWindowOfPid() + "echo focused");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ended before it showed a window"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

}  // namespace
