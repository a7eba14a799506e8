#include "content/text_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace Quorvel::Assets {

std::string fontPath(const std::string& relative) { return "/usr/share/fonts/opentype/" + relative; }

struct FontFace::Handles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

FontFace::FontFace(const std::string& path) : handles(new Handles) {
    if (FT_Init_FreeType(&handles->library) != 0) {
        delete handles;
        throw std::runtime_error("freetype: cannot initialise");
    }
    if (FT_New_Face(handles->library, path.c_str(), 0, &handles->face) != 0) {
        FT_Done_FreeType(handles->library);
        delete handles;
        throw std::runtime_error("freetype: cannot open font " + path);
    }
}

FontFace::~FontFace() {
    FT_Done_Face(handles->face);
    FT_Done_FreeType(handles->library);
    delete handles;
}

namespace {

// One rendered glyph: its coverage and where its top-left pixel goes relative to the pen origin.
struct PlacedGlyph {
    Plane coverage;
    int left = 0;
    int top = 0;  // distance of the top row above the baseline
    long penX = 0;  // pen position in 26.6 fixed point
};

Plane copyBitmap(const FT_Bitmap& bitmap) {
    Plane plane(int(bitmap.width), int(bitmap.rows));
    for (int y = 0; y < int(bitmap.rows); ++y) {
        const unsigned char* row = bitmap.buffer + long(y) * bitmap.pitch;
        for (int x = 0; x < int(bitmap.width); ++x) plane.at(x, y) = float(row[x]) / 255.0f;
    }
    return plane;
}

}  // namespace

Plane FontFace::renderLine(const std::string& text, int pixelSize, float tracking) const {
    FT_Face face = handles->face;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) throw std::runtime_error("freetype: bad size");
    std::vector<PlacedGlyph> glyphs;
    long pen = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0) pen += kern.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            throw std::runtime_error("freetype: cannot render a glyph");
        }
        PlacedGlyph glyph;
        glyph.coverage = copyBitmap(face->glyph->bitmap);
        glyph.left = face->glyph->bitmap_left;
        glyph.top = face->glyph->bitmap_top;
        glyph.penX = pen;
        glyphs.push_back(std::move(glyph));
        pen += face->glyph->advance.x + long(std::lround(tracking * 64.0f));
        previous = index;
    }
    // Inked bounds relative to the pen origin on the baseline (y grows downwards).
    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
    for (const PlacedGlyph& g : glyphs) {
        if (g.coverage.width == 0 || g.coverage.height == 0) continue;
        const int x0 = int(g.penX >> 6) + g.left;
        minX = std::min(minX, x0);
        maxX = std::max(maxX, x0 + g.coverage.width);
        minY = std::min(minY, -g.top);
        maxY = std::max(maxY, -g.top + g.coverage.height);
    }
    if (minX > maxX) return Plane(1, 1);
    Plane line(maxX - minX, maxY - minY);
    for (const PlacedGlyph& g : glyphs) {
        const int x0 = int(g.penX >> 6) + g.left - minX;
        const int y0 = -g.top - minY;
        for (int y = 0; y < g.coverage.height; ++y) {
            for (int x = 0; x < g.coverage.width; ++x) {
                float& dst = line.at(x0 + x, y0 + y);
                dst = std::min(1.0f, dst + g.coverage.at(x, y));
            }
        }
    }
    return line;
}

namespace {

void loadGlyph(FT_Face face, unsigned char ch, int pixelSize) {
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) throw std::runtime_error("freetype: bad size");
    if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT) != 0 || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        throw std::runtime_error("freetype: cannot render a glyph");
}

}  // namespace

FontFace::CellMetrics FontFace::cellMetrics(int pixelSize) const {
    FT_Face face = handles->face;
    loadGlyph(face, '0', pixelSize);
    CellMetrics metrics;
    metrics.advance = int((face->glyph->advance.x + 32) >> 6);
    metrics.ascent = int((face->size->metrics.ascender + 63) >> 6);
    metrics.descent = int((-face->size->metrics.descender + 63) >> 6);
    return metrics;
}

Plane FontFace::renderCell(unsigned char ch, int pixelSize, int width, int height, int penX, int baseline) const {
    loadGlyph(handles->face, ch, pixelSize);
    const FT_GlyphSlot glyph = handles->face->glyph;
    const Plane coverage = copyBitmap(glyph->bitmap);
    Plane cell(width, height);
    const int x0 = penX + glyph->bitmap_left, y0 = baseline - glyph->bitmap_top;
    for (int y = std::max(0, -y0); y < coverage.height && y0 + y < height; ++y)
        for (int x = std::max(0, -x0); x < coverage.width && x0 + x < width; ++x)
            cell.at(x0 + x, y0 + y) = coverage.at(x, y);
    return cell;
}

void paintText(Picture& picture, const Plane& coverage, int left, int top, const TextStyle& style) {
    const int margin = int(std::ceil(style.glowSigma * 4.0f));
    Plane padded(coverage.width + 2 * margin, coverage.height + 2 * margin);
    for (int y = 0; y < coverage.height; ++y)
        for (int x = 0; x < coverage.width; ++x) padded.at(x + margin, y + margin) = coverage.at(x, y);
    const Plane glow = gaussianBlur(padded, style.glowSigma);
    for (int y = 0; y < padded.height; ++y) {
        for (int x = 0; x < padded.width; ++x) {
            const float g = std::min(1.0f, glow.at(x, y) * style.glowStrength);
            const int px = left - margin + x, py = top - margin + y;
            if (g >= 1.0f / 512.0f) {
                Rgba glowColour = style.glowColour;
                glowColour[3] *= g;
                picture.blendOver(px, py, glowColour);
            }
            const float c = padded.at(x, y);
            if (c > 0.0f) {
                Rgba ink = style.colour;
                ink[3] *= c;
                picture.blendOver(px, py, ink);
            }
        }
    }
}

}  // namespace Quorvel::Assets
