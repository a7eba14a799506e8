#include "runtime/letterbox.h"

namespace Quorvel {

Viewport letterbox(std::int32_t W, std::int32_t H) {
    const std::int32_t t = W * 9 / 16;
    Viewport v;
    if (t <= H) {  // exactly 16:9, or taller: bars top and bottom
        v.width = W;
        v.height = t;
    } else {       // wider: bars left and right
        v.width = H * 16 / 9;
        v.height = H;
    }
    v.x = (W - v.width) / 2;
    v.y = (H - v.height) / 2;
    return v;
}

}  // namespace Quorvel
