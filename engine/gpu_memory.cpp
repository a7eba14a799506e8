#include "engine/gpu_memory.h"

#include <GL/glew.h>

#include <sstream>

#include "engine/texture_memory.h"

namespace Quorvel {

AllocatedMemory allocatedMemory() {
    AllocatedMemory memory;
    memory.pictures = pictureMemoryBytes;
    memory.targets = std::int64_t(std::uint32_t(textureMemoryBytes)) - pictureMemoryBytes;
    memory.renderbuffers = renderbufferMemoryBytes;
    return memory;
}

std::string formatAllocatedMemory(const AllocatedMemory& memory) {
    std::ostringstream out;
    out << "pictures " << memory.pictures / 1048576 << " MB, targets " << memory.targets / 1048576
        << " MB, renderbuffers " << memory.renderbuffers / 1048576 << " MB, total " << memory.total() / 1048576
        << " MB";
    return out.str();
}

std::string driverMemoryLine() {
    std::ostringstream out;
    // Both give kilobytes.
    if (GLEW_NVX_gpu_memory_info) {
        GLint dedicated = 0, available = 0;
        glGetIntegerv(GL_GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, &dedicated);
        glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, &available);
        out << "dedicated " << dedicated / 1024 << " MB, available " << available / 1024 << " MB, in use "
            << (dedicated - available) / 1024 << " MB (GL_NVX_gpu_memory_info)";
        return out.str();
    }
    if (GLEW_ATI_meminfo) {
        GLint texture[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, texture);
        out << "texture memory free " << texture[0] / 1024 << " MB (GL_ATI_meminfo)";
        return out.str();
    }
    return "none (the driver reports no memory figures)";
}

}  // namespace Quorvel
