// The preview's timing overlay font, "overlay_font.png": printable ASCII set in the monospaced
// face in the grid tools/preview/overlay_font.h describes, white with coverage as alpha, so the
// overlay tints it with any colour. Hinted at its one size and drawn one atlas pixel to one
// screen pixel, it stays crisp where a scaled picture of text would blur.
#include "content/asset_list.h"
#include "content/content_style.h"
#include "content/picture.h"
#include "content/text_render.h"
#include "scenes/data_files.h"
#include "tools/preview/overlay_font.h"

namespace Quorvel::Assets {

void writeOverlayFont(const std::string& dataDir) {
    const FontFace mono(Fonts::kMono);
    const FontFace::CellMetrics metrics = mono.cellMetrics(OverlayFont::kPixelSize);
    const int cellWidth = metrics.advance + 2 * OverlayFont::kPadX;
    const int cellHeight = metrics.ascent + metrics.descent;
    Picture atlas(cellWidth * OverlayFont::kColumns, cellHeight * OverlayFont::kRows, {1.0f, 1.0f, 1.0f, 0.0f});
    for (int code = OverlayFont::kFirst; code <= OverlayFont::kLast; ++code) {
        const OverlayFont::Cell cell = OverlayFont::cellOf(char(code));
        const Plane glyph =
            mono.renderCell(static_cast<unsigned char>(code), OverlayFont::kPixelSize, cellWidth, cellHeight,
                            OverlayFont::kPadX, metrics.ascent);
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x)
                atlas.set(cell.column * cellWidth + x, cell.row * cellHeight + y, {1.0f, 1.0f, 1.0f, glyph.at(x, y)});
    }
    writePng(DataFiles::inDataFolder(dataDir, OverlayFont::kPath), atlas);
}

}  // namespace Quorvel::Assets
