#include "platform/web/canvas_size.h"

#include <algorithm>
#include <cmath>

#include "runtime/letterbox.h"

namespace Quorvel::Web {

CanvasSize drawingBufferSize(std::int32_t displayWidth, std::int32_t displayHeight, std::int32_t maxPictureWidth,
                             std::int32_t maxPictureHeight) {
    if (displayWidth <= 0 || displayHeight <= 0) return {};
    const Viewport picture = letterbox(displayWidth, displayHeight);
    if (picture.width <= maxPictureWidth && picture.height <= maxPictureHeight) return {displayWidth, displayHeight};
    const double scale = std::min(double(maxPictureWidth) / picture.width, double(maxPictureHeight) / picture.height);
    CanvasSize size{std::max<std::int32_t>(1, std::int32_t(std::floor(displayWidth * scale))),
                    std::max<std::int32_t>(1, std::int32_t(std::floor(displayHeight * scale)))};
    // Rounding down the canvas can round the letterbox's picture up by a pixel only in the
    // dimension it fills; take a pixel off until the picture is within the cap.
    for (Viewport p = letterbox(size.width, size.height); p.width > maxPictureWidth || p.height > maxPictureHeight;
         p = letterbox(size.width, size.height)) {
        if (p.width > maxPictureWidth) --size.width;
        if (p.height > maxPictureHeight) --size.height;
    }
    return size;
}

double lowestDrawingScale(std::int32_t displayWidth, std::int32_t displayHeight) {
    const CanvasSize full = drawingBufferSize(displayWidth, displayHeight);
    const Viewport picture = letterbox(full.width, full.height);
    if (picture.width <= 0 || picture.height <= 0) return 1.0;
    return std::min(1.0, std::max({kMinDrawingScale, double(kMinPictureWidth) / picture.width,
                                   double(kMinPictureHeight) / picture.height}));
}

CanvasSize scaledDrawingBufferSize(std::int32_t displayWidth, std::int32_t displayHeight, double scale) {
    const CanvasSize full = drawingBufferSize(displayWidth, displayHeight);
    if (full.width <= 0 || !(scale < 1.0)) return full;  // also a NaN scale: every pixel
    scale = std::max(scale, lowestDrawingScale(displayWidth, displayHeight));
    // Never more than the full buffer, so the picture stays within the cap. Rounded to nearest,
    // not down: the picture at the lowest scale then keeps its 640 x 360 pixels despite the
    // letterbox's truncation.
    return {std::clamp<std::int32_t>(std::int32_t(std::lround(full.width * scale)), 1, full.width),
            std::clamp<std::int32_t>(std::int32_t(std::lround(full.height * scale)), 1, full.height)};
}

}  // namespace Quorvel::Web
