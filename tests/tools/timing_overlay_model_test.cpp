// The preview's timing overlay without GL: which frames count for the medians and the graph, the
// lines it reads, where the graph's points and the display's frame interval fall, that the whole
// overlay stays a small panel in the picture's corner, and the key that shows it.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <string>
#include <vector>

#include "tools/preview/preview_keys.h"
#include "tools/preview/timing_overlay_model.h"

using namespace Quorvel;
using namespace Quorvel::Preview;

namespace {

TimedFrame helixFrame(long n, double gpuMs, double cpuMs, double objectMs = 1.0) {
    return {n, gpuMs, cpuMs,
            {{"helix", gpuMs - 0.5}, {"helix/object", objectMs}, {"helix/post", 0.25}, {"resolve", 0.5}}};
}

std::vector<std::string> texts(const std::vector<TextLine>& lines) {
    std::vector<std::string> out;
    for (const TextLine& line : lines) out.push_back(plainText(line));
    return out;
}

TEST(TimingOverlayModel, FrameIntervalOfTheDisplayWithSixtyHertzWhenUnknown) {
    EXPECT_NEAR(frameIntervalMs(60), 16.667, 0.001);
    EXPECT_NEAR(frameIntervalMs(144), 6.944, 0.001);
    EXPECT_NEAR(frameIntervalMs(0), 16.667, 0.001);  // GLFW's "don't know"
    EXPECT_NEAR(frameIntervalMs(-1), 16.667, 0.001);
}

TEST(TimingOverlayModel, HistoryKeepsThreeSecondsAndMediansTakeTheLastOne) {
    TimingHistory history;
    history.add({helixFrame(0, 90.0, 90.0)}, 10.0);  // gone by 13.5
    history.add({helixFrame(1, 50.0, 40.0), helixFrame(2, 50.0, 40.0)}, 11.0);  // graphed, not in the medians
    history.add({helixFrame(3, 4.0, 1.0, 2.0)}, 12.7);
    history.add({helixFrame(4, 6.0, 3.0, 2.0), helixFrame(5, 5.0, 2.0, 3.0)}, 13.5);
    ASSERT_EQ(history.entries().size(), 5u);
    EXPECT_EQ(history.entries().front().frame.frame, 1);
    EXPECT_EQ(history.entries().back().frame.frame, 5);

    const TimingSummary s = summarise(history, 13.5);
    EXPECT_EQ(s.frames, 3);
    EXPECT_DOUBLE_EQ(s.frameMs, 5.0);
    EXPECT_DOUBLE_EQ(s.cpuMs, 2.0);
    ASSERT_EQ(s.passes.size(), 4u);
    EXPECT_EQ(s.passes[1].name, "helix/object");
    EXPECT_DOUBLE_EQ(s.passes[1].ms, 2.0);
    EXPECT_EQ(s.passes[3].name, "resolve");

    history.clear();
    EXPECT_EQ(summarise(history, 13.5).frames, 0);
}

// The list follows what is drawn now: a scene that ended leaves it, one that began is there from
// its first frame, its median over only the frames that drew it.
TEST(TimingOverlayModel, PassesAreTheNewestFramesSpansEachOverTheFramesThatHaveIt) {
    TimingHistory history;
    history.add({helixFrame(0, 8.0, 2.0)}, 5.0);  // resolve 0.5
    history.add({{1, 3.0, 1.0, {{"tube", 2.0}, {"tube/post", 1.5}, {"resolve", 0.9}}}}, 5.1);
    history.add({{2, 4.0, 1.0, {{"tube", 3.0}, {"tube/post", 2.5}, {"resolve", 0.7}}}}, 5.2);
    const TimingSummary s = summarise(history, 5.2);
    ASSERT_EQ(s.passes.size(), 3u);
    EXPECT_EQ(s.passes[0].name, "tube");
    EXPECT_DOUBLE_EQ(s.passes[0].ms, 2.5);
    EXPECT_DOUBLE_EQ(s.passes[2].ms, 0.7);  // resolve: all three frames
    EXPECT_DOUBLE_EQ(summarise(history, 5.2).frameMs, 4.0);
}

TEST(TimingOverlayModel, LinesSayWhoseTimesTheyAreAndIndentPassesUnderTheirScene) {
    TimingHistory history;
    history.add({helixFrame(0, 5.25, 1.5)}, 1.0);
    const std::vector<std::string> gpu = texts(figureLines(summarise(history, 1.0), true));
    EXPECT_EQ(gpu, (std::vector<std::string>{"GPU ms, median of 1 s",
                                             "frame GPU        5.25",
                                             "frame CPU        1.50",
                                             "helix            4.75",
                                             "  object         1.00",
                                             "  post           0.25",
                                             "resolve          0.50"}));
    const std::vector<TextLine> cpu = figureLines(summarise(history, 1.0), false);
    EXPECT_EQ(plainText(cpu[0]), "CPU ms, median of 1 s");
    EXPECT_NE(plainText(cpu[1]).find("no GPU"), std::string::npos);
    EXPECT_EQ(plainText(cpu[2]).find("frame GPU"), std::string::npos);

    // Before the first frame is read back: a word, not a row of zeros.
    const std::vector<std::string> empty = texts(figureLines(summarise(TimingHistory(), 1.0), true));
    ASSERT_EQ(empty.size(), 2u);
    EXPECT_EQ(empty[1], "waiting for timed frames");

    // The legend names the series in their own inks and the scale the line stands for.
    const std::vector<TextLine> legend = graphLines(true, frameIntervalMs(60), 33.3);
    EXPECT_EQ(plainText(legend[0]), "GPU and CPU ms, last 3 s");
    EXPECT_EQ(legend[0][0].ink, Ink::Frame);
    EXPECT_EQ(legend[0][2].ink, Ink::Cpu);
    EXPECT_EQ(plainText(legend[1]), "-- 16.7 ms = 60 Hz, top 33 ms");
    EXPECT_NE(plainText(graphLines(false, 16.7, 33.3)[0]).find("CPU clock"), std::string::npos);
}

TEST(TimingOverlayModel, GraphRunsFromThreeSecondsAgoToNowWithTheFrameIntervalMarked) {
    TimingHistory history;
    history.add({helixFrame(0, 0.0, 10.0)}, 7.0);   // the left edge
    history.add({helixFrame(1, 16.0, 4.0)}, 8.5);   // the middle
    history.add({helixFrame(2, 50.0, 8.0)}, 10.0);  // now, the slowest: 2.5 intervals
    const Box box{100.0f, 50.0f, 201.0f, 101.0f};
    const TimingGraph g = graphOf(history, 10.0, 20.0, box);
    EXPECT_DOUBLE_EQ(g.topMs, 60.0);  // three intervals
    ASSERT_EQ(g.frame.size(), 3u);
    ASSERT_EQ(g.cpu.size(), 3u);
    EXPECT_FLOAT_EQ(g.frame[0].x, 100.0f);
    EXPECT_FLOAT_EQ(g.frame[1].x, 200.0f);
    EXPECT_FLOAT_EQ(g.frame[2].x, 300.0f);  // the box's last column
    EXPECT_FLOAT_EQ(g.frame[0].y, 150.0f);  // 0 ms: the bottom row
    EXPECT_NEAR(g.frame[2].y, 50.0f + 100.0f / 6.0f, 1e-4);
    EXPECT_NEAR(g.cpu[0].y, 150.0f - 100.0f / 6.0f, 1e-4);
    EXPECT_NEAR(g.intervalY, 150.0f - 100.0f / 3.0f, 1e-4);
    for (const std::vector<Point>* series : {&g.frame, &g.cpu})
        for (const Point& p : *series) EXPECT_TRUE(box.contains(p)) << p.x << ", " << p.y;

    // Fast frames keep two intervals of room, so the line sits halfway up.
    TimingHistory fast;
    fast.add({helixFrame(0, 2.0, 1.0)}, 1.0);
    EXPECT_DOUBLE_EQ(graphOf(fast, 1.0, 16.0, box).topMs, 32.0);
    EXPECT_FLOAT_EQ(graphOf(fast, 1.0, 16.0, box).intervalY, 100.0f);
}

// At the preview's 14-pixel font (8 x 17 cells) a helix frame's overlay sits in the top-left
// corner of a 1280 x 720 picture, leaving most of it clear, with everything inside its panel and
// no two lines of text on top of each other.
TEST(TimingOverlayModel, TheOverlayIsASmallPanelInTheCornerHoldingAllItDraws) {
    TimingHistory history;
    for (int i = 0; i < 180; ++i) history.add({helixFrame(i, 4.0 + i % 3, 1.0)}, 0.5 + i / 60.0);
    const CellSize cell{8, 17};
    const OverlayPicture p = composeOverlay(history, 3.5, true, frameIntervalMs(60), cell);
    EXPECT_GT(p.panel.x, 0.0f);
    EXPECT_GT(p.panel.y, 0.0f);
    EXPECT_LT(p.panel.x + p.panel.width, 1280.0f / 3.0f);
    EXPECT_LT(p.panel.y + p.panel.height, 720.0f / 2.0f);
    ASSERT_FALSE(p.text.empty());
    float lastRowY = -1.0f;
    for (const PlacedText& t : p.text) {
        EXPECT_TRUE(p.panel.contains(t.at)) << t.run.text;
        EXPECT_TRUE(p.panel.contains({t.at.x + float(t.run.text.size() * cell.advance) - 1.0f,
                                      t.at.y + float(cell.lineHeight) - 1.0f}))
            << t.run.text;
        const bool overlapsGraph = t.at.y + float(cell.lineHeight) > p.graph.box.y &&
                                   t.at.y < p.graph.box.y + p.graph.box.height;
        EXPECT_FALSE(overlapsGraph) << t.run.text;
        if (t.at.y == lastRowY) continue;  // the next run of the same line
        if (lastRowY >= 0.0f) {
            EXPECT_GE(t.at.y - lastRowY, float(cell.lineHeight)) << t.run.text;
        }
        lastRowY = t.at.y;
    }
    EXPECT_TRUE(p.panel.contains({p.graph.box.x, p.graph.box.y}));
    const Box& g = p.graph.box;
    EXPECT_TRUE(p.panel.contains({g.x + g.width - 1.0f, g.y + g.height - 1.0f}));
    EXPECT_EQ(p.graph.frame.size(), 180u);
}

TEST(TimingOverlayKey, GPressedTogglesAndIsNoPlayerKey) {
    EXPECT_TRUE(togglesTimingOverlay(GLFW_KEY_G, GLFW_PRESS));
    EXPECT_FALSE(togglesTimingOverlay(GLFW_KEY_G, GLFW_REPEAT));  // held, it does not flicker
    EXPECT_FALSE(togglesTimingOverlay(GLFW_KEY_G, GLFW_RELEASE));
    EXPECT_FALSE(togglesTimingOverlay(GLFW_KEY_F, GLFW_PRESS));
    EXPECT_EQ(commandForKey(GLFW_KEY_G, GLFW_PRESS, 0).action, PlayerAction::None);
}

}  // namespace
