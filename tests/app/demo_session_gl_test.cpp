// The shared start-up and shutdown: it builds in the program's order, letterboxes the drawable,
// loads all five scenes, tears the scenes down while GL still exists and the music after GLFW,
// rebuilds the programme without leaving objects behind, and reports an error text the
// program's way once everything is torn down.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/demo_session.h"
#include "engine/live_objects.h"
#include "tests/engine/stream_capture.h"

using namespace Quorvel;

namespace {

using Steps = std::vector<std::string>;

DemoSessionOptions hiddenSession(Steps& steps) {
    DemoSessionOptions options;
    options.width = 160;  // taller than 16:9: bars above and below
    options.height = 120;
    options.visible = false;
    options.sound = false;
    options.trace = [&steps](const char* step) { steps.push_back(step); };
    return options;
}

TEST(DemoSession, BuildsInTheProgramsOrderAndTearsDownScenesFirstAndTheMusicAfterGlfw) {
    Steps steps;
    {
        DemoSession session(hiddenSession(steps));
        EXPECT_EQ(steps, (Steps{"settings", "glfw", "window", "stopwatch", "music", "programme"}));
        EXPECT_EQ(session.window().viewport(), (Viewport{0, 15, 160, 90}));
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[1], 15);
        EXPECT_EQ(viewport[3], 90);
        EXPECT_EQ(session.programme().timeline().drawingOrder().size(), 5u);
        for (const Timeline::Entry& entry : session.programme().timeline().drawingOrder())
            EXPECT_TRUE(entry.scene->loaded) << entry.label;
        EXPECT_GT(session.loadingSeconds(), 0.0);
        EXPECT_GT(LiveObjects::total(), 20);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));  // the fixed state is set before loading
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        steps.clear();
    }
    EXPECT_EQ(steps, (Steps{"~programme", "~glfw", "~music"}));
    EXPECT_EQ(LiveObjects::total(), 0);
}

// Loading draws every scene once, out of sight: the window's back buffer is still black and the
// multisampled frame holds nothing either, and the fixed state is as loading set it.
TEST(DemoSession, TheWarmUpLeavesNothingOnScreenAndTheStateAsItWas) {
    Steps steps;
    DemoSession session(hiddenSession(steps));
    std::vector<unsigned char> pixels(160 * 120 * 4, 1);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 160, 120, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), long(pixels.size())) << "something reached the window";
    if (session.samples() > 0) {
        // The frame's own buffer, resolved, is black too.
        FrameHooks hooks = session.frameHooks();
        hooks.endFrame();
        glReadPixels(0, 0, 160, 120, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), long(pixels.size())) << "the frame was not cleared";
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint viewport[4], program = -1;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 15, 160, 90}));
    EXPECT_EQ(program, 0);
}

// Where the driver can, the frame and the helix's and tube's off-screen passes are
// multisampled; with no samples asked for nothing multisampled is made.
TEST(DemoSession, MultisamplesTheFrameAndTheOffscreenPassesWhereTheDriverCan) {
    Steps steps;
    try {
        {
            DemoSession session(hiddenSession(steps));
            ASSERT_TRUE(GLEW_EXT_framebuffer_multisample && GLEW_EXT_framebuffer_blit) << "Mesa offers both";
            EXPECT_EQ(session.samples(), 4);
            EXPECT_EQ(LiveObjects::count(LiveObjects::Renderbuffer), 6);  // frame, helix object pass, tube pass
        }
        {
            DemoSessionOptions plain = hiddenSession(steps);
            plain.samples = 0;
            DemoSession session(plain);
            EXPECT_EQ(session.samples(), 0);
            EXPECT_EQ(LiveObjects::count(LiveObjects::Renderbuffer), 0);
        }
    } catch (const char* text) {
        FAIL() << "start-up failed: " << text;  // gtest names only std::exception's texts
    }
}

TEST(DemoSession, ReloadingReplacesEverySceneWithoutLeavingObjects) {
    Steps steps;
    DemoSession session(hiddenSession(steps));
    const long loaded = LiveObjects::total();
    session.reloadProgramme();
    EXPECT_EQ(LiveObjects::total(), loaded);
    EXPECT_TRUE(session.programme().timeline().drawingOrder().front().scene->loaded);
    EXPECT_EQ(steps.back(), "programme");
}

TEST(DemoSession, AnErrorTextIsPrintedAfterTeardownAndGivesMinusOne) {
    Steps steps;
    std::string printedAtTeardown = "unset";
    StreamCapture err(std::cerr);
    DemoSessionOptions options = hiddenSession(steps);
    options.trace = [&](const char* step) {
        steps.push_back(step);
        if (std::string(step) == "~music") printedAtTeardown = err.text();
    };
    const int status = runDemoSession(options, [](DemoSession&) -> int { throw "Error: OpenGL 2.1 required"; });
    EXPECT_EQ(status, -1);
    EXPECT_EQ(err.text(), "Error: OpenGL 2.1 required\n");
    EXPECT_EQ(printedAtTeardown, "");  // nothing printed while objects were still alive
    EXPECT_EQ(steps.back(), "~music");
    EXPECT_EQ(LiveObjects::total(), 0);
}

TEST(DemoSession, WhatPlayReturnsIsTheStatus) {
    Steps steps;
    EXPECT_EQ(runDemoSession(hiddenSession(steps), [](DemoSession&) { return 7; }), 7);
}

}  // namespace
