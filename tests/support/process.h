// Runs a shell command for tests that drive whole programs: exit status and the two output
// streams, each captured to a file in a fresh folder that the test owns.
//
//   ProcessResult r = runShell("cd /tmp/x && ./qvl_taluvine");
//   EXPECT_EQ(r.status, 255);
#pragma once

#include <filesystem>
#include <string>

struct ProcessResult {
    int status = -1;  // the exit status, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

ProcessResult runShell(const std::string& command);

// The build folder (QVL_BINARY_DIR, set by ctest) where the programs and data/ are.
std::filesystem::path binaryDir();

// The checkout the build was made from (QVL_SOURCE_DIR, set by ctest).
std::filesystem::path sourceDir();

// A fresh empty folder under the temp directory, unique to this process and `tag`.
std::filesystem::path freshFolder(const std::string& tag);

std::string readFile(const std::filesystem::path& path);

// Shell text for a script that started a program on the test display in the background, its
// process (or a wrapper such as timeout(1)) in $pid. Each waits up to a minute for the program's
// own window, known by its process rather than its title (tests beside it may show windows with
// the same title), using the build's x_window. When no window shows, or the display is gone,
// the program is stopped at once and the script ends with status 1 and the reason on stderr,
// instead of waiting out the program's time limit.
std::string focusWindowOfPid();  // gives the window the keyboard; its id is left in $w
std::string closeWindowOfPid();  // asks the window to close, the way a window manager does
