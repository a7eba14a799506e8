#include "tools/preview/preview_options.h"

#include <cstring>

#include "tools/capture/capture_options.h"

namespace Quorvel::Preview {

const char* const kPreviewUsage =
    "usage: qvl_preview [--from T] [--size WxH]\n"
    "       qvl_preview --help\n"
    "keys: Space pause/resume, Left/Right 1 s (Shift: 10 s), comma/period one frame while paused,\n"
    "      Home to 0, M mute, F5 reload data/, G timing overlay, Escape quit\n";

bool parsePreviewOptions(int argc, const char* const* argv, PreviewOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            o.help = true;  // the usage is asked for: nothing else matters
            return true;
        }
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) {
            error = flag == "--from" || flag == "--size" ? "missing value after " + flag : "unknown option " + flag;
            return false;
        }
        const char* value = argv[++i];
        bool ok = false;
        if (flag == "--from")
            ok = Capture::parseNumber(value, o.from) && o.from >= 0.0 && o.from <= 172.0;
        else if (flag == "--size")
            ok = Capture::parseSize(value, o.width, o.height);
        else {
            error = "unknown option " + flag;
            return false;
        }
        if (!ok) {
            error = "bad value for " + flag + ": " + value;
            return false;
        }
    }
    return true;
}

}  // namespace Quorvel::Preview
