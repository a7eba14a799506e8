// The size of the canvas's drawing buffer for the size it is shown at: the browser must never
// enlarge the picture, so the buffer has the displayed size in device pixels, unless the 16:9
// picture letterboxed inside it would be larger than the cap. Then the whole buffer is scaled
// down to bring the picture within the cap, and the browser enlarges it by that small factor:
// past 3840 x 2160 a sharper picture costs a GPU far more memory and fill than a viewer gains.
// Pure arithmetic, no browser.
//
//   CanvasSize size = drawingBufferSize(2560, 1440);   // {2560, 1440}
//   CanvasSize big = drawingBufferSize(5120, 2880);    // {3840, 2160}
#pragma once

#include <cstdint>

namespace Quorvel::Web {

struct CanvasSize {
    std::int32_t width = 0, height = 0;
    bool operator==(const CanvasSize& o) const { return width == o.width && height == o.height; }
    bool operator!=(const CanvasSize& o) const { return !(*this == o); }
};

// The largest letterboxed picture drawn at the screen's own pixels.
constexpr std::int32_t kMaxPictureWidth = 3840;
constexpr std::int32_t kMaxPictureHeight = 2160;

// The drawing buffer for a canvas displayed at `displayWidth` x `displayHeight` device pixels.
// A size with no area (a minimised window, a page not laid out yet) gives {0, 0}: keep the
// buffer as it is.
CanvasSize drawingBufferSize(std::int32_t displayWidth, std::int32_t displayHeight,
                             std::int32_t maxPictureWidth = kMaxPictureWidth,
                             std::int32_t maxPictureHeight = kMaxPictureHeight);

}  // namespace Quorvel::Web
