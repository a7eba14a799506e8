// The picture half of Texture: PNG bytes to 8-bit RGBA rows, top row first, with no GL. The
// declared size is checked before anything is allocated, so a damaged or hostile header cannot
// ask for gigabytes; the caller passes the largest side its GL accepts.
//
//   DecodedPicture p;
//   unsigned error = decodePicture(bytes, 16384, p);   // 0: p.rgba holds width * height * 4 bytes
#pragma once

#include <cstdint>
#include <vector>

namespace Quorvel {

struct DecodedPicture {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgba;
};

// The decoder's error code for a picture wider or taller than the caller allows.
constexpr unsigned kPictureTooLarge = 92;

// Returns 0 on success or the PNG decoder's error code (its text: lodepng_error_text); a side
// above `largestSide` gives kPictureTooLarge. On failure `out` is left empty.
unsigned decodePicture(const std::vector<unsigned char>& png, unsigned largestSide, DecodedPicture& out);

}  // namespace Quorvel
