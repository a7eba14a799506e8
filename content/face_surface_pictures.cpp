// The face's own textures: the skin's fine relief as a normal map, the light probe that shades
// the head, and the eyes. The conventions the shader relies on are in face_surface_pictures.h.
#include "content/content_style.h"
#include "content/face_surface_pictures.h"

#include <algorithm>
#include <cmath>

#include "content/noise.h"

namespace Quorvel::Assets {
namespace {


float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Height of the skin at (u, v), in free units that faceNormalPicture scales. The texture runs
// about 55 cm around the head and 30 cm from neck to crown, so features have about 1.8 times
// as many cells across u as across v to come out round on the skin. Every term repeats across
// u (the cell counts along u are the noise periods).
float skinHeight(float u, float v) {
    const float pore = cellDistance(u * 176.0f, v * 96.0f, 176, 801);
    const float poreWeight = 0.55f + 0.45f * fractalNoise(u * 22.0f, v * 12.0f, 22, 2, 802);
    // Shallow furrows between the pores: ridges of noise, a net of fine lines.
    const float furrow = 1.0f - std::abs(fractalNoise(u * 88.0f, v * 48.0f, 88, 3, 804));
    const float swell = fractalNoise(u * 24.0f, v * 13.0f, 24, 3, 805);
    // No finer detail than the pores: the texture is drawn without mipmaps, and relief finer
    // than a pixel of a full-screen head only sparkles as the head moves.
    return -1.6f * poreWeight * std::exp(-pore * pore * 18.0f) - 0.5f * std::pow(furrow, 8.0f) + 1.3f * swell;
}

Rgba encodeNormal(float nx, float ny, float nz) {
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    return {nx / length * 0.5f + 0.5f, ny / length * 0.5f + 0.5f, nz / length * 0.5f + 0.5f, 1.0f};
}

// Light arriving from direction n (unit): deep ink below, a dim teal sky above, a soft cool
// key from above the front and left of centre (so it rakes across the features), a warm rim
// from the +x side and slightly behind. Broad lobes keep the probe smooth at any sampling.
Rgba probeRadiance(float nx, float ny, float nz) {
    const Rgba below = hexColour(0x060a16), sky = hexColour(0x16324a);
    const Rgba key = mix(hexColour(Palette::kCyan), hexColour(Palette::kTeal), 0.35f);
    const Rgba rim = mix(hexColour(Palette::kCoral), hexColour(Palette::kAmber), 0.4f);
    const float keyDir[3] = {-0.38f, 0.62f, 0.69f}, rimDir[3] = {0.93f, 0.12f, -0.35f};
    const float keyDot = std::max(0.0f, nx * keyDir[0] + ny * keyDir[1] + nz * keyDir[2]);
    const float rimDot = std::max(0.0f, nx * rimDir[0] + ny * rimDir[1] + nz * rimDir[2]);
    const float keyLobe = 0.72f * std::pow(keyDot, 2.5f), rimLobe = 0.8f * std::pow(rimDot, 3.5f);
    Rgba colour = mix(below, sky, smoothstep(-0.55f, 0.8f, ny));
    for (int c = 0; c < 3; ++c) colour[c] = std::min(1.0f, colour[c] + key[c] * keyLobe + rim[c] * rimLobe);
    colour[3] = 1.0f;
    return colour;
}

// Iris colour at radius r (fraction of the width) and angle a: an amber collarette round the
// pupil opening into teal fibres that darken towards the limbus, with darker crypts.
Rgba irisColour(float r, float a) {
    const float around = a / (2.0f * kPi) + 0.5f;
    const float fibres = fractalNoise(around * 72.0f, r * 10.0f, 72, 3, 901);
    const float strands = fractalNoise(around * 150.0f, r * 4.0f, 150, 2, 902);
    const float crypt = cellDistance(around * 18.0f, r * 30.0f, 18, 903);
    const float t = smoothstep(0.095f, 0.22f, r);
    const float collarette = 1.0f - smoothstep(0.10f, 0.145f + 0.012f * fibres, r);
    Rgba colour = mix(hexColour(Palette::kTeal), hexColour(0x0c4a58), smoothstep(0.12f, 0.22f, r));
    colour = mix(colour, hexColour(Palette::kCyan), 0.25f * std::clamp(fibres + strands, 0.0f, 1.0f) * (1.0f - t));
    colour = mix(colour, hexColour(Palette::kAmber), 0.8f * collarette);
    const float shade = 0.72f + 0.35f * fibres + 0.2f * strands - 0.25f * std::exp(-crypt * crypt * 8.0f) * t;
    for (int c = 0; c < 3; ++c) colour[c] *= std::clamp(shade, 0.3f, 1.2f);
    return colour;
}

// Sclera at radius r and angle a: warm off-white, a little darker and pinker towards the edge
// of the eyeball, with faint branching veins reaching in from the edge.
Rgba scleraColour(float r, float a) {
    const float around = a / (2.0f * kPi) + 0.5f;
    Rgba colour = mix(hexColour(0xefe8dc), hexColour(0xcdb3a6), smoothstep(0.26f, 0.62f, r));
    const float warp = fractalNoise(around * 6.0f, r * 4.0f, 6, 2, 911);
    const float ridge = 1.0f - std::abs(fractalNoise(around * 14.0f + 0.6f * warp, r * 5.0f, 14, 3, 912));
    const float vein = std::pow(ridge, 30.0f) * smoothstep(0.32f, 0.6f, r);
    return mix(colour, hexColour(0xb04a40), 0.3f * vein);
}

}  // namespace

Picture faceNormalPicture() {
    const int size = 1024;
    Plane height(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) height.at(x, y) = skinHeight((x + 0.5f) / size, (y + 0.5f) / size);
    // Central differences, wrapping across u and clamped at the neck and crown. The scale keeps
    // typical tilts at a degree or two with the pores a little deeper: a sculpted surface seen
    // from a few metres, not a close-up of skin.
    const float scale = 0.1f;
    Picture picture(size, size);
    for (int y = 0; y < size; ++y) {
        const int up = std::max(0, y - 1), down = std::min(size - 1, y + 1);
        for (int x = 0; x < size; ++x) {
            const float du = height.at((x + 1) % size, y) - height.at((x + size - 1) % size, y);
            const float dv = (height.at(x, down) - height.at(x, up)) * 2.0f / float(down - up);
            picture.set(x, y, encodeNormal(-scale * du, -scale * dv, 1.0f));
        }
    }
    return picture;
}

Picture faceLightProbePicture() {
    const int width = 512, height = 256;
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        const float polar = (y + 0.5f) / height * kPi;
        for (int x = 0; x < width; ++x) {
            const float azimuth = ((x + 0.5f) / width - 0.5f) * 2.0f * kPi;
            const float nx = std::sin(polar) * std::sin(azimuth), nz = std::sin(polar) * std::cos(azimuth);
            picture.set(x, y, probeRadiance(nx, std::cos(polar), nz));
        }
    }
    return picture;
}

Picture faceEyesPicture() {
    const int size = 256;
    const float pixel = 1.0f / size;
    Picture picture(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f) * pixel - 0.5f, dy = (y + 0.5f) * pixel - 0.5f;
            const float r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
            const float irisEdge = 0.22f + 0.002f * fractalNoise(a / (2.0f * kPi) * 24.0f + 12.0f, 0.5f, 24, 2, 921);
            Rgba colour = mix(irisColour(r, a), scleraColour(r, a), smoothstep(irisEdge - pixel, irisEdge + pixel, r));
            // The limbal ring: a dark band that softens into both the iris and the sclera.
            const float limbus = std::exp(-std::pow((r - irisEdge + 0.006f) / 0.018f, 2.0f));
            colour = mix(colour, hexColour(0x06141c), 0.85f * limbus);
            colour = mix(colour, hexColour(0x030407), 1.0f - smoothstep(0.09f - pixel, 0.09f + pixel, r));
            // The window's reflection, baked where the iris meets the pupil up and to the left.
            const float hx = dx + 0.062f, hy = dy + 0.066f;
            const float spot = std::exp(-(hx * hx + hy * hy) / (2.0f * 0.011f * 0.011f));
            const float gx = dx - 0.05f, gy = dy - 0.052f;
            const float glint = std::exp(-(gx * gx + gy * gy) / (2.0f * 0.005f * 0.005f));
            colour = mix(colour, hexColour(0xf6fbff), std::min(1.0f, 1.3f * spot + 0.45f * glint));
            colour[3] = 1.0f;
            picture.set(x, y, colour);
        }
    }
    return picture;
}

}  // namespace Quorvel::Assets
