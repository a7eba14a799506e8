// The timing overlay's font atlas, as the asset generator writes it and the preview reads it:
// printable ASCII (32..126) of a monospaced face in a grid of equal cells, 16 a row, white with
// the glyph's coverage as alpha, each glyph's pen at its cell's left edge plus kPadX and its
// baseline at the same row in every cell. The cells' size is not stored anywhere else: it is the
// picture's size over the grid, and a glyph's advance is the cell less its two pads (ink may
// reach one pixel past the advance on either side). No GL, no files.
//
//   const int advance = OverlayFont::advance(atlasWidth);          // pixels from one glyph to the next
//   const OverlayFont::Cell cell = OverlayFont::cellOf('A');       // column 1, row 2
#pragma once

namespace Quorvel::OverlayFont {

// Where the generator writes it and the preview loads it (relative to the working directory).
constexpr const char* kPath = "data/overlay_font.png";

constexpr int kFirst = 32;  // ' '
constexpr int kLast = 126;  // '~'
constexpr int kColumns = 16;
constexpr int kRows = (kLast - kFirst + kColumns) / kColumns;  // 6
constexpr int kPadX = 1;         // blank columns each side of the advance, for ink that overhangs it
constexpr int kPixelSize = 14;   // pixels per em the face is set at

struct Cell {
    int column = 0, row = 0;
};

// The cell of a character; one outside the range takes '?''s.
constexpr Cell cellOf(char c) {
    const int code = (static_cast<unsigned char>(c) < kFirst || static_cast<unsigned char>(c) > kLast)
                         ? int('?')
                         : static_cast<unsigned char>(c);
    return {(code - kFirst) % kColumns, (code - kFirst) / kColumns};
}

// A glyph's advance in an atlas `atlasWidth` pixels wide.
constexpr int advance(int atlasWidth) { return atlasWidth / kColumns - 2 * kPadX; }

}  // namespace Quorvel::OverlayFont
