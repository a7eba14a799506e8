// Command line of qvl_capture, parsed without touching GL or files.
//
//   CaptureOptions o;  std::string error;
//   if (!parseCaptureOptions(argc, argv, o, error)) { std::cerr << error; return 2; }
#pragma once

#include <string>
#include <vector>

#include "tools/capture/video_encoder.h"

namespace Quorvel::Capture {

// One of three outputs: a single frame (--time T --out FILE), one PNG per frame (--from A --to B
// --out-dir DIR), or a video with the soundtrack (--video FILE, range default 0 to 172 s). A
// timing report (--timing CSV [--plot PNG]) can come with the last two or stand alone over a
// range. The rate is a decimal or a fraction (--fps 60000/1001). A video's --preset sets its
// size, rate and encoding at once, so it takes neither --size nor --fps.
struct CaptureOptions {
    bool single = true;        // --time T --out FILE; otherwise a range
    double time = 0.0;
    double from = 0.0, to = 0.0;
    double fps = 30.0;         // fpsNumerator / fpsDenominator
    long fpsNumerator = 30, fpsDenominator = 1;
    std::string out;
    std::string outDir;
    std::string video;         // --video FILE (.mp4: H.264 and AAC)
    VideoEncoding encoding;    // the capture's own, or --preset NAME's
    std::string timing;        // --timing FILE.csv
    std::string plot;          // --plot FILE.png (needs --timing)
    int width = 1024, height = 768;
    bool hidden = false;       // open the window unmapped
    int samples = 4;           // --samples N: multisampling (0 draws without, to compare)
    bool help = false;         // --help or -h: print the usage and do nothing else
};

// "60", "29.97" or "60000/1001" as a fraction of whole numbers; false for anything else or a
// rate outside (0, 1000].
bool parseFrameRate(const std::string& text, long& numerator, long& denominator);

// Samples per pixel, 0 to 16.
bool parseSamples(const char* text, int& samples);
// A finite decimal number, the whole text.
bool parseNumber(const char* text, double& value);
// "WxH", each side 1 to 16384.
bool parseSize(const char* text, int& width, int& height);

// False with `error` set for options that name no output or a bad value; --help anywhere wins.
bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error);

extern const char* const kCaptureUsage;

// What a tool does with its command line before it starts: -1 to go on; 2 after "<tool>: <error>"
// and the usage on standard error when it did not parse; 0 after the usage on standard output
// when --help asked for it.
int commandLineVerdict(const char* tool, bool parsed, bool help, const std::string& error, const char* usage);

// The demo times the capture renders, in order, and which of them are written out.
struct CapturePlan {
    double firstTime = 0.0;  // time of frame 0
    double step = 0.0;       // seconds between frames
    long frames = 0;         // frames rendered
    long firstWritten = 0;   // index of the first frame written; the rest follow it
};

// A single frame at T is preceded by up to one second at the capture rate, so that scenes which
// carry picture content from frame to frame show what they would in the program. PNG ranges
// include both ends; a video or timing range is [from, to): its frames last exactly to - from
// seconds (rounded up to a whole frame), so sound and picture end together.
CapturePlan planCapture(const CaptureOptions& options);

// The demo time of frame `index` of a plan, computed from the exact fraction, not by adding steps.
double frameTime(const CaptureOptions& options, const CapturePlan& plan, long index);

}  // namespace Quorvel::Capture
