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

// A fresh empty folder under the temp directory, unique to this process and `tag`.
std::filesystem::path freshFolder(const std::string& tag);

std::string readFile(const std::filesystem::path& path);
