#include "tools/capture/video_encoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace Quorvel::Capture {

std::vector<std::string> ffmpegArguments(const VideoSettings& s) {
    const std::string rate = std::to_string(s.fpsNumerator) + "/" + std::to_string(s.fpsDenominator);
    return {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
            // the frames, as the capture reads them back
            "-f", "rawvideo", "-pix_fmt", "rgba", "-video_size", std::to_string(s.width) + "x" + std::to_string(s.height),
            "-framerate", rate, "-i", "pipe:0",
            // the soundtrack cut to the same range
            "-f", "s16le", "-ar", std::to_string(s.audioRate), "-ac", std::to_string(s.audioChannels), "-i", s.audioFile,
            "-map", "0:v", "-map", "1:a",
            "-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p",
            "-c:a", "aac", "-b:a", "192k",
            // an interrupted capture ends where its frames end
            "-shortest", "-movflags", "+faststart", s.output};
}

VideoEncoder::VideoEncoder(const VideoSettings& settings) {
    char pattern[] = "/tmp/qvl_ffmpeg_log_XXXXXX";
    const int logFd = mkstemp(pattern);
    if (logFd < 0) throw std::runtime_error("cannot create a log file for ffmpeg");
    close(logFd);
    logPath = pattern;

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe to ffmpeg");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group: the terminal's Ctrl-C is the capture's to handle, not ffmpeg's.
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    const std::vector<std::string> arguments = ffmpegArguments(settings);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(fds[0]);
    if (spawned != 0) {
        close(fds[1]);
        std::remove(logPath.c_str());
        throw std::runtime_error(std::string("cannot start ffmpeg: ") + std::strerror(spawned) +
                                 " (tools/setup.sh installs it)");
    }
    pipeFd = fds[1];
}

VideoEncoder::~VideoEncoder() {
    std::string ignored;
    finish(ignored);
}

bool VideoEncoder::write(const std::vector<unsigned char>& rgba) {
    if (pipeFd < 0) return false;
    const unsigned char* p = rgba.data();
    std::size_t left = rgba.size();
    while (left > 0) {
        const ssize_t n = ::write(pipeFd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // EPIPE: ffmpeg has exited (SIGPIPE is ignored by the capture)
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

int VideoEncoder::finish(std::string& error) {
    if (!finished) {
        finished = true;
        if (pipeFd >= 0) close(pipeFd);
        pipeFd = -1;
        int raw = 0;
        while (waitpid(child, &raw, 0) < 0 && errno == EINTR) {}
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream log(logPath);
        std::ostringstream text;
        text << log.rdbuf();
        error = text.str();
        std::remove(logPath.c_str());
    }
    return status;
}

}  // namespace Quorvel::Capture
