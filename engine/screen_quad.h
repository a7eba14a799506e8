// Texture coordinates of the two screen quads that EmptyTexture draws: the full-screen quad
// for render targets (last row at the top) and the pixel-size quad for PNG pictures (first
// row at the top, one pixel = 1/1920 of the width and 1/referenceHeight of the height).
// Pure functions; the drawing members of EmptyTexture use them.
//
//   QuadCorners corners = pixelQuadCorners(1.0f, 1.0f, 960, 540, 1080);
//   // corners[2] is the bottom-right vertex with (s, t) = (2, 2)
#pragma once

#include <array>
#include <cstdint>

namespace Quorvel {

// One vertex of a screen quad: position (x, y) and texture coordinates (s, t).
struct QuadCorner {
    float x, y, s, t;
};

// The four vertices in drawing order: top-left, top-right, bottom-right, bottom-left.
using QuadCorners = std::array<QuadCorner, 4>;

// Full-screen quad: t runs from 0 at the bottom to extentT at the top.
QuadCorners fullscreenQuadCorners(float extentS, float extentT);
// Pixel-size quad of a width x height picture in a 1920 x referenceHeight frame. A picture
// without pixels (size 0) gets coordinates 0 rather than a division by zero.
QuadCorners pixelQuadCorners(float extentS, float extentT, std::uint32_t width, std::uint32_t height,
                             std::int32_t referenceHeight);

}  // namespace Quorvel
