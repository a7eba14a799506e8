// The helix scene's pictures. "helix_wall.png" (1920 x 1080) is the background the scene
// stretches over its target, so it is also the reference frame of the other two: an organic
// cell texture in the ink-blue ground. "helix_clouds.png" (512 x 512) tiles at its own pixel
// size and drifts over the wall; its alpha is the cloud density. "helix_title_crop.png" is the
// production's title, shown once from the top-left corner at its own pixel size, with a fully
// transparent border because the scene clamps it and its edge fills the rest of the screen.
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

Picture wallPicture() {
    const int width = 1920, height = 1080;
    Picture picture(width, height);
    const Rgba deep = hexColour(Palette::kInkDeep), ground = hexColour(Palette::kInk), membrane = hexColour(0x12324a);
    const Rgba teal = hexColour(Palette::kTeal);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = float(x) / 120.0f, v = float(y) / 120.0f;
            const float warp = fractalNoise(u * 0.35f, v * 0.35f, 64, 3, 501);
            const float cell = cellDistance(u + 0.6f * warp, v + 0.6f * warp, 64, 502);
            const float fine = cellDistance(u * 3.1f + warp, v * 3.1f - warp, 256, 503);
            const float mottle = fractalNoise(u * 0.6f, v * 0.6f, 64, 5, 504);
            // Bright thin membranes where cells meet, dark nuclei in their middle.
            const float edge = std::clamp(1.0f - std::abs(cell - 0.62f) * 5.0f, 0.0f, 1.0f);
            float level = 0.35f + 0.35f * mottle + 0.25f * edge * edge - 0.12f * std::clamp(0.35f - cell, 0.0f, 1.0f);
            level += 0.06f * std::clamp(1.0f - fine * 2.5f, 0.0f, 1.0f);
            // Darker towards the corners so the helix reads against the middle.
            const float dx = float(x) / width - 0.5f, dy = float(y) / height - 0.5f;
            level *= 1.0f - 0.9f * (dx * dx + dy * dy);
            level = std::clamp(level, 0.0f, 1.0f);
            Rgba colour = mix(deep, ground, std::min(1.0f, level * 1.6f));
            colour = mix(colour, membrane, std::clamp(level * 1.6f - 0.9f, 0.0f, 1.0f));
            colour = mix(colour, teal, 0.05f * edge * level);
            colour[3] = 1.0f;
            picture.set(x, y, colour);
        }
    }
    return picture;
}

Picture cloudPicture() {
    const int size = 512, period = 4;
    Picture picture(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = float(x) / size * period, v = float(y) / size * period;
            const float wx = fractalNoise(u + 3.1f, v + 0.4f, period, 3, 611);
            const float n = fractalNoise(u + 1.2f * wx, v + 0.6f * wx, period, 6, 612);
            const float density = std::clamp((n + 0.15f) * 1.3f, 0.0f, 1.0f);
            Rgba colour = mix(hexColour(0x0d2a3c), hexColour(Palette::kCyan), std::clamp(density * 0.8f, 0.0f, 1.0f));
            colour[3] = density * density;
            picture.set(x, y, colour);
        }
    }
    return picture;
}

Picture titlePicture() {
    const FontFace display(Fonts::kDisplay);
    const FontFace text(Fonts::kTextRegular);
    const Plane title = display.renderLine("TALUVINE", 92, 16.0f);
    const Plane credit = text.renderLine("A QUORVEL PRODUCTION", 22, 7.0f);
    // The title stands 64 pixels in from the screen's top-left corner; its glow fades out well
    // inside the picture, so the outermost rows and columns stay transparent.
    const int left = 64, top = 56, gap = 26, margin = 48;
    const int width = left + std::max(title.width, credit.width) + margin;
    const int height = top + title.height + gap + credit.height + margin;
    Picture picture(width, height);
    const TextStyle titleStyle{hexColour(Palette::kText), hexColour(Palette::kCyan), 9.0f, 0.55f};
    paintText(picture, title, left, top, titleStyle);
    const TextStyle creditStyle{hexColour(Palette::kText, 0.85f), hexColour(Palette::kAmber), 4.0f, 0.35f};
    paintText(picture, credit, left + 3, top + title.height + gap, creditStyle);
    return picture;
}

}  // namespace

void writeHelixPictures(const std::string& dataDir) {
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kHelixWall), wallPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kHelixClouds), cloudPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kHelixTitle), titlePicture());
}

}  // namespace Quorvel::Assets
