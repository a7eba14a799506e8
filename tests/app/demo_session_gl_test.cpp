// The shared start-up and shutdown: it builds in the program's order, letterboxes the drawable,
// loads all five scenes, tears the scenes down while GL still exists and the music after GLFW,
// rebuilds the programme without leaving objects behind, and reports an error text the
// program's way once everything is torn down.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/demo_session.h"
#include "scenes/helix_scene.h"
#include "scenes/tube_scene.h"
#include "engine/live_objects.h"
#include "engine/texture_memory.h"
#include "tests/engine/stream_capture.h"

using namespace Quorvel;

namespace {

using Steps = std::vector<std::string>;

// A start-up that fails says why: GLFW's own words on standard error.
const bool glfwErrorsShown = [] {
    glfwSetErrorCallback([](int code, const char* text) { std::cerr << "GLFW error " << code << ": " << text << "\n"; });
    return true;
}();

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

template <typename SceneType>
SceneType& sceneOf(DemoSession& session) {
    for (const Timeline::Entry& entry : session.programme().timeline().drawingOrder())
        if (auto* scene = dynamic_cast<SceneType*>(entry.scene)) return *scene;
    throw "no such scene";
}

// Pixels of a render target that are not black.
long litPixels(const EmptyTexture& target) {
    std::vector<std::uint8_t> rgba(std::size_t(target.width) * target.height * 4);
    glBindTexture(GL_TEXTURE_2D, target.name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    long lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) lit += (rgba[i] | rgba[i + 1] | rgba[i + 2]) != 0;
    return lit;
}

// The off-screen targets that have the viewport's size, each with what it must hold after its
// first use: the helix's background, object and blurred passes and the tube's pass are never
// blank in the frames at the cuts.
struct SizedTarget {
    const char* name;
    const EmptyTexture* texture;
};
std::vector<SizedTarget> sizedTargets(DemoSession& session) {
    Ostrel::HelixScene& helix = sceneOf<Ostrel::HelixScene>(session);
    Ostrel::TubeScene& tube = sceneOf<Ostrel::TubeScene>(session);
    return {{"helix background", helix.backgroundColour.get()},
            {"helix object", helix.objectColour.get()},
            {"helix blur", helix.blurColour.get()},
            {"tube", tube.colourTarget.get()}};
}

// The warm-up is what makes each scene's first frame cost what its later ones do; it must
// really draw. A warm-up that dispatched nothing would leave every target blank.
TEST(DemoSession, TheWarmUpDrawsEveryOffscreenPassOnce) {
    Steps steps;
    DemoSession session(hiddenSession(steps));
    for (const SizedTarget& target : sizedTargets(session))
        EXPECT_GT(litPixels(*target.texture), long(target.texture->width * target.texture->height / 20)) << target.name;
}

// A canvas that follows its window: the letterbox, the frame's buffer and the viewport-sized
// targets take the new size, drawn once out of sight again; nothing else is rebuilt or leaked,
// and the next frame fills the larger window.
TEST(DemoSession, ResizingRebuildsOnlyWhatHasTheViewportsSizeAndWarmsItAgain) {
    Steps steps;
    DemoSession session(hiddenSession(steps));
    Ostrel::HelixScene& helix = sceneOf<Ostrel::HelixScene>(session);
    const GLuint wall = helix.wallTexture->name, program = helix.objectProgram->name;
    const long objects = LiveObjects::total();
    const int samples = session.samples();

    glfwSetWindowSize(session.window().handle(), 320, 180);
    int width = 0, height = 0;
    for (int tries = 0; tries < 100 && width != 320; ++tries) {
        glfwWaitEventsTimeout(0.02);
        glfwGetFramebufferSize(session.window().handle(), &width, &height);
    }
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 180);
    steps.clear();
    const std::int64_t renderbuffersBefore = renderbufferMemoryBytes;
    EXPECT_TRUE(session.resize(320, 180));
    EXPECT_EQ(steps, Steps{"resized"});
    // The shared multisampled buffer made once again, at the new size.
    if (samples > 0) {
        EXPECT_EQ(renderbufferMemoryBytes - renderbuffersBefore, 2 * 320 * 180 * 4 * std::int64_t(samples));
    }
    EXPECT_FALSE(session.resize(320, 180)) << "the same size again rebuilds nothing";

    EXPECT_EQ(session.window().viewport(), (Viewport{0, 0, 320, 180}));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 320, 180}));
    EXPECT_EQ(session.samples(), samples);
    EXPECT_EQ(LiveObjects::total(), objects) << "the old targets were released";
    EXPECT_EQ(LiveObjects::count(LiveObjects::Renderbuffer), samples > 0 ? 2 : 0) << "one buffer at a time";
    EXPECT_EQ(helix.wallTexture->name, wall) << "pictures are not loaded again";
    EXPECT_EQ(helix.objectProgram->name, program) << "programs are not built again";
    for (const SizedTarget& target : sizedTargets(session)) {
        EXPECT_EQ(target.texture->width, 320u) << target.name;
        EXPECT_EQ(target.texture->height, 180u) << target.name;
        EXPECT_GT(litPixels(*target.texture), 320L * 180 / 20) << target.name << " was not drawn once after the resize";
    }

    // The next frames draw at the new size all over the window, with no GL error. The window's
    // own buffer takes its new size at a swap, as it does in the program's loop.
    FrameHooks hooks = session.frameHooks();
    hooks.present();
    for (double time : {20.0, 110.0}) {
        while (glGetError() != GL_NO_ERROR) {
        }
        hooks.beginFrame();
        session.programme().timeline().dispatch(time);
        hooks.endFrame();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << time;
        std::vector<unsigned char> pixels(320 * 180 * 4);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 320, 180, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        long litQuarters[2][2] = {{0, 0}, {0, 0}};
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 320; ++x) {
                const unsigned char* p = &pixels[std::size_t(4 * (y * 320 + x))];
                litQuarters[y >= 90][x >= 160] += (p[0] | p[1] | p[2]) != 0;
            }
        for (auto& row : litQuarters)
            for (long lit : row) EXPECT_GT(lit, 160L * 90 / 20) << "a quarter of the frame at " << time << " s is blank";
    }
}

// A browser's canvas and a desktop window are not always 16:9: a 4:3 window, an upright phone,
// a window dragged narrower (one side changes). The picture keeps 16:9 inside, and every target
// of the viewport's size takes the picture's size, not the window's.
TEST(DemoSession, ResizingToOtherShapesSizesTheTargetsToThePicture) {
    Steps steps;
    DemoSession session(hiddenSession(steps));  // 160 x 120
    struct Shape {
        int width, height;
        Viewport picture;  // worked out by hand: 16:9 of the side that limits it, centred
    };
    for (const Shape& shape : {Shape{400, 300, {0, 37, 400, 225}},    // 4:3
                               Shape{300, 300, {0, 66, 300, 168}},    // only the width changed
                               Shape{117, 253, {0, 94, 117, 65}},     // an upright phone
                               Shape{480, 120, {133, 0, 213, 120}}}) {  // wider than 16:9: bars at the sides
        steps.clear();
        EXPECT_TRUE(session.resize(shape.width, shape.height)) << shape.width << "x" << shape.height;
        EXPECT_EQ(steps, Steps{"resized"});
        EXPECT_EQ(session.window().viewport(), shape.picture) << shape.width << "x" << shape.height;
        for (const SizedTarget& target : sizedTargets(session)) {
            EXPECT_EQ(target.texture->width, std::uint32_t(shape.picture.width)) << target.name;
            EXPECT_EQ(target.texture->height, std::uint32_t(shape.picture.height)) << target.name;
        }
    }
}

// A lost GL context (a browser's) is answered by making every object again; nothing is left
// over and the frame draws as before.
TEST(DemoSession, RebuildingTheGlObjectsLeavesTheSameObjectsAndDraws) {
    Steps steps;
    DemoSession session(hiddenSession(steps));
    const long objects = LiveObjects::total();
    const long renderbuffers = LiveObjects::count(LiveObjects::Renderbuffer);
    const int samples = session.samples();
    glViewport(0, 0, 1, 1);  // a context given back holds none of the state it had
    steps.clear();
    session.rebuildGlObjects();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 15, 160, 90}));
    EXPECT_EQ(steps, (Steps{"programme", "rebuilt"}));
    EXPECT_EQ(LiveObjects::total(), objects);
    EXPECT_EQ(LiveObjects::count(LiveObjects::Renderbuffer), renderbuffers);
    EXPECT_EQ(session.samples(), samples);
    FrameHooks hooks = session.frameHooks();
    while (glGetError() != GL_NO_ERROR) {
    }
    hooks.beginFrame();
    session.programme().timeline().dispatch(20.0);
    hooks.endFrame();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (const SizedTarget& target : sizedTargets(session))
        EXPECT_GT(litPixels(*target.texture), 0L) << target.name;
}

// Where the driver can, the frame and the helix's and tube's off-screen passes are
// multisampled, all in one buffer of the drawable's size; with no samples asked for nothing
// multisampled is made. The memory the loading report gives is what the objects hold, worked
// out by hand.
TEST(DemoSession, MultisamplesTheFrameAndTheOffscreenPassesInOneBufferWhereTheDriverCan) {
    Steps steps;
    try {
        {
            const std::int64_t renderbuffersBefore = renderbufferMemoryBytes;
            const std::int64_t texturesBefore = textureMemoryBytes, picturesBefore = pictureMemoryBytes;
            DemoSession session(hiddenSession(steps));  // 160 x 120, the picture 160 x 90
            ASSERT_TRUE(GLEW_EXT_framebuffer_multisample && GLEW_EXT_framebuffer_blit) << "Mesa offers both";
            EXPECT_EQ(session.samples(), 4);
            EXPECT_EQ(LiveObjects::count(LiveObjects::Renderbuffer), 2);  // one colour, one depth, for all three
            EXPECT_EQ(renderbufferMemoryBytes - renderbuffersBefore, 2 * 160 * 120 * 4 * 4);
            // Targets: the helix's four colour targets and its depth, the tube's colour and depth,
            // all of the picture's size, and the frame kept aside while the tube's pass borrows
            // the buffer over the landscape (the warm-up meets that frame), of the drawable's.
            const std::int64_t targets = (textureMemoryBytes - texturesBefore) - (pictureMemoryBytes - picturesBefore);
            EXPECT_EQ(targets, 7 * 160 * 90 * 4 + 160 * 120 * 4);
            EXPECT_EQ(session.multisampleBuffer()->kept(), 1) << "the warm-up's frame at the cut into the tube";
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
