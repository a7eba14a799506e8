// A picture being painted by the asset generator: floating-point RGBA with straight (not
// premultiplied) alpha, rows top first, and the few operations the picture families share:
// compositing, separable Gaussian blur of one plane and writing an 8-bit PNG with lodepng.
// It does not load pictures or convert colour spaces; values are written as they are.
//
//   Picture sky(512, 512); sky.set(0, 0, {0.02f, 0.03f, 0.05f, 1.0f});
//   writePng(dataDir + "/sky.png", sky);
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Quorvel::Assets {

using Rgba = std::array<float, 4>;

// A colour from "#rrggbb" written as 0xrrggbb, with the given alpha.
Rgba hexColour(std::uint32_t rgb, float alpha = 1.0f);
// Component-wise a + (b - a) * t.
Rgba mix(const Rgba& a, const Rgba& b, float t);

class Picture {
public:
    Picture(int width, int height, const Rgba& fill = {0.0f, 0.0f, 0.0f, 0.0f});

    int width() const { return w; }
    int height() const { return h; }
    Rgba get(int x, int y) const;
    void set(int x, int y, const Rgba& colour);
    // Source-over of a straight-alpha colour onto pixel (x, y); outside the picture: nothing.
    void blendOver(int x, int y, const Rgba& colour);
    // 8-bit RGBA bytes, rounded and clamped to [0, 255], rows top first.
    std::vector<std::uint8_t> toRgba8() const;

private:
    int w, h;
    std::vector<float> rgba;
};

// A single-channel plane (coverage, density) of width x height floats, rows top first.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Plane() = default;
    Plane(int w, int h, float fill = 0.0f) : width(w), height(h), values(size_t(w) * size_t(h), fill) {}
    float& at(int x, int y) { return values[size_t(y) * size_t(width) + size_t(x)]; }
    float at(int x, int y) const { return values[size_t(y) * size_t(width) + size_t(x)]; }
};

// Separable Gaussian blur with standard deviation `sigma` pixels; beyond the edges the plane
// counts as 0 (text glows fade out) or, with `wrap`, repeats (tiling textures stay seamless).
Plane gaussianBlur(const Plane& plane, float sigma, bool wrap = false);

// Writes the picture as an 8-bit RGBA PNG. Throws std::runtime_error with lodepng's reason.
void writePng(const std::string& path, const Picture& picture);

}  // namespace Quorvel::Assets
