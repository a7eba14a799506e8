// What GPU memory the program holds, as it counts its own allocations (textures: pictures and
// render targets; renderbuffers), and what the driver says of its memory where it has a way to
// (GL_NVX_gpu_memory_info, GL_ATI_meminfo). For reports; nothing is changed.
//
//   std::cout << allocatedMemoryLine() << "\n" << driverMemoryLine() << "\n";
#pragma once

#include <cstdint>
#include <string>

namespace Quorvel {

struct AllocatedMemory {
    std::int64_t pictures = 0, targets = 0, renderbuffers = 0;
    std::int64_t total() const { return pictures + targets + renderbuffers; }
};

// The counters so far (engine/texture_memory.h).
AllocatedMemory allocatedMemory();

// "pictures 117 MB, targets 221 MB, renderbuffers 253 MB, total 591 MB" (MB of 1048576 bytes).
std::string formatAllocatedMemory(const AllocatedMemory& memory);

// The driver's own figures, e.g. "dedicated 81559 MB, available 80012 MB (GL_NVX_gpu_memory_info)";
// "none (the driver reports no memory figures)" where it has neither extension. Needs a context.
std::string driverMemoryLine();

}  // namespace Quorvel
