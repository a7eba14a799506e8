#include "engine/screen_quad.h"
#include "engine/texture_memory.h"

#include <gtest/gtest.h>

using namespace Quorvel;

namespace {
constexpr std::uint32_t kUnsignedByte = 0x1401;
constexpr std::uint32_t kFloat = 0x1406;
constexpr std::uint32_t kUnsignedShort = 0x1403;
constexpr std::int32_t kDepth24 = 0x81A6;  // GL_DEPTH_COMPONENT24
}  // namespace

// Each stored byte once: an 8-bit RGBA texel is 4 bytes, not 4 components x 4.
TEST(TextureMemory, CountsEachStoredByteOnce) {
    EXPECT_EQ(textureStorageBytes(1024, 512, 4, kUnsignedByte), 2097152);  // 2 MiB
    EXPECT_EQ(textureStorageBytes(1024, 576, 4, kUnsignedByte), 2359296);
    EXPECT_EQ(textureStorageBytes(1024, 576, kDepth24, kFloat), 2359296);  // 24-bit depth kept in 4 bytes
    EXPECT_EQ(textureStorageBytes(10, 10, 3, kUnsignedByte), 300);
    EXPECT_EQ(textureStorageBytes(10, 10, 1, kUnsignedShort), 200);
    EXPECT_EQ(textureStorageBytes(0, 10, 4, kUnsignedByte), 0);
}

TEST(TextureMemory, CounterOnlyGrowsAndWrapsWithoutOverflowing) {
    const std::int32_t before = textureMemoryBytes;
    countTextureMemory(textureStorageBytes(4096, 512, 4, kUnsignedByte));
    EXPECT_EQ(textureMemoryBytes - before, 8388608);
    EXPECT_EQ((textureMemoryBytes - before) / (1024 * 1024), 8);
    textureMemoryBytes = 2147483600;
    countTextureMemory(100);  // wraps instead of undefined signed overflow
    EXPECT_LT(textureMemoryBytes, 0);
    textureMemoryBytes = before;
}

TEST(ScreenQuad, FullscreenPutsTheLastRowAtTheTop) {
    const QuadCorners c = fullscreenQuadCorners(1.0f, 1.0f);
    EXPECT_EQ(c[0].x, -1.0f);
    EXPECT_EQ(c[0].y, 1.0f);
    EXPECT_EQ(c[0].t, 1.0f);  // top-left samples the top of a rendered image
    EXPECT_EQ(c[2].x, 1.0f);
    EXPECT_EQ(c[2].y, -1.0f);
    EXPECT_EQ(c[2].s, 1.0f);
    EXPECT_EQ(c[2].t, 0.0f);
}

TEST(ScreenQuad, PixelQuadScalesToTheReferenceFrame) {
    QuadCorners c = pixelQuadCorners(1.0f, 1.0f, 960, 540, 1080);
    EXPECT_EQ(c[0].t, 0.0f);  // first picture row at the top
    EXPECT_EQ(c[2].s, 2.0f);
    EXPECT_EQ(c[2].t, 2.0f);
    c = pixelQuadCorners(1.0f, 1.0f, 1920, 1080, 1080);
    EXPECT_EQ(c[2].s, 1.0f);
    EXPECT_EQ(c[2].t, 1.0f);
    c = pixelQuadCorners(0.0f, 0.0f, 0, 0, 1080);  // a picture that failed to load
    EXPECT_EQ(c[2].s, 0.0f);
    EXPECT_EQ(c[2].t, 0.0f);
}
