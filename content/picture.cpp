#include "content/picture.h"

#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Quorvel::Assets {

Rgba hexColour(std::uint32_t rgb, float alpha) {
    return {float((rgb >> 16) & 0xff) / 255.0f, float((rgb >> 8) & 0xff) / 255.0f, float(rgb & 0xff) / 255.0f,
            alpha};
}

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    Rgba out;
    for (int i = 0; i < 4; ++i) out[i] = a[i] + (b[i] - a[i]) * t;
    return out;
}

Picture::Picture(int width, int height, const Rgba& fill) : w(width), h(height) {
    if (width <= 0 || height <= 0) throw std::runtime_error("picture: size must be positive");
    rgba.resize(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) std::copy(fill.begin(), fill.end(), rgba.begin() + long(i));
}

Rgba Picture::get(int x, int y) const {
    const float* p = &rgba[(size_t(y) * size_t(w) + size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Picture::set(int x, int y, const Rgba& colour) {
    float* p = &rgba[(size_t(y) * size_t(w) + size_t(x)) * 4];
    std::copy(colour.begin(), colour.end(), p);
}

void Picture::blendOver(int x, int y, const Rgba& colour) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const Rgba under = get(x, y);
    const float a = colour[3] + under[3] * (1.0f - colour[3]);
    if (a <= 0.0f) {
        set(x, y, {0.0f, 0.0f, 0.0f, 0.0f});
        return;
    }
    Rgba out;
    for (int i = 0; i < 3; ++i) out[i] = (colour[i] * colour[3] + under[i] * under[3] * (1.0f - colour[3])) / a;
    out[3] = a;
    set(x, y, out);
}

std::vector<std::uint8_t> Picture::toRgba8() const {
    std::vector<std::uint8_t> bytes(rgba.size());
    for (size_t i = 0; i < rgba.size(); ++i) {
        const float v = std::clamp(rgba[i], 0.0f, 1.0f);
        bytes[i] = std::uint8_t(std::lround(v * 255.0f));
    }
    return bytes;
}

namespace {

std::vector<float> gaussianKernel(float sigma) {
    const int radius = std::max(1, int(std::ceil(sigma * 3.0f)));
    std::vector<float> kernel(size_t(2 * radius + 1));
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) {
        kernel[size_t(i + radius)] = std::exp(-float(i * i) / (2.0f * sigma * sigma));
        sum += kernel[size_t(i + radius)];
    }
    for (float& k : kernel) k /= sum;
    return kernel;
}

// One blur direction: `stride` steps between neighbours, `count` samples per line.
void blurLines(const float* in, float* out, int lines, int count, size_t lineStride, size_t stride,
               const std::vector<float>& kernel, bool wrap) {
    const int radius = int(kernel.size() / 2);
    for (int line = 0; line < lines; ++line) {
        const float* src = in + size_t(line) * lineStride;
        float* dst = out + size_t(line) * lineStride;
        for (int i = 0; i < count; ++i) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k) {
                int j = i + k;
                if (wrap) {
                    j = ((j % count) + count) % count;
                } else if (j < 0 || j >= count) {
                    continue;
                }
                sum += src[size_t(j) * stride] * kernel[size_t(k + radius)];
            }
            dst[size_t(i) * stride] = sum;
        }
    }
}

}  // namespace

Plane gaussianBlur(const Plane& plane, float sigma, bool wrap) {
    if (sigma <= 0.0f) return plane;
    const std::vector<float> kernel = gaussianKernel(sigma);
    Plane across(plane.width, plane.height), result(plane.width, plane.height);
    blurLines(plane.values.data(), across.values.data(), plane.height, plane.width, size_t(plane.width), 1, kernel,
              wrap);
    blurLines(across.values.data(), result.values.data(), plane.width, plane.height, 1, size_t(plane.width),
              kernel, wrap);
    return result;
}

void writePng(const std::string& path, const Picture& picture) {
    const std::vector<std::uint8_t> bytes = picture.toRgba8();
    const unsigned error =
        lodepng::encode(path, bytes, unsigned(picture.width()), unsigned(picture.height()), LCT_RGBA, 8);
    if (error != 0) throw std::runtime_error("cannot write " + path + ": " + lodepng_error_text(error));
}

}  // namespace Quorvel::Assets
