// The canvas's drawing buffer for the size the page shows it at: the screen's own pixels up to
// a 3840 x 2160 picture, scaled down past that, and left alone while the page has no size; and
// the smaller buffers the frame-rate guard asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

// The frame-rate guard's smaller buffers: the scale per side of the full buffer, never below
// half per side nor a picture below 640 x 360, and never above the full buffer.
TEST(CanvasSize, TheGuardsLowestScaleKeepsHalfThePixelsAndA640By360Picture) {
    EXPECT_DOUBLE_EQ(lowestDrawingScale(1920, 1080), 0.5);
    EXPECT_DOUBLE_EQ(lowestDrawingScale(1280, 720), 0.5);
    EXPECT_DOUBLE_EQ(lowestDrawingScale(960, 540), 2.0 / 3.0);
    // The picture letterboxed in 1171 x 659 is 1171 x 658, and an upright phone's 1170 x 658.
    EXPECT_DOUBLE_EQ(lowestDrawingScale(1171, 659), 360.0 / 658.0);
    EXPECT_DOUBLE_EQ(lowestDrawingScale(1170, 2532), 360.0 / 658.0);
    // Past the cap, half of the capped buffer.
    EXPECT_DOUBLE_EQ(lowestDrawingScale(7680, 4320), 0.5);
    // Small already, or nothing to draw: every pixel.
    EXPECT_DOUBLE_EQ(lowestDrawingScale(640, 360), 1.0);
    EXPECT_DOUBLE_EQ(lowestDrawingScale(390, 219), 1.0);
    EXPECT_DOUBLE_EQ(lowestDrawingScale(0, 0), 1.0);
}

TEST(CanvasSize, ScaledBuffersRoundAndHoldTheLowestScaleAndTheCap) {
    EXPECT_EQ(scaledDrawingBufferSize(1920, 1080, 1.0), (CanvasSize{1920, 1080}));
    EXPECT_EQ(scaledDrawingBufferSize(1920, 1080, 0.85), (CanvasSize{1632, 918}));
    EXPECT_EQ(scaledDrawingBufferSize(1920, 1080, 0.7), (CanvasSize{1344, 756}));
    EXPECT_EQ(scaledDrawingBufferSize(1920, 1080, 0.5), (CanvasSize{960, 540}));
    EXPECT_EQ(scaledDrawingBufferSize(1920, 1080, 0.2), (CanvasSize{960, 540}));
    EXPECT_EQ(scaledDrawingBufferSize(1280, 720, 0.3), (CanvasSize{640, 360}));
    EXPECT_EQ(scaledDrawingBufferSize(1280, 720, 2.0), (CanvasSize{1280, 720}));
    EXPECT_EQ(scaledDrawingBufferSize(7680, 4320, 1.0), (CanvasSize{3840, 2160}));
    EXPECT_EQ(scaledDrawingBufferSize(7680, 4320, 0.5), (CanvasSize{1920, 1080}));
    EXPECT_EQ(scaledDrawingBufferSize(1171, 659, 0.85), (CanvasSize{995, 560}));
    EXPECT_EQ(scaledDrawingBufferSize(1171, 659, 0.5), (CanvasSize{641, 361}));
    EXPECT_EQ(scaledDrawingBufferSize(390, 219, 0.5), (CanvasSize{390, 219}));
    EXPECT_EQ(scaledDrawingBufferSize(0, 720, 0.5), CanvasSize{});
    EXPECT_EQ(scaledDrawingBufferSize(1, 1, 0.5), (CanvasSize{1, 1}));

    // Odd sizes, wide, tall, tiny and past the cap, at every scale: never empty, never more
    // than the full buffer, at least half of it per side, a picture no smaller than 640 x 360
    // (or the whole picture where that is smaller) and within the cap, fewer pixels as the
    // scale drops.
    for (const CanvasSize display : {CanvasSize{1171, 659}, CanvasSize{390, 219}, CanvasSize{1279, 721},
                                     CanvasSize{641, 361}, CanvasSize{1001, 2000}, CanvasSize{3001, 999},
                                     CanvasSize{5119, 2881}, CanvasSize{7, 3}, CanvasSize{2, 1}, CanvasSize{1366, 768}}) {
        const CanvasSize full = drawingBufferSize(display.width, display.height);
        const Viewport whole = letterbox(full.width, full.height);
        CanvasSize larger = full;
        for (const double scale : {1.0, 0.99, 0.85, 0.7, 0.6, 0.55, 0.5, 0.3, 0.0}) {
            const CanvasSize size = scaledDrawingBufferSize(display.width, display.height, scale);
            const Viewport picture = letterbox(size.width, size.height);
            const std::string where = std::to_string(display.width) + "x" + std::to_string(display.height) +
                                      " at " + std::to_string(scale);
            EXPECT_GE(size.width, std::max(1, full.width / 2)) << where;
            EXPECT_GE(size.height, std::max(1, full.height / 2)) << where;
            EXPECT_LE(size.width, larger.width) << where;
            EXPECT_LE(size.height, larger.height) << where;
            EXPECT_GE(picture.width, std::min(640, whole.width)) << where;
            EXPECT_GE(picture.height, std::min(360, whole.height)) << where;
            EXPECT_LE(picture.width, kMaxPictureWidth) << where;
            EXPECT_LE(picture.height, kMaxPictureHeight) << where;
            larger = size;
        }
    }
}

TEST(CanvasSize, EveryWindowNearTheSmallestPictureKeepsIt) {
    // At the lowest scale the rounded buffer's letterboxed picture must not lose the pixel that
    // makes it 640 x 360.
    int shortOnes = 0;
    for (std::int32_t width = 600; width <= 1500; ++width)
        for (std::int32_t height = 330; height <= 900; ++height) {
            const Viewport whole = letterbox(width, height);
            const CanvasSize size = scaledDrawingBufferSize(width, height, 0.0);
            const Viewport picture = letterbox(size.width, size.height);
            if (picture.width < std::min(640, whole.width) || picture.height < std::min(360, whole.height)) {
                if (++shortOnes <= 3) ADD_FAILURE() << width << "x" << height << " gives " << size.width << "x" << size.height;
            }
        }
    EXPECT_EQ(shortOnes, 0);
}
