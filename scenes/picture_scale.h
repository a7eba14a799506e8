// How far texture coordinates run when one picture is laid over another at its own pixel
// size: extent x (reference pixels / picture pixels), in single precision. Used for the cloud
// tiles over the logo and the wall, and the title over the wall. Pure.
//
//   float su = relativeExtent(clouds.extentS, logo.width, clouds.width);  // 1024 over 256: 4
#pragma once

#include <cstdint>

namespace Quorvel::Ostrel {

// A picture without pixels (one that failed to load) gives 0, not a division by zero.
inline float relativeExtent(float extent, std::uint32_t referencePixels, std::uint32_t pixels) {
    if (pixels == 0) return 0.0f;
    return extent * (float(referencePixels) / float(pixels));
}

}  // namespace Quorvel::Ostrel
