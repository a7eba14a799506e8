// The face scene's pictures. "credits.png" is set against the 1920 x 1080 reference: the
// production, the group, both members and their work, the soundtrack and the year, warm
// off-white with a soft glow on a transparent ground whose outermost pixels are fully clear
// (the scene clamps it). "face_bg.png" (1024 x 1024) is the opaque backdrop that scrolls
// vertically, so it repeats top to bottom without a seam and only darkens towards its sides.
// The head's own textures (normal map, light probe, eyes) live in face_surface_pictures.cpp.
#include <algorithm>
#include <cmath>
#include <vector>

#include "scenes/data_files.h"
#include "content/asset_list.h"
#include "content/content_style.h"
#include "content/face_surface_pictures.h"
#include "content/noise.h"
#include "content/picture.h"
#include "content/text_render.h"

namespace Quorvel::Assets {
namespace {


// A horizontal hairline fading out towards both ends, broken by a gap in its middle (for a word
// to sit in) or marked there by a small diamond.
Plane hairline(int halfWidth, int gap, bool diamond) {
    Plane rule(2 * halfWidth + 1, 25);
    for (int x = 0; x <= 2 * halfWidth; ++x) {
        const float along = std::abs(float(x - halfWidth)) / float(halfWidth);
        if (std::abs(x - halfWidth) > gap) rule.at(x, 12) = 0.8f * (1.0f - along * along);
    }
    if (!diamond) return rule;
    for (int y = 0; y < 25; ++y)
        for (int x = halfWidth - 12; x <= halfWidth + 12; ++x) {
            const float d = float(std::abs(x - halfWidth) + std::abs(y - 12));
            rule.at(x, y) = std::max(rule.at(x, y), std::clamp(9.5f - d, 0.0f, 1.0f));
        }
    return rule;
}

// A vertical hairline between the two members, fading out at both ends.
Plane divider(int height) {
    Plane line(1, height);
    for (int y = 0; y < height; ++y) {
        const float along = std::abs(2.0f * float(y) / float(height - 1) - 1.0f);
        line.at(0, y) = 0.6f * (1.0f - along * along);
    }
    return line;
}

// The credits' lines, each cropped to its ink.
struct CreditLines {
    Plane kicker, title, names[2], roles[2], soundtrack, year;
};

CreditLines setCreditLines() {
    const FontFace display(Fonts::kDisplay);
    const FontFace medium(Fonts::kTextMedium);
    const FontFace regular(Fonts::kTextRegular);
    return {medium.renderLine("A QUORVEL PRODUCTION", 30, 11.0f),
            display.renderLine("TALUVINE", 168, 26.0f),
            {display.renderLine("PELMO", 106, 12.0f), display.renderLine("TORNWICK", 106, 12.0f)},
            {regular.renderLine("CODE \xb7 DIRECTION", 36, 7.0f), regular.renderLine("MUSIC \xb7 SOUND", 36, 7.0f)},
            regular.renderLine("soundtrack \"Taluvine\" by Tornwick", 44, 1.0f),
            display.renderLine("2026", 62, 10.0f)};
}

// Where the lines go: everything centred on one axis, the members in two columns either side
// of it, as far apart as the wider name. The widest glow has a sigma of 18, so its 4-sigma tail
// ends well inside the 100-pixel margin and the outermost pixels stay exactly transparent.
struct CreditLayout {
    int width, height, centre, columnOffset;
    int kickerTop, titleTop, ruleTop, nameTop, roleTop, soundtrackTop, yearTop;
};

CreditLayout layOutCredits(const CreditLines& lines) {
    const int margin = 100, widest = std::max(lines.names[0].width, lines.names[1].width);
    CreditLayout at{};
    at.columnOffset = widest / 2 + 64;
    at.width = 2 * (at.columnOffset + widest / 2 + margin);
    at.centre = at.width / 2;
    at.kickerTop = margin;
    at.titleTop = at.kickerTop + lines.kicker.height + 36;
    at.ruleTop = at.titleTop + lines.title.height + 46;
    at.nameTop = at.ruleTop + 25 + 64;
    at.roleTop = at.nameTop + std::max(lines.names[0].height, lines.names[1].height) + 30;
    at.soundtrackTop = at.roleTop + std::max(lines.roles[0].height, lines.roles[1].height) + 84;
    at.yearTop = at.soundtrackTop + lines.soundtrack.height + 54;
    at.height = at.yearTop + lines.year.height + margin;
    return at;
}

Picture creditsPicture() {
    const CreditLines lines = setCreditLines();
    const CreditLayout at = layOutCredits(lines);
    Picture picture(at.width, at.height);
    const auto centred = [&](const Plane& line, int top, const TextStyle& style) {
        paintText(picture, line, at.centre - line.width / 2, top, style);
    };
    const Rgba ink = hexColour(Palette::kText), softInk = hexColour(Palette::kText, 0.88f);
    centred(lines.kicker, at.kickerTop, {softInk, hexColour(Palette::kAmber), 6.0f, 0.45f});
    centred(lines.title, at.titleTop, {ink, hexColour(Palette::kCyan), 18.0f, 0.7f});
    centred(hairline(lines.title.width / 2 + 30, 0, true), at.ruleTop, {ink, hexColour(Palette::kCyan), 5.0f, 0.9f});
    for (int i = 0; i < 2; ++i) {
        const int middle = at.centre + (i == 0 ? -at.columnOffset : at.columnOffset);
        const TextStyle nameStyle{ink, hexColour(Palette::kTeal), 14.0f, 0.75f};
        const TextStyle roleStyle{softInk, hexColour(Palette::kAmber), 5.0f, 0.4f};
        paintText(picture, lines.names[i], middle - lines.names[i].width / 2, at.nameTop, nameStyle);
        paintText(picture, lines.roles[i], middle - lines.roles[i].width / 2, at.roleTop, roleStyle);
    }
    paintText(picture, divider(at.roleTop + lines.roles[0].height - at.nameTop + 20), at.centre, at.nameTop - 10,
              {ink, hexColour(Palette::kCyan), 4.0f, 0.8f});
    centred(lines.soundtrack, at.soundtrackTop, {ink, hexColour(Palette::kAmber), 7.0f, 0.45f});
    const int yearHalf = lines.year.width / 2;
    centred(hairline(yearHalf + 170, yearHalf + 34, false), at.yearTop + lines.year.height / 2 - 12,
            {softInk, hexColour(Palette::kAmber), 4.0f, 0.8f});
    centred(lines.year, at.yearTop, {ink, hexColour(Palette::kAmber), 10.0f, 0.6f});
    return picture;
}

// A faint grid of light every 64 pixels whose lines come and go along their length, with a
// brighter node where two visible lines cross; blurred with wrap-around into a soft glow.
Plane gridLight(int size) {
    const int step = 64, lines = size / step;
    // How visible each line is at each point along it; the noise repeats with the picture.
    std::vector<float> showColumn(size_t(lines) * size_t(size)), showRow(showColumn.size());
    for (int i = 0; i < lines; ++i)
        for (int t = 0; t < size; ++t) {
            const float along = float(t) / float(step) * 0.5f, at = float(i) * 0.5f;
            const float column = fractalNoise(at + 7.0f, along, lines / 2, 2, 701);
            const float row = fractalNoise(along, at + 3.0f, lines / 2, 2, 702);
            showColumn[size_t(i) * size + t] = std::clamp(column * 2.2f + 0.2f, 0.0f, 1.0f);
            showRow[size_t(i) * size + t] = std::clamp(row * 2.2f + 0.2f, 0.0f, 1.0f);
        }
    Plane grid(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int column = (x + step / 2) / step, row = (y + step / 2) / step;
            const float dx = float(x - column * step), dy = float(y - row * step);
            const float across = std::exp(-dx * dx * 0.5f), along = std::exp(-dy * dy * 0.5f);
            const float showV = showColumn[size_t(column % lines) * size + y];
            const float showH = showRow[size_t(row % lines) * size + x];
            grid.at(x, y) = std::max(across * showV, along * showH) * 0.55f + across * along * showV * showH * 1.5f;
        }
    }
    const Plane glow = gaussianBlur(grid, 5.0f, true);
    for (size_t i = 0; i < grid.values.size(); ++i) grid.values[i] = 0.45f * grid.values[i] + 2.2f * glow.values[i];
    return grid;
}

// The backdrop at (u, v), both in [0, period): a mottled ink ground with soft teal veins, the
// ridges of domain-warped noise where it crosses zero, and the grid's light over it.
Rgba backgroundColour(float u, float v, int period, float gridLight) {
    const float mottle = 0.5f + 0.5f * fractalNoise(u, v, period, 4, 711);
    const float warp = fractalNoise(u + 5.3f, v + 1.1f, period, 3, 712);
    const float wave = fractalNoise(u * 1.5f + 0.8f * warp, v * 1.5f - 0.8f * warp, period * 3 / 2, 3, 713);
    const float vein = std::pow(std::clamp(1.0f - std::abs(wave), 0.0f, 1.0f), 22.0f);
    Rgba colour = mix(hexColour(Palette::kInkDeep), hexColour(Palette::kInk), std::clamp(mottle * 1.3f - 0.1f, 0.0f, 1.0f));
    colour = mix(colour, hexColour(0x10243a), 0.5f * vein * mottle);
    colour = mix(colour, hexColour(Palette::kTeal), 0.10f * vein);
    return mix(colour, hexColour(Palette::kCyan), std::min(0.12f, 0.07f * gridLight));
}

Picture backgroundPicture() {
    const int size = 1024, period = 4;
    const Plane grid = gridLight(size);
    Picture picture(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = float(x) / float(size) * float(period), v = float(y) / float(size) * float(period);
            Rgba colour = backgroundColour(u, v, period, grid.at(x, y));
            // Darker only towards the sides: the picture scrolls vertically.
            const float side = std::abs(float(x) / float(size - 1) - 0.5f) * 2.0f;
            for (int c = 0; c < 3; ++c) colour[c] *= 1.0f - 0.6f * side * side;
            colour[3] = 1.0f;
            picture.set(x, y, colour);
        }
    }
    return picture;
}

}  // namespace

void writeFacePictures(const std::string& dataDir) {
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kCredits), creditsPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kFaceBackground), backgroundPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kFaceNormals), faceNormalPicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kLightProbe), faceLightProbePicture());
    writePng(DataFiles::inDataFolder(dataDir, DataFiles::kEyesPicture), faceEyesPicture());
}

}  // namespace Quorvel::Assets
