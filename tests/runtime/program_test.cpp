// The program as a user meets it, run as a real process under the test display: its error lines
// and exit statuses, and runs ended by Escape and by closing the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/support/process.h"

namespace fs = std::filesystem;

namespace {

std::string program(const char* name = "qvl_taluvine") { return (binaryDir() / name).string(); }

// A working folder whose data/ is the build's.
fs::path playFolder() {
    const fs::path dir = freshFolder("play");
    fs::create_directory_symlink(binaryDir() / "data", dir / "data");
    return dir;
}

// "loading time: <seconds>\nmemory usage: \n    texture: <n>MB\n    renderbuffer: <n>MB\n    total: <n>MB\n"
// "Avg. frame render time: " + ten blanks ...
void expectCompleteReport(const std::string& out) {
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("loading time: ", 0), 0u) << out;
    EXPECT_NO_THROW(std::stod(line.substr(std::string("loading time: ").size()))) << line;
    std::getline(lines, line);
    EXPECT_EQ(line, "memory usage: ");
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("    texture: ", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 2), "MB") << line;
    const long texture = std::stol(line.substr(13));
    std::getline(lines, line);
    // The multisampled buffer's renderbuffers: 4 samples of colour and depth at the window's
    // size, 24 MB at 1024 x 768.
    EXPECT_EQ(line.rfind("    renderbuffer: ", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 2), "MB") << line;
    const long renderbuffers = std::stol(line.substr(18));
    EXPECT_GE(renderbuffers, 24) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("    total: ", 0), 0u) << line;
    EXPECT_GE(std::stol(line.substr(11)), texture + renderbuffers) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("Avg. frame render time:           ", 0), 0u) << line;
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n') << "the statistics line is ended at shutdown";
}

TEST(Program, WithoutADisplayGlfwCannotStart) {
    const ProcessResult r = runShell("env -u DISPLAY -u WAYLAND_DISPLAY " + program());
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Error: GLFW - Initialization failed\n");
    EXPECT_EQ(r.out, "");
}

TEST(Program, WithoutTheSoundtrackItStopsWhileLoading) {
    const fs::path dir = freshFolder("nodata");
    const ProcessResult r = runShell("cd '" + dir.string() + "' && " + program());
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.err.find("Cannot open data/e5_t5.ogg for reading...\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    fs::remove_all(dir);
}

TEST(Program, EscapeEndsTheRunOnReleaseNotOnPress) {
    const fs::path dir = playFolder();
    // Hold Escape for a second: the program must still be running; then release it.
    const std::string script = "cd '" + dir.string() + "' && { timeout 120 " + program() +
                               " & pid=$!; " + focusWindowOfPid() + "sleep 1; "
                               "xdotool keydown Escape; sleep 1.5; "
                               "if kill -0 $pid 2>/dev/null; then echo running >&2; fi; "
                               "xdotool keyup Escape; wait $pid; }";
    const ProcessResult r = runShell(script);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("running"), std::string::npos) << "pressing Escape alone ended the run";
    expectCompleteReport(r.out);
    fs::remove_all(dir);
}

TEST(Program, ClosingTheWindowEndsTheRunNormally) {
    const fs::path dir = playFolder();
    const std::string script = "cd '" + dir.string() + "' && { timeout 120 " + program() + " & pid=$!; " +
                               closeWindowOfPid() + "sleep 0.5; wait $pid; }";
    const ProcessResult r = runShell(script);
    EXPECT_EQ(r.status, 0) << r.err;
    expectCompleteReport(r.out);
    fs::remove_all(dir);
}

TEST(Program, FullScreenBuildRunsAndEndsOnEscape) {
    const fs::path dir = playFolder();
    const std::string script = "cd '" + dir.string() + "' && { timeout 120 " + program("qvl_taluvine_fullscreen") +
                               " & pid=$!; " + focusWindowOfPid() + "sleep 0.5; xdotool key Escape; wait $pid; }";
    const ProcessResult r = runShell(script);
    EXPECT_EQ(r.status, 0) << r.err;
    expectCompleteReport(r.out);
    fs::remove_all(dir);
}

}  // namespace
