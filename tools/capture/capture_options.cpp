#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace Quorvel::Capture {

const char* const kCaptureUsage =
    "usage: qvl_capture --time T --out FILE.png [--fps F] [--size WxH] [--hidden]\n"
    "       qvl_capture --from A --to B --fps F --out-dir DIR [--timing FILE.csv [--plot FILE.png]] [--size WxH] [--hidden]\n"
    "       qvl_capture --video FILE.mp4 [--from A] [--to B] [--fps F] [--timing FILE.csv [--plot FILE.png]] [--size WxH] [--hidden]\n"
    "       qvl_capture --video FILE.mp4 --preset party|party-4k [--from A] [--to B] [--timing FILE.csv [--plot FILE.png]] [--hidden]\n"
    "       qvl_capture --timing FILE.csv [--plot FILE.png] [--from A] [--to B] [--fps F] [--size WxH] [--hidden]\n"
    "       qvl_capture --help\n"
    "every form also takes --samples N: multisampling, 0 to 16 (default 4; 0 draws without)\n"
    "F: frames per second, a decimal or a fraction (60000/1001); ranges of --video and --timing default to 0-172 s\n"
    "--preset party: 1920x1080 at 60 fps, H.264 High 4.2 at 12 Mb/s, a keyframe each 30 frames, AAC 48 kHz 320 kb/s;\n"
    "party-4k: the same at 3840x2160, level 5.2, 50 Mb/s\n";

namespace {

bool parseWhole(const std::string& text, long& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::stol(text);
    return true;
}

}  // namespace

bool parseSamples(const char* text, int& samples) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 0 || n > 16) return false;
    samples = int(n);
    return true;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

bool parseSize(const char* text, int& width, int& height) {
    char* end = nullptr;
    const long w = std::strtol(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X')) return false;
    const char* second = end + 1;
    const long h = std::strtol(second, &end, 10);
    if (end == second || *end != '\0') return false;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
    width = int(w);
    height = int(h);
    return true;
}

bool parseFrameRate(const std::string& text, long& numerator, long& denominator) {
    const std::size_t slash = text.find('/');
    long n = 0, d = 1;
    if (slash != std::string::npos) {
        if (!parseWhole(text.substr(0, slash), n) || !parseWhole(text.substr(slash + 1), d)) return false;
    } else {
        // A decimal: its digits after the point become the denominator's power of ten.
        const std::size_t point = text.find('.');
        const std::string whole = text.substr(0, point);
        const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
        if (fraction.size() > 6 || (whole.empty() && fraction.empty())) return false;
        long w = 0, f = 0;
        if (!whole.empty() && !parseWhole(whole, w)) return false;
        if (!fraction.empty() && !parseWhole(fraction, f)) return false;
        for (std::size_t i = 0; i < fraction.size(); ++i) d *= 10;
        n = w * d + f;
    }
    if (n <= 0 || d <= 0 || double(n) / double(d) > 1000.0) return false;
    numerator = n;
    denominator = d;
    return true;
}

namespace {

// Which of the options that decide the output were given at all.
struct GivenTimes {
    bool time = false, from = false, to = false;
    bool size = false, fps = false;
    const VideoPreset* preset = nullptr;
};

// One flag and its value into the options; false with `error` set for a bad one.
bool readFlag(const std::string& flag, const char* value, CaptureOptions& o, GivenTimes& given, std::string& error) {
    bool ok = true;
    if (flag == "--time") ok = given.time = parseNumber(value, o.time);
    else if (flag == "--from") ok = given.from = parseNumber(value, o.from);
    else if (flag == "--to") ok = given.to = parseNumber(value, o.to);
    else if (flag == "--fps") ok = given.fps = parseFrameRate(value, o.fpsNumerator, o.fpsDenominator);
    else if (flag == "--out") o.out = value;
    else if (flag == "--out-dir") o.outDir = value;
    else if (flag == "--video") o.video = value;
    else if (flag == "--timing") o.timing = value;
    else if (flag == "--plot") o.plot = value;
    else if (flag == "--size") ok = given.size = parseSize(value, o.width, o.height);
    else if (flag == "--preset") ok = (given.preset = findVideoPreset(value)) != nullptr;
    else if (flag == "--samples") ok = parseSamples(value, o.samples);
    else {
        error = "unknown option " + flag;
        return false;
    }
    if (!ok || (*value == '\0' && flag != "--fps")) {
        error = "bad value for " + flag + ": " + value;
        return false;
    }
    return true;
}

// A preset's size, rate and encoding, for a video only and never beside the options it sets.
bool applyPreset(CaptureOptions& o, const GivenTimes& given, std::string& error) {
    if (!given.preset) return true;
    if (o.video.empty()) {
        error = "--preset needs --video";
        return false;
    }
    if (given.size || given.fps) {
        error = "--preset sets the size and the rate: leave out --size and --fps";
        return false;
    }
    o.width = given.preset->width;
    o.height = given.preset->height;
    o.fpsNumerator = given.preset->fps;
    o.fpsDenominator = 1;
    o.encoding = given.preset->encoding;
    return true;
}

// A whole-programme output (video, or timing alone) whose range defaults to 0-172 s.
bool chooseWholeRange(CaptureOptions& o, const GivenTimes& given, std::string& error) {
    if (!o.video.empty() && !o.outDir.empty()) {
        error = "give either --video or --out-dir";
        return false;
    }
    o.single = false;
    if (!given.from) o.from = 0.0;
    if (!given.to) o.to = 172.0;
    if (o.from < 0.0 || o.to <= o.from) {
        error = "need 0 <= --from < --to";
        return false;
    }
    return true;
}

// Which of the outputs the options name, and whether their times fit it.
bool chooseOutput(CaptureOptions& o, const GivenTimes& given, std::string& error) {
    if (!o.plot.empty() && o.timing.empty()) {
        error = "--plot needs --timing";
        return false;
    }
    const bool wholeRangeDefault = !o.video.empty() || (!o.timing.empty() && o.outDir.empty());
    if (wholeRangeDefault && !given.time && o.out.empty()) return chooseWholeRange(o, given, error);
    if (!o.video.empty()) {
        error = "--video takes a range (--from, --to), not --time or --out";
        return false;
    }
    if (!o.timing.empty() && given.time) {
        error = "--timing takes a range (--from, --to), not --time";
        return false;
    }
    if (given.time && !given.from && !given.to && !o.out.empty() && o.outDir.empty()) {
        o.single = true;
        if (o.time < 0.0) {
            error = "--time must not be negative";
            return false;
        }
        return true;
    }
    if (!given.time && given.from && given.to && !o.outDir.empty() && o.out.empty()) {
        o.single = false;
        if (o.from < 0.0 || o.to < o.from) {
            error = "need 0 <= --from <= --to";
            return false;
        }
        return true;
    }
    error = "give either --time and --out, or --from, --to and --out-dir";
    return false;
}

}  // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            o.help = true;  // the usage is asked for: nothing else matters
            return true;
        }
    GivenTimes given;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--hidden") {
            o.hidden = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + flag;
            return false;
        }
        if (!readFlag(flag, argv[++i], o, given, error)) return false;
    }
    if (!applyPreset(o, given, error)) return false;
    o.fps = double(o.fpsNumerator) / double(o.fpsDenominator);
    return chooseOutput(o, given, error);
}

int commandLineVerdict(const char* tool, bool parsed, bool help, const std::string& error, const char* usage) {
    if (!parsed) {
        std::cerr << tool << ": " << error << "\n" << usage;
        return 2;
    }
    if (help) {
        std::cout << usage;
        return 0;
    }
    return -1;
}

CapturePlan planCapture(const CaptureOptions& o) {
    CapturePlan plan;
    const double fps = double(o.fpsNumerator) / double(o.fpsDenominator);
    plan.step = double(o.fpsDenominator) / double(o.fpsNumerator);
    if (o.single) {
        const long lead = static_cast<long>(std::floor(std::min(o.time, 1.0) * fps + 1e-9));
        plan.firstTime = o.time - double(lead) * plan.step;
        plan.frames = lead + 1;
        plan.firstWritten = lead;
    } else if (!o.outDir.empty()) {
        plan.firstTime = o.from;
        plan.frames = static_cast<long>(std::floor((o.to - o.from) * fps + 1e-9)) + 1;
        plan.firstWritten = 0;
    } else {
        plan.firstTime = o.from;
        plan.frames = std::max(1L, static_cast<long>(std::ceil((o.to - o.from) * fps - 1e-9)));
        plan.firstWritten = 0;
    }
    return plan;
}

double frameTime(const CaptureOptions& o, const CapturePlan& plan, long index) {
    return plan.firstTime + double(index) * double(o.fpsDenominator) / double(o.fpsNumerator);
}

}  // namespace Quorvel::Capture
