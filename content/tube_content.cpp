// The tube scene's content. "inside_tube.obj" is a vein seen from inside: a tube along +y of
// uneven radius (about 1.6, wide enough for the cells at their placements), bending gently
// away once it is past the cells so the far end curves out of sight instead of ending in a
// visible hole; normals face inwards; texture coordinates run twice around and once every
// four units of length. "blood_cell.obj" is a biconcave disc of radius 1 (the scene scales it
// by 0.4) with smooth normals. The nine greetings are measured against a 1920 x 2000 frame:
// the camera sees about pixels 250-1670 across and rows 0-816 of the picture's quad, so the
// text is centred on (960, 400), large enough to read in the second it is shown.
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

constexpr float kTubeStart = -6.0f, kTubeLength = 66.0f;

// Centre line of the vein: straight where the cells tumble, then curving away to the side.
Vec3 veinCentre(float y) {
    const float past = std::max(0.0f, y - 22.0f);
    return {0.0035f * past * past, y, -0.0015f * past * past};
}

MeshBuilder veinMesh() {
    MeshBuilder vein = MeshBuilder::surface(
        72, 330,
        [](float u, float v) {
            const float angle = u * 2.0f * kPi, y = kTubeStart + v * kTubeLength;
            // Bulges and folds: noise around the ring (periodic, so the seam closes) and along y.
            const float ring = u * 8.0f, along = y * 0.35f;
            const float bumps = fractalNoise(ring, along, 8, 4, 7301);
            const float folds = std::sin(y * 1.3f + 2.0f * std::sin(angle * 3.0f)) * 0.05f;
            const float radius = 1.6f + 0.22f * bumps + folds;
            const Vec3 centre = veinCentre(y);
            return Vec3{centre.x + radius * std::cos(angle), y, centre.z + radius * std::sin(angle)};
        },
        /*wrapU=*/true);
    vein.smoothNormals(/*flip=*/true);
    for (auto& t : vein.texCoords) t = {t[0] * 2.0f, t[1] * kTubeLength / 4.0f};
    return vein;
}

// Half-thickness of a red blood cell at radius r (of 1): thin in the middle, a rounded rim.
float cellThickness(float r) {
    const float r2 = r * r;
    return 0.5f * std::sqrt(std::max(0.0f, 1.0f - r2)) * (0.21f + 2.0f * r2 - 1.12f * r2 * r2);
}

MeshBuilder cellMesh() {
    MeshBuilder cell = MeshBuilder::surface(
        48, 40,
        [](float u, float v) {
            // v runs over the top face from the centre to the rim, then back under the bottom face.
            const float angle = u * 2.0f * kPi, theta = v * kPi;
            const float r = std::sin(theta);
            const float side = theta < 0.5f * kPi ? 1.0f : -1.0f;
            const float z = side * std::max(cellThickness(r), 0.002f * (1.0f - r));
            return Vec3{r * std::cos(angle), r * std::sin(angle), z};
        },
        /*wrapU=*/true);
    return cell;
}

// A greeting: one or two lines of large type, centred on the part of the quad the camera sees.
Picture greetingPicture(const FontFace& face, const std::string& first, const std::string& second, int size,
                        std::uint32_t glow) {
    Picture picture(1920, 820);
    const TextStyle style{hexColour(Palette::kText), hexColour(glow), 12.0f, 0.75f};
    const Plane top = face.renderLine(first, size, size * 0.06f);
    if (second.empty()) {
        paintText(picture, top, (1920 - top.width) / 2, 400 - top.height / 2, style);
        return picture;
    }
    const Plane bottom = face.renderLine(second, size, size * 0.06f);
    const int gap = size / 4, height = top.height + gap + bottom.height;
    paintText(picture, top, (1920 - top.width) / 2, 400 - height / 2, style);
    paintText(picture, bottom, (1920 - bottom.width) / 2, 400 - height / 2 + top.height + gap, style);
    return picture;
}

}  // namespace

void writeTubeContent(const std::string& dataDir) {
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kVein), veinMesh());
    writeObj(DataFiles::inDataFolder(dataDir, DataFiles::kBloodCell), cellMesh());
    const FontFace bold(Fonts::kTextBold);
    const FontFace light(Fonts::kTextLight);
    const std::uint32_t amber = Palette::kAmber, cyan = Palette::kCyan, coral = Palette::kCoral;
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kGreetings[0]), greetingPicture(light, "QUORVEL SENDS", "GREETINGS TO", 120, cyan));
    // The seven groups between the opening and the closing line, in their files' order.
    const char* const groups[] = {"ABVECTRA", "BRINEFOLK", "CULVERIN 9", "DAPPLEGRID", "EFORIA", "GIMBAL HEART",
                                  "HOKUM ENGINE"};
    for (int k = 0; k < 7; ++k)
        writePng(DataFiles::inDataFolder(dataDir, DataFiles::kGreetings[std::size_t(k) + 1]),
                 greetingPicture(bold, groups[k], "", 170, (k % 2) == 0 ? amber : coral));
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kGreetings[8]), greetingPicture(light, "AND EVERYONE", "WHO MAKES DEMOS", 120, cyan));
}

}  // namespace Quorvel::Assets
