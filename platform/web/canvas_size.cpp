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

}  // namespace Quorvel::Web
