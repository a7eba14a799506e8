#include "engine/texture_memory.h"

namespace Quorvel {

std::int32_t textureMemoryBytes = 0;

namespace {
// GL enum values, spelled out so this file needs no GL header.
constexpr std::int32_t kDepthComponent24 = 0x81A6;
constexpr std::int32_t kDepthComponent32 = 0x81A7;  // counted like 24-bit depth: one component
constexpr std::uint32_t kUnsignedByte = 0x1401;
constexpr std::uint32_t kFloat = 0x1406;

std::uint32_t componentWeight(std::int32_t internalFormat) {
    if (internalFormat >= 1 && internalFormat <= 4) return static_cast<std::uint32_t>(internalFormat);
    if (internalFormat == kDepthComponent24 || internalFormat == kDepthComponent32) return 1;
    return 4;  // sized colour formats are not created by the program; count them as four components
}

std::uint32_t typeWeight(std::uint32_t type) {
    return (type == kUnsignedByte || type == kFloat) ? 4u : 1u;
}
}  // namespace

std::int32_t textureStorageBytes(std::uint32_t width, std::uint32_t height, std::int32_t internalFormat,
                                 std::uint32_t type) {
    const std::uint32_t bytes = width * height * componentWeight(internalFormat) * typeWeight(type);
    return static_cast<std::int32_t>(bytes);
}

void countTextureMemory(std::int32_t bytes) {
    textureMemoryBytes = static_cast<std::int32_t>(static_cast<std::uint32_t>(textureMemoryBytes) +
                                                   static_cast<std::uint32_t>(bytes));
}

}  // namespace Quorvel
