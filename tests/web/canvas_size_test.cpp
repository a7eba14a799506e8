// The canvas's drawing buffer for the size the page shows it at: the screen's own pixels up to
// a 3840 x 2160 picture, scaled down past that, and left alone while the page has no size.
#include <gtest/gtest.h>

#include "platform/web/canvas_size.h"
#include "runtime/letterbox.h"

using namespace Quorvel;
using namespace Quorvel::Web;

TEST(CanvasSize, TheDisplayedSizeInDevicePixelsUpToTheCap) {
    EXPECT_EQ(drawingBufferSize(960, 540), (CanvasSize{960, 540}));
    EXPECT_EQ(drawingBufferSize(1920, 1080), (CanvasSize{1920, 1080}));
    // A 1280 x 720 window at pixel ratio 2, and a phone held upright at ratio 3 (bars above and below).
    EXPECT_EQ(drawingBufferSize(2560, 1440), (CanvasSize{2560, 1440}));
    EXPECT_EQ(drawingBufferSize(1170, 2532), (CanvasSize{1170, 2532}));
    // Exactly the cap, and a wide window whose letterboxed picture is exactly the cap.
    EXPECT_EQ(drawingBufferSize(3840, 2160), (CanvasSize{3840, 2160}));
    EXPECT_EQ(drawingBufferSize(5120, 2160), (CanvasSize{5120, 2160}));
}

TEST(CanvasSize, PastTheCapTheWholeBufferShrinksAndThePictureStaysWithinIt) {
    EXPECT_EQ(drawingBufferSize(5120, 2880), (CanvasSize{3840, 2160}));
    EXPECT_EQ(drawingBufferSize(7680, 4320), (CanvasSize{3840, 2160}));
    // Odd sizes, wide and tall: the window's shape is kept and the picture never exceeds the cap.
    for (const CanvasSize display : {CanvasSize{5119, 2881}, CanvasSize{6001, 2499}, CanvasSize{4001, 9999},
                                     CanvasSize{3841, 2161}, CanvasSize{4000, 2250}}) {
        const CanvasSize size = drawingBufferSize(display.width, display.height);
        const Viewport picture = letterbox(size.width, size.height);
        EXPECT_LE(picture.width, kMaxPictureWidth) << display.width << "x" << display.height;
        EXPECT_LE(picture.height, kMaxPictureHeight) << display.width << "x" << display.height;
        EXPECT_GE(picture.width, kMaxPictureWidth - 2) << display.width << "x" << display.height;
        EXPECT_NEAR(double(size.width) / size.height, double(display.width) / display.height, 0.002);
    }
    EXPECT_EQ(drawingBufferSize(1000, 1000, 640, 360), (CanvasSize{640, 640}));
}

TEST(CanvasSize, NoAreaKeepsTheBufferAsItIs) {
    EXPECT_EQ(drawingBufferSize(0, 0), CanvasSize{});
    EXPECT_EQ(drawingBufferSize(1280, 0), CanvasSize{});
    EXPECT_EQ(drawingBufferSize(-5, 720), CanvasSize{});
    EXPECT_EQ(drawingBufferSize(1, 1), (CanvasSize{1, 1}));
}
