// How much a frame's edges step: the frame set against the same moment rendered at twice the
// size and averaged down 2 x 2 (what a renderer takes as the smooth answer), measured where that
// answer has its strongest edges. A staircase shows as a large difference there; anti-aliasing
// brings it down. Pure arithmetic on RGBA pictures, no GL.
//
//   double figure = staircaseFigure(frame, w, h, twiceAsLarge);   // mean difference, 0-255
#pragma once

#include <cstdint>
#include <vector>

namespace Quorvel::Capture {

// A width x height picture from one of 2 width x 2 height: each pixel the mean of its 2 x 2 block.
std::vector<std::uint8_t> halveSize(const std::vector<std::uint8_t>& rgba, int width, int height);

// Positions (y * width + x) of the `share` of pixels with the largest luminance gradient.
std::vector<std::size_t> strongestEdges(const std::vector<std::uint8_t>& rgba, int width, int height, double share);

// The mean absolute difference of the colour channels of `frame` (width x height) against the
// halved `twiceAsLarge`, over the strongest 5 % of the halved picture's edges.
double staircaseFigure(const std::vector<std::uint8_t>& frame, int width, int height,
                       const std::vector<std::uint8_t>& twiceAsLarge);

}  // namespace Quorvel::Capture
