// Frames and sound to a video file through the `ffmpeg` program: raw RGBA frames go down a pipe,
// the soundtrack cut is read from a file, H.264 and AAC come out in MP4 (or whatever the output
// name's container is). ffmpeg runs in its own process group, so a Ctrl-C in the terminal reaches
// only the capture, which then closes the pipe and lets ffmpeg finish a playable file. The
// encoding is either the capture's own or a delivery preset's (fixed bitrate, profile, level,
// GOP, 48 kHz sound); the encoder does not choose the picture's size or rate, the capture does.
//
//   VideoEncoder video(settings);                  // throws when ffmpeg cannot be started
//   if (!video.write(rgba)) ...                    // the encoder has stopped: see finish()
//   std::string error; if (video.finish(error) != 0) std::cerr << error;
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace Quorvel::Capture {

// How the two streams are encoded. The defaults are the capture's own: constant quality, the
// encoder's choice of profile, level and keyframes, the sound at the soundtrack's rate. A
// delivery preset fixes all of them. The picture is always yuv420p and the MP4's index (moov)
// always comes first, so a player or a site can start before the whole file has arrived.
struct VideoEncoding {
    long videoKbps = 0;         // average rate, also the peak over a two-second buffer; 0: crf 18
    std::string profile;        // H.264 profile as x264 names it ("high"); empty: x264's choice
    std::string level;          // H.264 level ("4.2"); empty: x264's choice
    int gopFrames = 0;          // a closed GOP of exactly this many frames; 0: x264's keyframes
    bool hdColour = false;      // BT.709 matrix, limited range, and the stream says so
    int audioRate = 0;          // resampled once to this rate (Hz); 0: the soundtrack's rate
    int audioKbps = 192;        // AAC-LC
};

// A named delivery format: the picture's size and rate with the encoding that goes with them.
struct VideoPreset {
    std::string name;
    int width = 0, height = 0;
    long fps = 0;
    VideoEncoding encoding;
};

// "party" (1920 x 1080) and "party-4k" (3840 x 2160), both at 60 fps; nullptr for other names.
const VideoPreset* findVideoPreset(const std::string& name);

struct VideoSettings {
    std::string output;
    int width = 0, height = 0;
    long fpsNumerator = 30, fpsDenominator = 1;
    long frames = 0;        // frames that will be written; 0: unknown, the sound is not trimmed
    std::string audioFile;  // raw signed 16-bit little-endian, interleaved
    int audioRate = 44100;  // the raw file's rate
    int audioChannels = 2;
    VideoEncoding encoding;
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
