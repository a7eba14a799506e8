// The frame timer's book-keeping without a GPU: spans from marks (nested, repeated, cut short),
// frames read back in order once ready and never waited for, and the statistics the reports
// give of them.
#include <gtest/gtest.h>

#include <map>

#include "engine/frame_timer.h"
#include "runtime/sample_statistics.h"

using namespace Quorvel;

namespace {

// Marks that become ready only when the test says so; each interval lasts `intervalMs`.
struct FakeBackend : TimerBackend {
    std::map<int, int> marked;        // slot -> marks written
    std::map<int, bool> readySlots;   // slot -> ready
    bool drained = false;
    double intervalMsValue = 1.0;
    void mark(int slot, int index) override { marked[slot] = index + 1; }
    bool ready(int slot, int) override { return readySlots[slot]; }
    double intervalMs(int, int) override { return intervalMsValue; }
    void drain() override { drained = true; for (auto& [slot, r] : readySlots) r = true; for (auto& [slot, n] : marked) readySlots[slot] = true; }
    bool gpu() const override { return true; }
};

std::map<std::string, double> byName(const std::vector<SpanTime>& spans) {
    std::map<std::string, double> m;
    for (const SpanTime& s : spans) m[s.name] = s.ms;
    return m;
}

}  // namespace

TEST(SpanTimes, NestedSpansShareTheirIntervalsAndRepeatsAreSummed) {
    // frame: [helix [object] [post]] [logo] [helix again]
    const std::vector<std::string> opens = {"", "helix", "helix/object", "", "helix/post", "", "", "logo", "",
                                            "helix", "", ""};
    const std::vector<double> intervals = {0.5, 1, 2, 0.25, 3, 0.1, 0.2, 4, 0.3, 5, 0.4};
    const std::vector<SpanTime> spans = spanTimes(opens, intervals);
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_EQ(spans[0].name, "helix");  // in the order first opened
    EXPECT_EQ(spans[1].name, "helix/object");
    EXPECT_EQ(spans[2].name, "helix/post");
    EXPECT_EQ(spans[3].name, "logo");
    std::map<std::string, double> ms = byName(spans);
    EXPECT_DOUBLE_EQ(ms["helix/object"], 2.0);
    EXPECT_DOUBLE_EQ(ms["helix/post"], 3.0);
    EXPECT_DOUBLE_EQ(ms["helix"], 1 + 2 + 0.25 + 3 + 0.1 + 5);  // between and around its passes, twice
    EXPECT_DOUBLE_EQ(ms["logo"], 4.0);
    // An end with nothing open changes nothing; a span still open at the last mark runs to it.
    EXPECT_EQ(spanTimes({"", ""}, {1.0}).size(), 0u);
    EXPECT_DOUBLE_EQ(spanTimes({"", "a", ""}, {1.0, 2.0})[0].ms, 2.0);
}

TEST(FrameTimer, FramesComeBackInOrderOnceReadyNamingEachPassWithItsScene) {
    auto owned = std::make_unique<FakeBackend>();
    FakeBackend& backend = *owned;
    FrameTimer timer(std::move(owned));
    setActiveFrameTimer(&timer);
    for (long n = 0; n < 3; ++n) {
        timer.beginFrame(n);
        timer.begin("helix");
        { const TimedPass pass("object"); }
        timer.end();
        { const TimedPass resolve("resolve"); }
        timer.endFrame(2.5);
    }
    setActiveFrameTimer(nullptr);
    EXPECT_TRUE(timer.take().empty()) << "nothing is ready yet: nothing is waited for";
    backend.readySlots[1] = true;  // a younger frame ready before an older one stays behind it
    EXPECT_TRUE(timer.take().empty());
    backend.readySlots[0] = true;
    std::vector<TimedFrame> frames = timer.take();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].frame, 0);
    EXPECT_EQ(frames[1].frame, 1);
    EXPECT_DOUBLE_EQ(frames[0].cpuMs, 2.5);
    // Marks: start, helix, object, end, end, resolve, end, frame end: seven intervals of 1 ms.
    EXPECT_DOUBLE_EQ(frames[0].frameMs, 7.0);
    std::map<std::string, double> ms = byName(frames[0].spans);
    EXPECT_DOUBLE_EQ(ms["helix"], 3.0);
    EXPECT_DOUBLE_EQ(ms["helix/object"], 1.0);
    EXPECT_DOUBLE_EQ(ms["resolve"], 1.0);
    timer.finish();  // the last frame waits only here
    EXPECT_TRUE(backend.drained);
    frames = timer.take();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, 2);
}

TEST(FrameTimer, AFrameStillInFlightWhenItsSlotComesRoundIsDroppedNotWaitedFor) {
    auto owned = std::make_unique<FakeBackend>();
    FakeBackend& backend = *owned;
    FrameTimer timer(std::move(owned));
    for (long n = 0; n < FrameTimer::kSlots + 2; ++n) {
        timer.beginFrame(n);
        timer.endFrame(0.0);
    }
    EXPECT_EQ(timer.dropped(), 2);
    EXPECT_FALSE(backend.drained);
    timer.finish();
    std::vector<TimedFrame> frames = timer.take();
    ASSERT_EQ(frames.size(), std::size_t(FrameTimer::kSlots));
    EXPECT_EQ(frames.front().frame, 2);  // the two oldest were dropped
    EXPECT_EQ(frames.back().frame, FrameTimer::kSlots + 1);
}

TEST(FrameTimer, PassesOutsideATimedFrameAndBeyondTheMarksAreNotTimed) {
    FrameTimer timer(std::make_unique<FakeBackend>());
    { const TimedPass pass("nobody timing"); }  // no active timer: nothing, no crash
    setActiveFrameTimer(&timer);
    { const TimedPass pass("between frames"); }  // active, but no frame open
    timer.beginFrame(0);
    for (int i = 0; i < FrameTimer::kMarks; ++i) {
        timer.begin("outer");
        timer.begin("inner");
        timer.end();
        timer.end();
    }
    timer.endFrame(0.0);
    setActiveFrameTimer(nullptr);
    timer.finish();
    const std::vector<TimedFrame> frames = timer.take();
    ASSERT_EQ(frames.size(), 1u);
    const std::map<std::string, double> ms = byName(frames[0].spans);
    EXPECT_EQ(ms.size(), 2u);
    EXPECT_EQ(ms.count("outer/inner"), 1u);
    EXPECT_LE(frames[0].frameMs, double(FrameTimer::kMarks - 1));  // one interval per mark, at most
}

TEST(SampleStatistics, MedianAndNearestRankPercentile) {
    EXPECT_DOUBLE_EQ(median({}), 0.0);
    EXPECT_DOUBLE_EQ(median({3, 1, 2}), 2.0);
    EXPECT_DOUBLE_EQ(median({4, 1, 3, 2}), 2.5);
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);
    EXPECT_DOUBLE_EQ(percentile(hundred, 0.95), 95.0);
    EXPECT_DOUBLE_EQ(percentile({7}, 0.95), 7.0);
    EXPECT_DOUBLE_EQ(percentile({1, 2}, 0.95), 2.0);
    EXPECT_DOUBLE_EQ(percentile({}, 0.95), 0.0);
}
