// Command line of qvl_capture, parsed without touching GL or files.
//
//   CaptureOptions o;  std::string error;
//   if (!parseCaptureOptions(argc, argv, o, error)) { std::cerr << error; return 2; }
#pragma once

#include <string>
#include <vector>

namespace Quorvel::Capture {

struct CaptureOptions {
    bool single = true;        // --time T --out FILE; otherwise --from A --to B --out-dir DIR
    double time = 0.0;
    double from = 0.0, to = 0.0;
    double fps = 30.0;
    std::string out;
    std::string outDir;
    int width = 1024, height = 768;
    bool hidden = false;       // open the window unmapped
};

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error);

extern const char* const kCaptureUsage;

// The demo times the capture renders, in order, and which of them are written out.
struct CapturePlan {
    double firstTime = 0.0;  // time of frame 0
    double step = 0.0;       // seconds between frames
    long frames = 0;         // frames rendered
    long firstWritten = 0;   // index of the first frame written; the rest follow it
};

// A single frame at T is preceded by up to one second at the capture rate, so that scenes which
// carry picture content from frame to frame show what they would in the program.
CapturePlan planCapture(const CaptureOptions& options);

}  // namespace Quorvel::Capture
