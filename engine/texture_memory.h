// Process-wide count of texture storage bytes allocated, printed once after loading.
// Only ever grows: releasing a texture does not give bytes back to the figure.
// The byte arithmetic is a pure function so it can be checked without a GL context.
//
//   textureMemoryBytes += textureStorageBytes(1024, 512, 4, GL_UNSIGNED_BYTE);  // 8 MiB
//   std::cout << textureMemoryBytes / (1024 * 1024) << " MiB";
#pragma once

#include <cstdint>

namespace Quorvel {

extern std::int32_t textureMemoryBytes;

// Bytes counted for one storage allocation: width x height x component weight x type weight.
// Component weight: the internal format itself for 1..4, 1 for depth (GL_DEPTH_COMPONENT24 or 32), 4 for anything else.
// Type weight: 4 for unsigned bytes and floats, 1 otherwise (so RGBA8 counts 16 bytes a pixel).
// Wraps like 32-bit integer arithmetic instead of overflowing.
std::int32_t textureStorageBytes(std::uint32_t width, std::uint32_t height, std::int32_t internalFormat,
                                 std::uint32_t type);

// Adds one allocation to textureMemoryBytes (wrapping, never undefined).
void countTextureMemory(std::int32_t bytes);

}  // namespace Quorvel
