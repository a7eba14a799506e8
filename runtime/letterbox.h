// The 16:9 viewport inside a window of any size, centred, with black bars on the long sides.
// Integer arithmetic truncating toward zero, so odd bar sizes round down at the bottom/left.
//
//   Viewport v = letterbox(1024, 768);   // {0, 96, 1024, 576}
//   glViewport(v.x, v.y, v.width, v.height);
#pragma once

#include <cstdint>

namespace Quorvel {

struct Viewport {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Viewport& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

Viewport letterbox(std::int32_t windowWidth, std::int32_t windowHeight);

}  // namespace Quorvel
