// Process-wide count of texture storage bytes allocated, printed once after loading.
// Only ever grows: releasing a texture does not give bytes back to the figure.
// The byte arithmetic is a pure function so it can be checked without a GL context.
//
//   countTextureMemory(textureStorageBytes(1024, 512, 4, GL_UNSIGNED_BYTE));  // 2 MiB
//   std::cout << textureMemoryBytes / (1024 * 1024) << " MiB";
#pragma once

#include <cstdint>

namespace Quorvel {

extern std::int32_t textureMemoryBytes;

// Bytes one storage allocation holds, each stored byte counted once: width x height x components
// x bytes per component. Components: the internal format itself for 1..4, 1 for depth
// (GL_DEPTH_COMPONENT24 or 32), 4 for anything else. Bytes per component: 1 for (unsigned)
// bytes, 2 for shorts and half floats, 4 otherwise (so RGBA8 is 4 bytes a pixel, depth 4).
// Wraps like 32-bit integer arithmetic instead of overflowing.
std::int32_t textureStorageBytes(std::uint32_t width, std::uint32_t height, std::int32_t internalFormat,
                                 std::uint32_t type);

// Adds one allocation to textureMemoryBytes (wrapping, never undefined).
void countTextureMemory(std::int32_t bytes);

}  // namespace Quorvel
