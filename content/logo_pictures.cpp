// The logo scene's pictures: "logo_logo.png", the group's name set in the display face with a
// warm glow on a transparent 1920 x 1080 frame (the quad covers the viewport, so one picture
// pixel is one pixel of a 1080p screen), and "logo_clouds.png", a 512 x 512 tile of drifting
// ink-and-teal cloud whose alpha is the cloud density the shader dissolves the logo with.
#include <algorithm>
#include <cmath>

#include "scenes/data_files.h"
#include "content/asset_list.h"
#include "content/content_style.h"
#include "content/noise.h"
#include "content/picture.h"
#include "content/text_render.h"

namespace Quorvel::Assets {
namespace {

constexpr std::uint32_t kWarmGlow = 0xffc48e;

Picture logoPicture() {
    Picture picture(1920, 1080);
    const FontFace display(Fonts::kDisplay);
    const FontFace text(Fonts::kTextLight);
    const Plane name = display.renderLine("QUORVEL", 236, 34.0f);
    const Plane byline = text.renderLine("PRESENTS", 34, 22.0f);

    const int nameLeft = (picture.width() - name.width) / 2;
    const int nameTop = 540 - name.height / 2 - 50;
    paintText(picture, name, nameLeft, nameTop, {hexColour(Palette::kText), hexColour(kWarmGlow), 22.0f, 0.75f});

    // A hairline under the name, fading out towards both ends, with a small diamond in its middle.
    const int ruleY = nameTop + name.height + 58;
    const int ruleHalf = name.width / 2 + 40;
    Plane rule(2 * ruleHalf + 1, 24);
    for (int x = 0; x <= 2 * ruleHalf; ++x) {
        const float along = std::abs(float(x - ruleHalf)) / float(ruleHalf);
        const float fade = 1.0f - along * along;
        if (std::abs(x - ruleHalf) > 22) rule.at(x, 12) = 0.85f * fade;
    }
    for (int y = 0; y < 24; ++y)
        for (int x = ruleHalf - 12; x <= ruleHalf + 12; ++x) {
            const float d = float(std::abs(x - ruleHalf) + std::abs(y - 12));
            rule.at(x, y) = std::clamp(9.5f - d, 0.0f, 1.0f);
        }
    paintText(picture, rule, 960 - ruleHalf, ruleY - 12, {hexColour(Palette::kText), hexColour(kWarmGlow), 6.0f, 0.9f});

    paintText(picture, byline, (picture.width() - byline.width) / 2, ruleY + 46,
              {hexColour(Palette::kText, 0.92f), hexColour(kWarmGlow), 8.0f, 0.5f});
    return picture;
}

Picture cloudTile(int size, std::uint32_t seed, std::uint32_t shadow, std::uint32_t light) {
    Picture picture(size, size);
    const int period = 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = float(x) / float(size) * float(period);
            const float v = float(y) / float(size) * float(period);
            // Domain warp for billowing shapes; every term tiles with the same period.
            const float wx = fractalNoise(u + 1.7f, v + 9.2f, period, 3, seed + 11);
            const float wy = fractalNoise(u + 8.3f, v + 2.8f, period, 3, seed + 23);
            const float n = fractalNoise(u + 0.9f * wx, v + 0.9f * wy, period, 6, seed);
            const float density = std::clamp(0.5f + 0.85f * n, 0.0f, 1.0f);
            const float shade = std::clamp(0.35f + 0.9f * fractalNoise(u, v, period, 4, seed + 37), 0.0f, 1.0f);
            Rgba colour = mix(hexColour(shadow), hexColour(light), shade * density);
            colour[3] = density * density * (3.0f - 2.0f * density);
            picture.set(x, y, colour);
        }
    }
    return picture;
}

}  // namespace

void writeLogoPictures(const std::string& dataDir) {
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kLogoPicture), logoPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kLogoClouds), cloudTile(512, 0x10905u, Palette::kInk, 0x3f8fa8));
}

}  // namespace Quorvel::Assets
