#include "fuzz/picture_seeds.h"

#include <lodepng.h>

#include <stdexcept>

namespace Quorvel::FuzzSeeds {

std::vector<unsigned char> encodePicture(unsigned width, unsigned height, int colourType, unsigned bitDepth,
                                         bool interlaced) {
    lodepng::State state;
    state.encoder.auto_convert = 0;
    state.info_png.interlace_method = interlaced ? 1 : 0;
    state.info_png.color.colortype = LodePNGColorType(colourType);
    state.info_png.color.bitdepth = bitDepth;
    state.info_raw.colortype = LodePNGColorType(colourType);
    state.info_raw.bitdepth = bitDepth;
    if (colourType == LCT_PALETTE) {
        for (unsigned i = 0; i < (1u << bitDepth); ++i) {
            const unsigned char v = static_cast<unsigned char>(i * 255 / ((1u << bitDepth) - 1));
            lodepng_palette_add(&state.info_png.color, v, static_cast<unsigned char>(255 - v), 128, 255);
            lodepng_palette_add(&state.info_raw, v, static_cast<unsigned char>(255 - v), 128, 255);
        }
    }
    // Raw rows in the picture's own format: a diagonal pattern of every value the depth allows.
    const std::size_t bits = std::size_t(width) * lodepng_get_bpp(&state.info_raw);
    const std::size_t rowBytes = (bits + 7) / 8;
    std::vector<unsigned char> raw(rowBytes * height);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<unsigned char>(i * 37 + i / rowBytes * 11);
    std::vector<unsigned char> png;
    const unsigned error = lodepng::encode(png, raw, width, height, state);
    if (error != 0) throw std::runtime_error(lodepng_error_text(error));
    return png;
}

std::vector<unsigned char> withDeclaredSize(std::vector<unsigned char> png, unsigned width, unsigned height) {
    // Signature (8), IHDR length (4) and type (4), then width and height, big-endian.
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    lodepng_chunk_generate_crc(png.data() + 8);
    return png;
}

std::vector<NamedBytes> pictures() {
    std::vector<NamedBytes> seeds;
    auto add = [&](const std::string& name, std::vector<unsigned char> bytes) { seeds.push_back({name, std::move(bytes)}); };
    add("grey1_9x3.png", encodePicture(9, 3, LCT_GREY, 1));
    add("grey4_5x5.png", encodePicture(5, 5, LCT_GREY, 4));
    add("grey16_3x2.png", encodePicture(3, 2, LCT_GREY, 16));
    add("grey_alpha8_7x1.png", encodePicture(7, 1, LCT_GREY_ALPHA, 8));
    add("palette2_6x4.png", encodePicture(6, 4, LCT_PALETTE, 2));
    add("palette8_17x3.png", encodePicture(17, 3, LCT_PALETTE, 8));
    add("rgb8_1x1.png", encodePicture(1, 1, LCT_RGB, 8));
    add("rgb8_31x7_interlaced.png", encodePicture(31, 7, LCT_RGB, 8, true));
    add("rgba16_4x9.png", encodePicture(4, 9, LCT_RGBA, 16));
    add("rgba8_0x5.png", withDeclaredSize(encodePicture(1, 5, LCT_RGBA, 8), 0, 5));
    add("rgba8_huge.png", withDeclaredSize(encodePicture(2, 2, LCT_RGBA, 8), 200000, 200000));
    add("rgb8_wider_than_data.png", withDeclaredSize(encodePicture(8, 8, LCT_RGB, 8), 300, 8));
    return seeds;
}

}  // namespace Quorvel::FuzzSeeds
