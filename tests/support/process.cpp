#include "tests/support/process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path binaryDir() {
    const char* dir = std::getenv("QVL_BINARY_DIR");
    return dir ? fs::path(dir) : fs::current_path();
}

fs::path sourceDir() {
    const char* dir = std::getenv("QVL_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::path("QVL_SOURCE_DIR unset");
}

fs::path freshFolder(const std::string& tag) {
    const fs::path dir = fs::temp_directory_path() / ("qvl_" + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

namespace {

std::string xWindow(const char* action) {
    return "'" + (binaryDir() / "x_window").string() + "' " + action + " $pid 60";
}

const char* const kStopProgram = " || { kill $pid 2>/dev/null; wait $pid; exit 1; }; ";

}  // namespace

std::string focusWindowOfPid() {
    return "w=$(" + xWindow("find") + ")" + kStopProgram + "timeout 20 xdotool windowfocus --sync $w >/dev/null" +
           kStopProgram;
}

std::string closeWindowOfPid() { return xWindow("close") + kStopProgram; }

ProcessResult runShell(const std::string& command) {
    const fs::path dir = freshFolder("run");
    const fs::path out = dir / "out", err = dir / "err";
    const std::string full = "( " + command + " ) >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(full.c_str());
    ProcessResult result;
    result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    fs::remove_all(dir);
    return result;
}
