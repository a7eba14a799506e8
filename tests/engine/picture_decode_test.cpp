// The picture half of Texture without GL: every PNG colour type comes out as RGBA rows of the
// right size, and headers declaring no pixels or more than allowed fail before any allocation.
#include <gtest/gtest.h>

#include <lodepng.h>

#include "engine/picture_decode.h"
#include "fuzz/picture_seeds.h"

using namespace Quorvel;
using namespace Quorvel::FuzzSeeds;

TEST(PictureDecode, EveryColourTypeAndOddSizeBecomesWholeRgbaRows) {
    struct Case {
        unsigned w, h;
        int type;
        unsigned depth;
        bool interlaced;
    };
    for (const Case& c : {Case{9, 3, LCT_GREY, 1, false}, Case{3, 2, LCT_GREY, 16, false},
                          Case{7, 1, LCT_GREY_ALPHA, 8, false}, Case{6, 4, LCT_PALETTE, 2, false},
                          Case{17, 3, LCT_PALETTE, 8, true}, Case{31, 7, LCT_RGB, 8, true}, Case{4, 9, LCT_RGBA, 16, false}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " type " + std::to_string(c.type));
        DecodedPicture p;
        ASSERT_EQ(decodePicture(encodePicture(c.w, c.h, c.type, c.depth, c.interlaced), 64, p), 0u);
        EXPECT_EQ(p.width, c.w);
        EXPECT_EQ(p.height, c.h);
        EXPECT_EQ(p.rgba.size(), size_t(c.w) * c.h * 4);
    }
    // A grey picture keeps its levels in all three channels, opaque.
    DecodedPicture grey;
    ASSERT_EQ(decodePicture(encodePicture(2, 1, LCT_GREY, 8), 64, grey), 0u);
    EXPECT_EQ(grey.rgba[0], grey.rgba[1]);
    EXPECT_EQ(grey.rgba[0], grey.rgba[2]);
    EXPECT_EQ(grey.rgba[3], 255);
}

TEST(PictureDecode, DeclaredSizesOfNothingOrTooMuchFailWithoutDecoding) {
    DecodedPicture p;
    EXPECT_EQ(decodePicture(withDeclaredSize(encodePicture(1, 5, LCT_RGBA, 8), 0, 5), 64, p), 93u);  // zero width
    EXPECT_TRUE(p.rgba.empty());
    // 200000 x 200000 would be 160 GB of RGBA: refused from the header alone.
    EXPECT_EQ(decodePicture(withDeclaredSize(encodePicture(2, 2, LCT_RGBA, 8), 200000, 200000), 16384, p),
              kPictureTooLarge);
    EXPECT_EQ(p.width, 0u);
    // The limit is per side and inclusive.
    EXPECT_EQ(decodePicture(encodePicture(64, 1, LCT_RGB, 8), 64, p), 0u);
    EXPECT_EQ(decodePicture(encodePicture(65, 1, LCT_RGB, 8), 64, p), kPictureTooLarge);
    // A header wider than its pixel data fails in the decoder and leaves nothing behind.
    EXPECT_NE(decodePicture(withDeclaredSize(encodePicture(8, 8, LCT_RGB, 8), 300, 8), 1024, p), 0u);
    EXPECT_TRUE(p.rgba.empty());
    EXPECT_NE(decodePicture({}, 64, p), 0u);
}
