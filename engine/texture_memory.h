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

// Counted the same way (allocations, never given back), for the loading report and the
// performance table: the part of textureMemoryBytes that holds pictures (the rest is render
// targets), and the renderbuffers of the multisampled buffers, which textures do not include.
extern std::int64_t pictureMemoryBytes;
extern std::int64_t renderbufferMemoryBytes;

// Bytes of one renderbuffer: width x height x samples (1 for none) x 4, colour or 24-bit depth
// alike (drivers keep both in four bytes a sample).
std::int64_t renderbufferStorageBytes(std::uint32_t width, std::uint32_t height, int samples);

}  // namespace Quorvel
