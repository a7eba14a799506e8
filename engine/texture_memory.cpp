#include "engine/texture_memory.h"

namespace Quorvel {

std::int32_t textureMemoryBytes = 0;
std::int64_t pictureMemoryBytes = 0;
std::int64_t renderbufferMemoryBytes = 0;

std::int64_t renderbufferStorageBytes(std::uint32_t width, std::uint32_t height, int samples) {
    return std::int64_t(width) * std::int64_t(height) * std::int64_t(samples > 1 ? samples : 1) * 4;
}

namespace {
// GL enum values, spelled out so this file needs no GL header.
constexpr std::int32_t kDepthComponent24 = 0x81A6;
constexpr std::int32_t kDepthComponent32 = 0x81A7;  // counted like 24-bit depth: one component
constexpr std::uint32_t kByte = 0x1400;
constexpr std::uint32_t kUnsignedByte = 0x1401;
constexpr std::uint32_t kShort = 0x1402;
constexpr std::uint32_t kUnsignedShort = 0x1403;
constexpr std::uint32_t kHalfFloat = 0x140B;

std::uint32_t componentWeight(std::int32_t internalFormat) {
    if (internalFormat >= 1 && internalFormat <= 4) return static_cast<std::uint32_t>(internalFormat);
    if (internalFormat == kDepthComponent24 || internalFormat == kDepthComponent32) return 1;
    return 4;  // sized colour formats are not created by the program; count them as four components
}

// Bytes one component is stored in. A float upload of depth lands in a 24-bit depth format
// that drivers keep in four bytes, so four is right for it as for every 32-bit type.
std::uint32_t typeWeight(std::uint32_t type) {
    switch (type) {
        case kByte:
        case kUnsignedByte: return 1u;
        case kShort:
        case kUnsignedShort:
        case kHalfFloat: return 2u;
        default: return 4u;
    }
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
