// The process's resident memory, read from /proc/self/statm; 0 where that cannot be read.
#pragma once

#include <cstddef>

namespace Quorvel::Capture {

std::size_t residentBytes();

}  // namespace Quorvel::Capture
