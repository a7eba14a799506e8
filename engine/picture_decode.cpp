#include "engine/picture_decode.h"

#include <lodepng.h>

namespace Quorvel {

unsigned decodePicture(const std::vector<unsigned char>& png, unsigned largestSide, DecodedPicture& out) {
    out = DecodedPicture();
    unsigned width = 0, height = 0;
    lodepng::State state;
    unsigned error = lodepng_inspect(&width, &height, &state, png.data(), png.size());
    if (error != 0) return error;
    if (width > largestSide || height > largestSide) return kPictureTooLarge;
    error = lodepng::decode(out.rgba, width, height, png);
    if (error != 0) {
        out = DecodedPicture();
        return error;
    }
    out.width = width;
    out.height = height;
    return 0;
}

}  // namespace Quorvel
