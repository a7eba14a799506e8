// libFuzzer entry point for the picture path of Texture: any bytes must decode or fail with a
// code, never crash or allocate for a size larger than allowed; a decoded picture is exactly
// width * height RGBA pixels within the allowed size.
//
//   build-fuzz/qvl_fuzz_picture /tmp/fuzz-picture build-fuzz/fuzz-seeds/picture   (see fuzz/README.md)
#include "engine/picture_decode.h"

#include <cstddef>
#include <cstdint>

namespace {
void require(bool condition) {
    if (!condition) __builtin_trap();
}
// Small enough that no input can make the fuzzer run out of memory, large enough for the seeds.
constexpr unsigned kLargestSide = 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> png(data, data + size);
    Quorvel::DecodedPicture picture;
    const unsigned error = Quorvel::decodePicture(png, kLargestSide, picture);
    if (error != 0) {
        require(picture.rgba.empty() && picture.width == 0 && picture.height == 0);
        return 0;
    }
    require(picture.width > 0 && picture.height > 0);
    require(picture.width <= kLargestSide && picture.height <= kLargestSide);
    require(picture.rgba.size() == std::size_t(picture.width) * picture.height * 4);
    return 0;
}
