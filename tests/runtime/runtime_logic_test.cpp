// Pure runtime logic: letterbox, timeline windows and dispatch order, the frame loop on a
// fixed-step clock, the stopwatch on a fake counter, settings, statistics and the key handler.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/frame_loop.h"
#include "runtime/letterbox.h"
#include "runtime/settings.h"
#include "runtime/stopwatch.h"
#include "runtime/timeline.h"
#include "runtime/window.h"

using namespace Quorvel;

namespace {

TEST(Letterbox, FitsSixteenByNineIntoAnyWindow) {
    EXPECT_EQ(letterbox(1024, 768), (Viewport{0, 96, 1024, 576}));
    EXPECT_EQ(letterbox(1920, 1080), (Viewport{0, 0, 1920, 1080}));
    EXPECT_EQ(letterbox(2560, 1080), (Viewport{320, 0, 1920, 1080}));
    EXPECT_EQ(letterbox(1366, 768), (Viewport{0, 0, 1366, 768}));  // 768.375 truncates to 768
    EXPECT_EQ(letterbox(1024, 769), (Viewport{0, 96, 1024, 576}));  // odd bar rounds down
    EXPECT_EQ(letterbox(1280, 1024), (Viewport{0, 152, 1280, 720}));
}

// Records the times and order in which scenes were asked to render.
struct Recorder : Scene {
    Recorder(const char* name, double start, double end, std::vector<std::string>& log)
        : Scene(64, 36, start, end, 0.0), name(name), log(log) {}
    void load() override { loaded = true; }
    void render(double time) override {
        (void)time;
        log.push_back(name);
    }
    const char* name;
    std::vector<std::string>& log;
};

struct ProgrammeTimeline : ::testing::Test {
    std::vector<std::string> log;
    Recorder helix{"helix", 5.0, 74.0, log};
    Recorder logo{"logo", 0.0, 13.0, log};
    Recorder wave{"wave", 74.0, 100.0, log};
    Recorder tube{"tube", 94.0, 135.0, log};
    Recorder face{"face", 134.0, 170.0, log};
    Timeline timeline;

    void SetUp() override {
        timeline.add(&helix);
        timeline.add(&logo, false);
        timeline.add(&wave);
        timeline.add(&tube);
        timeline.add(&face);
    }
    std::vector<std::string> at(double time) {
        log.clear();
        timeline.dispatch(time);
        return log;
    }
    using Names = std::vector<std::string>;
};

TEST_F(ProgrammeTimeline, WindowsAreHalfOpenAndOverlapsDrawInOrder) {
    EXPECT_EQ(at(0.0), (Names{"logo"}));
    EXPECT_EQ(at(4.999), (Names{"logo"}));
    EXPECT_EQ(at(5.0), (Names{"helix", "logo"}));
    EXPECT_EQ(at(12.999), (Names{"helix", "logo"}));
    EXPECT_EQ(at(13.0), (Names{"helix"}));
    EXPECT_EQ(at(74.0), (Names{"wave"}));
    EXPECT_EQ(at(94.0), (Names{"wave", "tube"}));
    EXPECT_EQ(at(100.0), (Names{"tube"}));
    EXPECT_EQ(at(134.0), (Names{"tube", "face"}));
    EXPECT_EQ(at(135.0), (Names{"face"}));
    EXPECT_EQ(at(170.0), (Names{}));
    EXPECT_EQ(at(172.0), (Names{}));
}

TEST_F(ProgrammeTimeline, CutsAreTheFirstFramesOfEachSceneSet) {
    // 0 logo; 5 helix+logo; 13 helix; 74 wave; 94 wave+tube; 100 tube; 134 tube+face; 135 face;
    // 170 none. The programme's end is no cut.
    EXPECT_EQ(timeline.cutTimes(), (std::vector<double>{0, 5, 13, 74, 94, 100, 134, 135, 170}));
    log.clear();
    for (double cut : timeline.cutTimes()) timeline.dispatch(cut);
    for (const char* scene : {"helix", "logo", "wave", "tube", "face"})
        EXPECT_NE(std::find(log.begin(), log.end(), scene), log.end()) << scene << " is never drawn at a cut";
    Timeline empty;
    EXPECT_EQ(empty.cutTimes(), (std::vector<double>{0}));
}

// After a resize each scene draws once again, in as few frames as the overlaps allow.
TEST_F(ProgrammeTimeline, ThreeCutsDrawEveryScene) {
    EXPECT_EQ(timeline.coveringCuts(), (std::vector<double>{5, 94, 134}));
    log.clear();
    for (double cut : timeline.coveringCuts()) timeline.dispatch(cut);
    for (const char* scene : {"helix", "logo", "wave", "tube", "face"})
        EXPECT_NE(std::find(log.begin(), log.end(), scene), log.end()) << scene << " is not drawn again";
    Timeline empty;
    EXPECT_TRUE(empty.coveringCuts().empty());
}

TEST(FullScreenSize, TheMonitorsModeForFullScreenTheSettingsForAWindow) {
    const WindowSize full = windowSizeFor(true, 1024, 768, 1920, 1080);
    EXPECT_EQ(full.width, 1920);
    EXPECT_EQ(full.height, 1080);
    const WindowSize windowed = windowSizeFor(false, 1024, 768, 1920, 1080);
    EXPECT_EQ(windowed.width, 1024);
    EXPECT_EQ(windowed.height, 768);
    const WindowSize noMode = windowSizeFor(true, 1024, 768, 0, 0);  // no monitor to ask
    EXPECT_EQ(noMode.width, 1024);
    // What each display shows: all of it at 16:9, pillarboxed when wider.
    const WindowSize ultrawide = windowSizeFor(true, 1024, 768, 2560, 1080);
    EXPECT_EQ(letterbox(ultrawide.width, ultrawide.height), (Viewport{320, 0, 1920, 1080}));
    const WindowSize uhd = windowSizeFor(true, 1024, 768, 3840, 2160);
    EXPECT_EQ(letterbox(uhd.width, uhd.height), (Viewport{0, 0, 3840, 2160}));
}

TEST_F(ProgrammeTimeline, LogoStartIsNeverTested) {
    EXPECT_TRUE(sceneDrawsAt(logo, -1.0, false));
    EXPECT_FALSE(sceneDrawsAt(helix, 4.0, true));
}

TEST_F(ProgrammeTimeline, FixedStepClockPlaysTheWholeProgrammeAndStopsAfter172) {
    std::vector<float> times;
    int presented = 0;
    FrameHooks hooks;
    hooks.drawn = [&](float t) { times.push_back(t); };
    hooks.present = [&] { ++presented; };
    FrameLoop loop(timeline, FixedStepClock(0.0, 0.5), hooks);
    loop.run();
    ASSERT_FALSE(times.empty());
    EXPECT_EQ(times.front(), 0.0f);
    // 172.0 itself is still played; the first frame above it is the last one.
    EXPECT_EQ(times.back(), 172.5f);
    EXPECT_EQ(times.size(), 346u);
    EXPECT_EQ(presented, 346);
    EXPECT_TRUE(loop.quitRequested);
}

TEST_F(ProgrammeTimeline, ClosedWindowOrQuitEndsTheLoopAfterTheCurrentFrame) {
    int frames = 0;
    FrameHooks hooks;
    hooks.present = [&] { ++frames; };
    hooks.windowOpen = [] { return false; };
    FrameLoop(timeline, FixedStepClock(10.0, 0.1), hooks).run();
    EXPECT_EQ(frames, 1);  // the test comes after the frame: at least one frame is drawn

    frames = 0;
    // A tool's own end (or the window's quit key) reaches the loop through the open test.
    float last = 0.0f;
    hooks.windowOpen = [&] { return last < 11.0f; };
    hooks.drawn = [&](float t) { last = t; };
    FrameLoop(timeline, FixedStepClock(10.0, 0.25), hooks).run();
    EXPECT_EQ(frames, 5);  // 10, 10.25, 10.5, 10.75, 11
}

TEST_F(ProgrammeTimeline, AllScenesSeeTheSameSinglePrecisionTime) {
    std::vector<double> seen;
    struct Probe : Scene {
        Probe(std::vector<double>& seen) : Scene(1, 1, 0.0, 200.0, 0.0), seen(seen) {}
        void load() override {}
        void render(double t) override { seen.push_back(t); }
        std::vector<double>& seen;
    } a(seen), b(seen);
    Timeline two;
    two.add(&a);
    two.add(&b);
    FrameLoop(two, [] { return 73.99999999; }, FrameHooks{}).frame();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0], double(73.99999999f));
}

std::int64_t fakeCount = 0;
std::int64_t fakeCounter() { return fakeCount; }

TEST(Stopwatch, CountsOnItsCounter) {
    fakeCount = 1000;
    Stopwatch watch(fakeCounter, 100);  // 100 counts per second
    watch.start();
    fakeCount = 1250;
    EXPECT_DOUBLE_EQ(watch.elapsed(), 2.5);
    EXPECT_DOUBLE_EQ(watch.lastReading, 2.5);

    watch.stop();  // frozen at 2.5
    fakeCount = 5000;
    EXPECT_DOUBLE_EQ(watch.elapsed(), 2.5);

    // The program's restart at the start of playback reads 0 from there.
    watch.start();
    watch.setTime(0.0);
    watch.start();
    EXPECT_DOUBLE_EQ(watch.elapsed(), 0.0);
    fakeCount = 5100;
    EXPECT_DOUBLE_EQ(watch.elapsed(), 1.0);
}

TEST(Stopwatch, SetTimeOffsetsEveryReadingAndTruncatesToWholeCounts) {
    fakeCount = 0;
    Stopwatch watch(fakeCounter, 100);
    watch.start();
    watch.setTime(3.009);  // 300.9 counts truncate to 300
    EXPECT_DOUBLE_EQ(watch.elapsed(), 3.0);
    fakeCount = 50;
    EXPECT_DOUBLE_EQ(watch.elapsed(), 3.5);

    watch.stop();
    watch.setTime(-1.0);  // while stopped: the start count stays
    EXPECT_DOUBLE_EQ(watch.elapsed(), -0.5);
}

TEST(Stopwatch, RealCounterIsMonotonic) {
    Stopwatch watch;
    watch.start();
    const double a = watch.elapsed();
    const double b = watch.elapsed();
    EXPECT_GE(a, 0.0);
    EXPECT_GE(b, a);
}

TEST(Settings, GetOrInsertGivesZeroValuesAndWritableReferences) {
    Settings s;
    EXPECT_FALSE(s.getBool("missing"));
    EXPECT_EQ(s.getInt("missing"), 0);
    EXPECT_EQ(s.getDouble("missing"), 0.0);
    EXPECT_EQ(s.getString("missing"), "");
    s.getInt("missing") = 7;  // one table per type: the bool of the same name is unaffected
    EXPECT_EQ(s.getInt("missing"), 7);
    EXPECT_FALSE(s.getBool("missing"));

    writeDefaultSettings(s, false);
    EXPECT_EQ(s.getInt("window_width"), 1024);
    EXPECT_EQ(s.getInt("window_height"), 768);
    EXPECT_FALSE(s.getBool("fullscreen"));
    writeDefaultSettings(s, true);
    EXPECT_TRUE(s.getBool("fullscreen"));
}

const std::string kBack(10, '\b');

TEST(FrameStatistics, UpdatesInPlaceAboutOnceASecond) {
    std::ostringstream out;
    FrameStatistics stats(out);
    stats.begin(0.0);
    EXPECT_EQ(out.str(), "Avg. frame render time:           ");
    for (int i = 1; i <= 80; ++i) stats.frameDone(i * 0.0125);  // exactly 1.0 s: not yet
    EXPECT_EQ(out.str(), "Avg. frame render time:           ");
    stats.frameDone(1.0125);  // 1.0125 s over 80 finished frames
    EXPECT_EQ(out.str(), "Avg. frame render time:           " + kBack + "    0.0127");
}

TEST(FrameStatistics, ZeroFramesShowTheOneSlowFrame) {
    EXPECT_EQ(formatFrameTimeUpdate(1.5, 0), kBack + "    1.5000");
    EXPECT_EQ(formatFrameTimeUpdate(2.0, 4), kBack + "    0.5000");
    EXPECT_EQ(formatFrameTimeUpdate(123456.0, 1), kBack + "123456.0000");  // wider than the field
    std::ostringstream out;
    FrameStatistics stats(out);
    stats.begin(10.0);
    stats.frameDone(11.5);  // the first frame after a print took 1.5 s
    EXPECT_EQ(out.str().substr(out.str().size() - 20), kBack + "    1.5000");
}

// The same updates, handed over as figures where no line can be rewritten.
TEST(FrameStatistics, HandsEachUpdateOverWithoutPrinting) {
    std::vector<double> updates;
    FrameStatistics stats([&updates](double secondsPerFrame) { updates.push_back(secondsPerFrame); });
    stats.begin(0.0);
    for (int i = 1; i <= 80; ++i) stats.frameDone(i * 0.0125);
    EXPECT_TRUE(updates.empty());
    stats.frameDone(1.0125);
    stats.frameDone(2.6);  // one slow frame right after an update
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_DOUBLE_EQ(updates[0], 1.0125 / 80);
    EXPECT_DOUBLE_EQ(updates[1], 2.6 - 1.0125);
}

TEST(KeyHandler, EscapeEndsTheRunOnReleaseOnly) {
    EXPECT_FALSE(onKey(GLFW_KEY_ESCAPE, GLFW_PRESS));
    EXPECT_FALSE(onKey(GLFW_KEY_ESCAPE, GLFW_REPEAT));
    EXPECT_FALSE(onKey(GLFW_KEY_SPACE, GLFW_RELEASE));
    EXPECT_TRUE(onKey(GLFW_KEY_ESCAPE, GLFW_RELEASE));
}

TEST(GlewErrors, TextsFollowTheCodeAndClampUnknownOnes) {
    EXPECT_STREQ(glewErrorText(1), "Error: GLEW - Missing GL version");
    EXPECT_STREQ(glewErrorText(3), "Error: GLEW - GLX 1.2 and up are not supported");
    EXPECT_STREQ(glewErrorText(4), "Error: GLEW - Unknown error");
    EXPECT_STREQ(glewErrorText(99), "Error: GLEW - Unknown error");
}

}  // namespace
