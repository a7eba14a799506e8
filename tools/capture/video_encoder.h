// Frames and sound to a video file through the `ffmpeg` program: raw RGBA frames go down a pipe,
// the soundtrack cut is read from a file, H.264 and AAC come out in MP4 (or whatever the output
// name's container is). ffmpeg runs in its own process group, so a Ctrl-C in the terminal reaches
// only the capture, which then closes the pipe and lets ffmpeg finish a playable file.
//
//   VideoEncoder video(settings);                  // throws when ffmpeg cannot be started
//   if (!video.write(rgba)) ...                    // the encoder has stopped: see finish()
//   std::string error; if (video.finish(error) != 0) std::cerr << error;
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace Quorvel::Capture {

struct VideoSettings {
    std::string output;
    int width = 0, height = 0;
    long fpsNumerator = 30, fpsDenominator = 1;
    std::string audioFile;  // raw signed 16-bit little-endian, interleaved
    int audioRate = 44100;
    int audioChannels = 2;
};

// The ffmpeg command line, program name first.
std::vector<std::string> ffmpegArguments(const VideoSettings& settings);

class VideoEncoder {
public:
    explicit VideoEncoder(const VideoSettings& settings);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One frame, width * height RGBA, top row first; false once the encoder has gone away.
    bool write(const std::vector<unsigned char>& rgba);
    // Ends the stream and waits for ffmpeg: 0 when it wrote the file, else its status (or -1)
    // with its own error lines in `error`.
    int finish(std::string& error);

private:
    pid_t child = -1;
    int pipeFd = -1;
    std::string logPath;
    bool finished = false;
    int status = 0;
};

}  // namespace Quorvel::Capture
