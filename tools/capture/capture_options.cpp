#include "tools/capture/capture_options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Quorvel::Capture {

const char* const kCaptureUsage =
    "usage: qvl_capture --time T --out FILE.png [--fps F] [--size WxH] [--hidden]\n"
    "       qvl_capture --from A --to B --fps F --out-dir DIR [--size WxH] [--hidden]\n";

namespace {

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

}  // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions& o, std::string& error) {
    bool haveTime = false, haveFrom = false, haveTo = false;
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
        const char* value = argv[++i];
        bool ok = true;
        if (flag == "--time") ok = haveTime = parseNumber(value, o.time);
        else if (flag == "--from") ok = haveFrom = parseNumber(value, o.from);
        else if (flag == "--to") ok = haveTo = parseNumber(value, o.to);
        else if (flag == "--fps") ok = parseNumber(value, o.fps) && o.fps > 0.0 && o.fps <= 1000.0;
        else if (flag == "--out") o.out = value;
        else if (flag == "--out-dir") o.outDir = value;
        else if (flag == "--size") ok = parseSize(value, o.width, o.height);
        else {
            error = "unknown option " + flag;
            return false;
        }
        if (!ok) {
            error = "bad value for " + flag + ": " + value;
            return false;
        }
    }
    if (haveTime && !haveFrom && !haveTo && !o.out.empty() && o.outDir.empty()) {
        o.single = true;
        if (o.time < 0.0) {
            error = "--time must not be negative";
            return false;
        }
        return true;
    }
    if (!haveTime && haveFrom && haveTo && !o.outDir.empty() && o.out.empty()) {
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

CapturePlan planCapture(const CaptureOptions& o) {
    CapturePlan plan;
    plan.step = 1.0 / o.fps;
    if (o.single) {
        const long lead = static_cast<long>(std::floor(std::min(o.time, 1.0) * o.fps + 1e-9));
        plan.firstTime = o.time - double(lead) * plan.step;
        plan.frames = lead + 1;
        plan.firstWritten = lead;
    } else {
        plan.firstTime = o.from;
        plan.frames = static_cast<long>(std::floor((o.to - o.from) * o.fps + 1e-9)) + 1;
        plan.firstWritten = 0;
    }
    return plan;
}

}  // namespace Quorvel::Capture
