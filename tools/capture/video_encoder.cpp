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
#include <initializer_list>
#include <sstream>
#include <stdexcept>

#include "tools/capture/soundtrack_cut.h"

extern char** environ;

namespace Quorvel::Capture {

const VideoPreset* findVideoPreset(const std::string& name) {
    // H.264 levels bound macroblocks (16 x 16) per frame and per second. 1080p is coded as
    // 1920 x 1088: 8,160 a frame, 489,600 a second at 60 fps, within level 4.2 (8,704 and
    // 522,240; 4.1 allows only 245,760 a second, 1080p30). 2160p is 32,400 a frame, 1,944,000
    // a second at 60 fps: level 5.1 stops at 983,040 (2160p30), 5.2 allows 2,073,600 with
    // frames up to 36,864. Both levels' bitrate limits (62.5 and 300 Mb/s in High) are far above.
    static const VideoPreset presets[] = {
        {"party", 1920, 1080, 60, {12000, "high", "4.2", 30, true, 48000, 320}},
        {"party-4k", 3840, 2160, 60, {50000, "high", "5.2", 30, true, 48000, 320}},
    };
    for (const VideoPreset& p : presets)
        if (p.name == name) return &p;
    return nullptr;
}

namespace {

void append(std::vector<std::string>& to, std::initializer_list<std::string> more) { to.insert(to.end(), more); }

void videoEncoding(std::vector<std::string>& a, const VideoEncoding& e) {
    append(a, {"-c:v", "libx264", "-preset", "medium"});
    if (!e.profile.empty()) append(a, {"-profile:v", e.profile});
    if (!e.level.empty()) append(a, {"-level:v", e.level});
    if (e.videoKbps > 0) {
        // Peak = average, with a two-second buffer: no stretch of the file asks a player or an
        // upload for more than the rate plus two seconds of it, not just the whole file on average.
        const std::string kbps = std::to_string(e.videoKbps) + "k";
        append(a, {"-b:v", kbps, "-maxrate", kbps, "-bufsize", std::to_string(2 * e.videoKbps) + "k"});
    } else {
        append(a, {"-crf", "18"});
    }
    if (e.gopFrames > 0) {
        // Keyframes are regular only without scene-cut keyframes (x264 clamps min-keyint to
        // half the GOP anyway); closed GOPs let every keyframe start a cut or a seek cleanly.
        const std::string gop = std::to_string(e.gopFrames);
        append(a, {"-g", gop, "-keyint_min", gop, "-sc_threshold", "0", "-flags:v", "+cgop"});
    }
    if (e.hdColour)
        // swscale converts with the BT.601 matrix unless told; players read HD video as BT.709.
        append(a, {"-vf", "scale=out_color_matrix=bt709:out_range=tv", "-colorspace", "bt709", "-color_primaries",
                   "bt709", "-color_trc", "bt709", "-color_range", "tv"});
    append(a, {"-pix_fmt", "yuv420p"});
}

void audioEncoding(std::vector<std::string>& a, const VideoSettings& s) {
    const VideoEncoding& e = s.encoding;
    if (e.audioRate > 0 && e.audioRate != s.audioRate) {
        // Resampled once, here, by SoX's resampler at its best precision. The result is padded or
        // trimmed to the frames' exact length at the new rate, which rounding in the resampler
        // could otherwise miss by a sample where the rates do not divide evenly.
        std::string filter = "aresample=" + std::to_string(e.audioRate) + ":resampler=soxr:precision=28";
        if (s.frames > 0) {
            const std::string length =
                std::to_string(soundtrackLength(e.audioRate, s.frames, s.fpsNumerator, s.fpsDenominator));
            filter += ",apad=whole_len=" + length + ",atrim=end_sample=" + length;
        }
        append(a, {"-af", filter, "-ar", std::to_string(e.audioRate)});
    }
    append(a, {"-c:a", "aac", "-profile:a", "aac_low", "-b:a", std::to_string(e.audioKbps) + "k"});
}

}  // namespace

std::vector<std::string> ffmpegArguments(const VideoSettings& s) {
    const std::string rate = std::to_string(s.fpsNumerator) + "/" + std::to_string(s.fpsDenominator);
    std::vector<std::string> a = {
        "ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
        // the frames, as the capture reads them back
        "-f", "rawvideo", "-pix_fmt", "rgba", "-video_size", std::to_string(s.width) + "x" + std::to_string(s.height),
        "-framerate", rate, "-i", "pipe:0",
        // the soundtrack cut to the same range
        "-f", "s16le", "-ar", std::to_string(s.audioRate), "-ac", std::to_string(s.audioChannels), "-i", s.audioFile,
        "-map", "0:v", "-map", "1:a"};
    videoEncoding(a, s.encoding);
    audioEncoding(a, s);
    // an interrupted capture ends where its frames end
    append(a, {"-shortest", "-movflags", "+faststart", s.output});
    return a;
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
