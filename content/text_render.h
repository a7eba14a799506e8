// Sets a line of text in a real typeface with FreeType: anti-aliased glyph coverage in a
// Plane (1 inside a glyph, 0 outside), kerned where the font has a kerning table, with extra
// letter spacing on request, single glyphs in fixed cells (font atlases), and a helper that
// paints such coverage with a soft glow into a Picture. It does not wrap lines, shape complex
// scripts or pick fonts: callers name the file.
//
//   FontFace display(fontPath("league-spartan/LeagueSpartan-Bold.otf"));
//   Plane word = display.renderLine("QUORVEL", 220, 18.0f);
#pragma once

#include <string>

#include "content/picture.h"

namespace Quorvel::Assets {

// "/usr/share/fonts/opentype/" + `relative`.
std::string fontPath(const std::string& relative);

class FontFace {
public:
    // Opens the font file; throws std::runtime_error when FreeType cannot read it.
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Coverage of `text` (ASCII or Latin-1 code points) at `pixelSize` pixels per em with
    // `tracking` extra pixels after every glyph, cropped to the inked area (no margin).
    Plane renderLine(const std::string& text, int pixelSize, float tracking = 0.0f) const;

    // Whole pixels of a monospaced face at `pixelSize`, hinted: the advance (that of '0') and
    // the face's ascent and descent, rounded outwards.
    struct CellMetrics {
        int advance = 0, ascent = 0, descent = 0;
    };
    CellMetrics cellMetrics(int pixelSize) const;

    // One character's coverage in a `width` x `height` cell, pen at column `penX` and baseline
    // at row `baseline` (the first row below the ascent); ink outside the cell is cut.
    Plane renderCell(unsigned char ch, int pixelSize, int width, int height, int penX, int baseline) const;

private:
    struct Handles;
    Handles* handles;
};

// How a line of text is painted: its colour, and a glow of the glow colour made from the
// coverage blurred by `glowSigma` pixels, scaled by `glowStrength`.
struct TextStyle {
    Rgba colour;
    Rgba glowColour;
    float glowSigma = 8.0f;
    float glowStrength = 0.6f;
};

// Paints `coverage` with its top-left corner at (left, top) of the picture, glow first, text
// over it. Glow that would be fainter than 1/512 is dropped, so a margin of about four sigma
// around the text stays fully transparent.
void paintText(Picture& picture, const Plane& coverage, int left, int top, const TextStyle& style);

}  // namespace Quorvel::Assets
