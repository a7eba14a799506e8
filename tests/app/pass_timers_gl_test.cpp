// The frame timer on a real driver (Mesa's llvmpipe offers GL_ARB_timer_query): every scene and
// pass drawn is named once in its frame, each took some time, the passes fit in their scene and
// the scenes in the frame, and timing adds no GL error. The program's own start-up times nothing.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/demo_session.h"
#include "engine/gpu_timer.h"
#include "engine/live_objects.h"

using namespace Quorvel;

namespace {

DemoSessionOptions timedSession() {
    DemoSessionOptions options;
    options.width = 192;
    options.height = 108;
    options.visible = false;
    options.sound = false;
    options.timePasses = true;
    return options;
}

}  // namespace

TEST(PassTimers, EveryPassIsNamedOnceInItsFrameAndFitsInItsSceneAndTheFrame) {
    DemoSession session(timedSession());
    ASSERT_NE(session.frameTimer(), nullptr);
    EXPECT_EQ(availableTimerKind(), TimerKind::Timestamps) << "llvmpipe has GL_ARB_timer_query";
    EXPECT_TRUE(session.frameTimer()->gpu());
    FrameHooks hooks = session.frameHooks();
    while (glGetError() != GL_NO_ERROR) {
    }
    // The helix with the logo over it, the landscape under the tube fading in, the tube alone,
    // the faces.
    const std::vector<double> times = {8.0, 8.1, 96.0, 96.1, 110.0, 110.1, 150.0, 150.1};
    for (double time : times) {
        hooks.beginFrame();
        session.programme().timeline().dispatch(time, hooks.scenes);
        hooks.endFrame();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    session.frameTimer()->finish();
    const std::vector<TimedFrame> frames = session.frameTimer()->take();
    ASSERT_EQ(frames.size(), times.size());
    const std::vector<std::set<std::string>> expected = {
        {"helix", "helix/background", "helix/object", "helix/blur", "helix/combine", "helix/post", "logo", "resolve"},
        {"landscape", "landscape/sky", "landscape/lines", "landscape/names", "tube", "tube/tube", "tube/post", "resolve"},
        {"tube", "tube/tube", "tube/post", "resolve"},
        {"face", "face/background", "face/faces", "face/motes", "face/credits", "face/fade", "resolve"}};
    const std::set<std::string> alwaysDraws = {"helix/background", "helix/object", "helix/blur", "helix/combine",
                                               "helix/post", "tube/tube", "tube/post", "face/background", "face/faces"};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const TimedFrame& frame = frames[i];
        EXPECT_EQ(frame.frame, frames[0].frame + long(i));
        std::set<std::string> names;
        std::map<std::string, double> ms;
        for (const SpanTime& span : frame.spans) {
            EXPECT_TRUE(names.insert(span.name).second) << span.name << " named twice";
            // A pass with nothing to draw at this moment (a name not yet shown) may take no time.
            if (span.name.find('/') == std::string::npos || alwaysDraws.count(span.name))
                EXPECT_GT(span.ms, 0.0) << span.name << " at " << times[i];
            else
                EXPECT_GE(span.ms, 0.0) << span.name << " at " << times[i];
            ms[span.name] = span.ms;
        }
        EXPECT_EQ(names, expected[i / 2]) << "at " << times[i];
        double scenes = 0.0;
        for (const auto& [name, spanMs] : ms) {
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos) {
                scenes += spanMs;
                continue;
            }
            double passes = 0.0;
            for (const auto& [other, otherMs] : ms)
                if (other.compare(0, slash + 1, name, 0, slash + 1) == 0) passes += otherMs;
            EXPECT_LE(passes, ms[name.substr(0, slash)] * (1 + 1e-9)) << name << "'s scene at " << times[i];
        }
        EXPECT_LE(scenes, frame.frameMs * (1 + 1e-9)) << "at " << times[i];
        EXPECT_GT(frame.cpuMs, 0.0);
    }
}

// Drawn without timers, nothing is timed and no query is made: the program's own frames.
TEST(PassTimers, ASessionNotAskedForThemMakesNone) {
    DemoSessionOptions options = timedSession();
    options.timePasses = false;
    DemoSession session(options);
    EXPECT_EQ(session.frameTimer(), nullptr);
    FrameHooks hooks = session.frameHooks();
    hooks.beginFrame();
    session.programme().timeline().dispatch(20.0, hooks.scenes);
    hooks.endFrame();
    EXPECT_EQ(activeFrameTimer(), nullptr);
    EXPECT_EQ(LiveObjects::count(LiveObjects::Query), 0);
}
