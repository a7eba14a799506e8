#include "tools/capture/resident_memory.h"

#include <unistd.h>

#include <fstream>

namespace Quorvel::Capture {

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t totalPages = 0, residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) return 0;
    return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace Quorvel::Capture
