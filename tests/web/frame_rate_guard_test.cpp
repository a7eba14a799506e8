// The web page's frame-rate guard, fed scripted frame times: a page whose frames wait for the
// display's next refresh, as a browser's animation frames do, and a GPU whose work per frame
// is written in each test.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/web/canvas_size.h"
#include "platform/web/frame_rate_guard.h"
#include "runtime/letterbox.h"

using namespace Quorvel;
using namespace Quorvel::Web;

namespace {

struct Change {
    double time, from, to;
};

// GPU seconds for a frame drawn at `scale` per side at demo time `time`.
using Work = std::function<double(double scale, double time)>;

class Page {
public:
    // `refresh` 0: a display that shows each frame as soon as it is drawn.
    Page(FrameRateGuard& guard, double refresh) : guard_(guard), refresh_(refresh) {}

    void play(double seconds, const Work& work) {
        for (const double end = time + seconds; time < end - 1e-9;) show(work(scale, time));
    }
    // One frame that took this long whatever the scale.
    void show(double seconds) {
        double interval = seconds;
        if (refresh_ > 0.0) interval = std::max(1.0, std::ceil(seconds / refresh_ - 1e-6)) * refresh_;
        // Timestamps a little early or late, as a browser's are.
        jitter_ = (jitter_ * 1103515245u + 12345u) & 0x7fffffffu;
        interval += (double(jitter_ % 1001) / 1000.0 - 0.5) * 0.0006;
        time += interval;
        const double next = guard_.frame(time, interval);
        if (next != scale) changes.push_back({time, scale, next});
        scale = next;
    }

    double time = 0.0;
    double scale = 1.0;
    std::vector<Change> changes;

private:
    FrameRateGuard& guard_;
    double refresh_;
    unsigned jitter_ = 7;
};

constexpr double k60Hz = 1.0 / 60.0;

Work fixed(double seconds) {
    return [seconds](double, double) { return seconds; };
}
// Work that grows with the pixels drawn.
Work perPixels(double secondsAtFull) {
    return [secondsAtFull](double scale, double) { return secondsAtFull * scale * scale; };
}

std::string trace(const std::vector<Change>& changes) {
    std::string text;
    for (const Change& c : changes)
        text += std::to_string(c.time) + "s " + std::to_string(c.from) + "->" + std::to_string(c.to) + "\n";
    return text;
}

int reversals(const std::vector<Change>& changes) {
    int count = 0;
    for (std::size_t i = 1; i < changes.size(); ++i)
        if ((changes[i].to > changes[i].from) != (changes[i - 1].to > changes[i - 1].from)) ++count;
    return count;
}

}  // namespace

TEST(FrameRateGuard, AGpuThatKeepsUpKeepsEveryPixel) {
    for (const double refresh : {k60Hz, 1.0 / 144.0}) {
        FrameRateGuard guard;
        guard.setDisplaySize(1920, 1080);
        Page page(guard, refresh);
        page.show(0.3);  // the first frame: scenes built, shaders compiled
        page.play(60.0, fixed(refresh * 0.8));
        EXPECT_TRUE(page.changes.empty()) << trace(page.changes);
        EXPECT_EQ(page.scale, 1.0);
    }
}

TEST(FrameRateGuard, AHopelesslySlowGpuGoesToTheLowestScaleWithinSecondsAndStaysThere) {
    // Frames over the display interval many times, and slower than the guard's stall limit:
    // the renderer's pace, not stalls.
    for (const double seconds : {0.2, 0.4}) {
        FrameRateGuard guard;
        guard.setDisplaySize(1920, 1080);
        Page page(guard, k60Hz);
        page.play(6.0, fixed(seconds));
        EXPECT_EQ(page.scale, 0.5) << seconds;
        page.play(60.0, fixed(seconds));
        EXPECT_EQ(page.scale, 0.5) << seconds;
        ASSERT_FALSE(page.changes.empty());
        EXPECT_LT(page.changes.back().time, 6.0) << trace(page.changes);
        for (std::size_t i = 1; i < page.changes.size(); ++i)
            EXPECT_GE(page.changes[i].time - page.changes[i - 1].time, 1.0) << trace(page.changes);
    }
}

TEST(FrameRateGuard, TheLowestScaleFollowsTheDisplaySize) {
    // 1171 x 659 shows a 1171 x 658 picture: the guard stops where its height is 360 pixels.
    FrameRateGuard guard;
    guard.setDisplaySize(1171, 659);
    Page page(guard, k60Hz);
    page.play(20.0, fixed(0.2));
    EXPECT_DOUBLE_EQ(page.scale, 360.0 / 658.0);
    const CanvasSize size = scaledDrawingBufferSize(1171, 659, page.scale);
    EXPECT_EQ(letterbox(size.width, size.height).height, 360);

    // The window made smaller: 800 x 450 may go no lower than 640 x 360.
    guard.setDisplaySize(800, 450);
    EXPECT_DOUBLE_EQ(guard.scale(), 0.8);
    page.play(20.0, fixed(0.2));
    EXPECT_DOUBLE_EQ(page.scale, 0.8);

    // A picture smaller than 640 x 360 never goes lower; nor does one the guard has not been
    // told the size of.
    for (const bool told : {true, false}) {
        FrameRateGuard small;
        if (told) small.setDisplaySize(390, 219);
        Page slow(small, k60Hz);
        slow.play(20.0, fixed(0.2));
        EXPECT_TRUE(slow.changes.empty()) << trace(slow.changes);
    }
}

TEST(FrameRateGuard, ALoadThatFollowsThePixelsSettlesOnAStepBetween) {
    // 30 ms at every pixel, 14.7 ms at 0.7 per side: the frames make each refresh from 0.7 on.
    {
        FrameRateGuard guard;
        guard.setDisplaySize(1920, 1080);
        Page page(guard, k60Hz);
        page.play(30.0, perPixels(0.030));
        EXPECT_EQ(page.scale, 0.7) << trace(page.changes);
        const std::size_t changes = page.changes.size();
        page.play(90.0, perPixels(0.030));
        EXPECT_EQ(page.changes.size(), changes) << trace(page.changes);
        EXPECT_LE(reversals(page.changes), 2) << trace(page.changes);
    }
    // A display showing each frame when it is ready: 28 ms at every pixel is 1.7 intervals,
    // 20 ms at 0.85 is 1.2, late but not by enough to give up more pixels, nor to raise.
    {
        FrameRateGuard guard;
        guard.setDisplaySize(1920, 1080);
        Page page(guard, 0.0);
        page.play(60.0, perPixels(0.028));
        EXPECT_EQ(page.scale, 0.85);
        EXPECT_EQ(page.changes.size(), 1u) << trace(page.changes);
    }
}

TEST(FrameRateGuard, StallsAndGapsChangeNothing) {
    FrameRateGuard guard;
    guard.setDisplaySize(1920, 1080);
    Page page(guard, k60Hz);
    for (int i = 0; i < 8; ++i) {
        page.play(7.0, fixed(0.008));
        page.show(0.5);  // a garbage collection, a new scene's first frame
    }
    page.show(0.3);
    page.show(0.6);  // two in a row
    page.play(7.0, fixed(0.008));
    page.show(30.0);  // the tab hidden for half a minute, without a reset
    page.play(7.0, fixed(0.008));
    EXPECT_TRUE(page.changes.empty()) << trace(page.changes);

    // Nor do they lower a scale the GPU keeps up with.
    FrameRateGuard lowered;
    lowered.setDisplaySize(1920, 1080);
    Page busy(lowered, k60Hz);
    busy.play(30.0, perPixels(0.030));
    ASSERT_EQ(busy.scale, 0.7);
    const std::size_t changes = busy.changes.size();
    for (int i = 0; i < 4; ++i) {
        busy.show(0.5);
        busy.play(3.0, perPixels(0.030));
    }
    EXPECT_EQ(busy.changes.size(), changes) << trace(busy.changes);
}

TEST(FrameRateGuard, ALoadThatComesAndGoesStopsAtTheLowerScale) {
    // A light scene and a heavy one taking turns every 6 s for three minutes.
    const Work turns = [](double scale, double time) {
        return int(time / 6.0) % 2 == 0 ? 0.008 : 0.030 * scale * scale;
    };
    FrameRateGuard guard;
    guard.setDisplaySize(1920, 1080);
    Page page(guard, k60Hz);
    page.play(180.0, turns);
    const std::string changes = trace(page.changes);
    EXPECT_EQ(reversals(page.changes), 2) << changes;
    EXPECT_TRUE(guard.settled());
    ASSERT_FALSE(page.changes.empty());
    EXPECT_LT(page.changes.back().time, 60.0) << changes;
    EXPECT_LT(page.scale, 1.0) << changes;
    EXPECT_EQ(page.scale, 0.7) << changes;  // the heavy scene makes every refresh from 0.7 on
}

TEST(FrameRateGuard, AResetForgetsTheFramesButKeepsTheScale) {
    // 1.5 s of slow frames before a pause and 1.5 s after are not 2 s of frames.
    FrameRateGuard guard;
    guard.setDisplaySize(1920, 1080);
    Page page(guard, k60Hz);
    page.play(1.5, fixed(0.1));
    guard.reset();
    page.show(20.0);  // the frame after the pause
    page.play(1.5, fixed(0.1));
    EXPECT_TRUE(page.changes.empty()) << trace(page.changes);
    page.play(1.0, fixed(0.1));
    ASSERT_EQ(page.changes.size(), 1u) << trace(page.changes);

    const double lowered = page.scale;
    guard.reset();
    EXPECT_EQ(guard.scale(), lowered);
    page.show(0.1);
    EXPECT_EQ(page.scale, lowered);
}

TEST(FrameRateGuard, FullModeKeepsEveryPixel) {
    FrameRateGuard guard(true);
    guard.setDisplaySize(1920, 1080);
    Page page(guard, k60Hz);
    page.play(60.0, fixed(0.2));
    EXPECT_TRUE(page.changes.empty()) << trace(page.changes);
    EXPECT_EQ(guard.scale(), 1.0);
}
