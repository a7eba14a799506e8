// The size of the canvas's drawing buffer for the size it is shown at: the browser must never
// enlarge the picture, so the buffer has the displayed size in device pixels, unless the 16:9
// picture letterboxed inside it would be larger than the cap. Then the whole buffer is scaled
// down to bring the picture within the cap, and the browser enlarges it by that small factor:
// past 3840 x 2160 a sharper picture costs a GPU far more memory and fill than a viewer gains.
// When the GPU cannot keep up, the frame-rate guard draws fewer pixels: the same buffer scaled
// down per side, never below half the pixels per side nor a picture below 640 x 360.
// Pure arithmetic, no browser; choosing the scale is the guard's (frame_rate_guard.h).
//
//   CanvasSize size = drawingBufferSize(2560, 1440);          // {2560, 1440}
//   CanvasSize less = scaledDrawingBufferSize(1920, 1080, 0.5);  // {960, 540}
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

// The smallest picture the frame-rate guard draws: below it a scaled picture is too blurred to
// be worth the frames it gains. A smaller display is drawn at its own pixels whatever the GPU.
constexpr std::int32_t kMinPictureWidth = 640;
constexpr std::int32_t kMinPictureHeight = 360;
// Never fewer than half the pixels per side (a quarter of them): past that the enlargement
// blurs more than a slow frame rate hurts.
constexpr double kMinDrawingScale = 0.5;

// The lowest scale per side for a canvas displayed at `displayWidth` x `displayHeight`: half,
// raised so that the letterboxed picture of drawingBufferSize() stays at least 640 x 360, and
// 1 where that picture is smaller already or the size has no area.
double lowestDrawingScale(std::int32_t displayWidth, std::int32_t displayHeight);

// drawingBufferSize() with both sides times `scale` (rounded, at least 1 x 1), the scale held
// within lowestDrawingScale()..1. Past the picture cap the scale applies to the capped buffer,
// so that every step down draws fewer pixels. No area gives {0, 0}, as drawingBufferSize().
CanvasSize scaledDrawingBufferSize(std::int32_t displayWidth, std::int32_t displayHeight, double scale);

}  // namespace Quorvel::Web
