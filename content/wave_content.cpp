// The spectrum landscape's content. "skydome.obj" is a sphere seen from inside (the landscape
// camera looks down at the lines, so the sky has to continue below the horizon), radius 20
// before the scene's scale of 3, its texture repeating four times around and twice from pole
// to pole so the stars stay sharp at the camera's narrow view. "wave_skydome2.png" is that
// repeating tile: a dark nebula in the palette with stars, opaque, added to black by the scene.
// "name_pelmo.png" and "name_tornwick.png" are the two members' names with their roles,
// measured against a 1920 x 1080 frame, with fully transparent borders.
#include <algorithm>
#include <cmath>

#include "scenes/data_files.h"
#include "content/asset_list.h"
#include "content/content_style.h"
#include "content/mesh_builder.h"
#include "content/noise.h"
#include "content/picture.h"
#include "content/text_render.h"

namespace Quorvel::Assets {
namespace {


MeshBuilder skyDome() {
    const float radius = 20.0f;
    MeshBuilder sphere = MeshBuilder::surface(
        96, 48,
        [radius](float u, float v) {
            const float longitude = u * 2.0f * kPi, latitude = (v - 0.5f) * kPi;
            return Vec3{radius * std::cos(latitude) * std::cos(longitude),
                        radius * std::cos(latitude) * std::sin(longitude), radius * std::sin(latitude)};
        },
        /*wrapU=*/true);
    sphere.smoothNormals(/*flip=*/true);  // seen from inside
    for (auto& t : sphere.texCoords) t = {t[0] * 4.0f, t[1] * 2.0f};
    return sphere;
}

// A soft star: a Gaussian dot added to the tile, wrapping around its edges.
void addStar(std::vector<float>& glow, int size, float cx, float cy, float radius, float energy) {
    const int reach = int(std::ceil(radius * 3.0f));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int x = (int(cx) + dx + size) % size, y = (int(cy) + dy + size) % size;
            const float fx = float(int(cx) + dx) - cx, fy = float(int(cy) + dy) - cy;
            glow[size_t(y) * size_t(size) + size_t(x)] += energy * std::exp(-(fx * fx + fy * fy) / (radius * radius));
        }
}

Picture nebulaTile() {
    const int size = 2048, period = 4;
    Prng random(8801);
    std::vector<float> stars(size_t(size) * size, 0.0f), warmStars(size_t(size) * size, 0.0f);
    for (int i = 0; i < 2600; ++i) {
        const float x = random.uniform() * size, y = random.uniform() * size;
        const float pick = random.uniform();
        const float energy = 0.25f + 1.1f * std::pow(random.uniform(), 6.0f);
        const float radius = 0.7f + 0.9f * std::pow(random.uniform(), 4.0f);
        addStar(pick < 0.15f ? warmStars : stars, size, x, y, radius, energy);
    }
    Picture picture(size, size);
    const Rgba ink = hexColour(Palette::kInkDeep), ground = hexColour(Palette::kInk), teal = hexColour(Palette::kTeal);
    const Rgba cyan = hexColour(Palette::kCyan), coral = hexColour(Palette::kCoral), amber = hexColour(Palette::kAmber);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = float(x) / size * period, v = float(y) / size * period;
            const float warp = fractalNoise(u * 0.5f + 7.3f, v * 0.5f, period / 2, 3, 8811);
            const float gas = fractalNoise(u + 1.4f * warp, v - 1.1f * warp, period, 6, 8812);
            const float tint = fractalNoise(u * 0.5f - 3.0f, v * 0.5f + 2.0f, period / 2, 2, 8813);
            const float cloud = std::clamp(gas * 1.4f + 0.1f, 0.0f, 1.0f);
            const float filament = std::clamp(1.0f - std::abs(gas) * 6.0f, 0.0f, 1.0f);
            Rgba colour = mix(ink, ground, std::clamp(0.5f + warp, 0.0f, 1.0f));
            const Rgba gasColour = mix(teal, coral, std::clamp(tint * 1.5f + 0.35f, 0.0f, 1.0f));
            colour = mix(colour, gasColour, 0.28f * cloud * cloud);
            colour = mix(colour, cyan, 0.06f * filament * filament);
            // Fewer stars where the gas is thick, as if it hid them.
            const float hidden = 1.0f - 0.6f * cloud;
            const size_t i = size_t(y) * size_t(size) + size_t(x);
            const float white = std::min(1.0f, stars[i] * hidden), warm = std::min(1.0f, warmStars[i] * hidden);
            colour = mix(colour, hexColour(0xe8f4ff), white);
            colour = mix(colour, amber, warm);
            colour[3] = 1.0f;
            picture.set(x, y, colour);
        }
    }
    return picture;
}

// A member's name in the display face with the role beneath it in the text face, starting
// `margin` pixels in from the picture's top-left corner, where the scene anchors it.
Picture namePicture(const std::string& name, const std::string& role, int nameSize, std::uint32_t glow) {
    const FontFace display(Fonts::kDisplay);
    const FontFace text(Fonts::kTextLight);
    const Plane word = display.renderLine(name, nameSize, 10.0f);
    const Plane line = text.renderLine(role, nameSize * 3 / 10, 9.0f);
    const int margin = 56, gap = nameSize / 5;
    Picture picture(margin * 2 + std::max(word.width, line.width), margin * 2 + word.height + gap + line.height);
    paintText(picture, word, margin, margin, {hexColour(Palette::kText), hexColour(glow), 10.0f, 0.7f});
    paintText(picture, line, margin + 4, margin + word.height + gap,
              {hexColour(Palette::kText, 0.9f), hexColour(glow), 4.0f, 0.45f});
    return picture;
}

}  // namespace

void writeWaveContent(const std::string& dataDir) {
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kSkyDome), skyDome());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kSkyPicture), nebulaTile());
    // Tornwick's corner leaves 720 reference pixels to the screen's right edge.
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kSecondName), namePicture("TORNWICK", "music  &  sound", 104, Palette::kAmber));
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kFirstName), namePicture("PELMO", "code  &  direction", 132, Palette::kCyan));
}

}  // namespace Quorvel::Assets
