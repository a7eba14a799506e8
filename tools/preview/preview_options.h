// Command line of qvl_preview: [--from T] [--size WxH]. No GL, no files.
#pragma once

#include <string>

namespace Quorvel::Preview {

struct PreviewOptions {
    double from = 0.0;
    int width = 1024, height = 768;
    bool help = false;  // --help or -h: print the usage and do nothing else
};

bool parsePreviewOptions(int argc, const char* const* argv, PreviewOptions& options, std::string& error);

extern const char* const kPreviewUsage;

}  // namespace Quorvel::Preview
