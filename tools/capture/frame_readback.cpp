#include "tools/capture/frame_readback.h"

#include <GL/glew.h>
#include <lodepng.h>

#include <algorithm>
#include <stdexcept>

namespace Quorvel::Capture {

void flipRowsInPlace(std::vector<unsigned char>& rgba, int width, int height) {
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height / 2; ++y)
        std::swap_ranges(rgba.begin() + y * row, rgba.begin() + (y + 1) * row, rgba.begin() + (height - 1 - y) * row);
}

std::vector<unsigned char> readBackUpright(int width, int height) {
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    flipRowsInPlace(rgba, width, height);
    // The frame's alpha is whatever the blending left; a viewer sees the colour only.
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    return rgba;
}

void writePng(const std::string& path, const std::vector<unsigned char>& rgba, int width, int height) {
    const unsigned error = lodepng::encode(path, rgba, unsigned(width), unsigned(height));
    if (error) throw std::runtime_error("cannot write " + path + ": " + lodepng_error_text(error));
}

}  // namespace Quorvel::Capture
