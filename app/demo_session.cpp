#include "app/demo_session.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

namespace Quorvel {

DemoSession::GlfwLibrary::GlfwLibrary() {
    if (!glfwInit()) throw GlfwUnavailable{};
}

DemoSession::GlfwLibrary::~GlfwLibrary() { glfwTerminate(); }

DemoSession::DemoSession(const DemoSessionOptions& options) : trace(options.trace) {
    writeDefaultSettings(settings, options.fullscreen);
    if (options.width > 0) settings.getInt("window_width") = options.width;
    if (options.height > 0) settings.getInt("window_height") = options.height;
    step("settings");
    glfw.emplace();
    step("glfw");
    demoWindow = std::make_unique<DemoWindow>(settings, options.visible);
    step("window");
    // The frame is multisampled in a buffer of its own rather than through the window's pixel
    // format, which some drivers grant without drawing any smoother.
    frameBuffer = std::make_unique<MultisampleBuffer>(demoWindow->drawableWidth(), demoWindow->drawableHeight(),
                                                      usableSamples(options.samples));
    frameTarget() = frameBuffer->available() ? FrameTarget{frameBuffer->name(), frameBuffer->samples()} : FrameTarget{};
    try {
        applyFixedGlState();
        clock.start();  // loading time runs from here
        step("stopwatch");
        if (options.sound)
            track.emplace();
        else
            track.emplace(MusicTrack::Silent{});
        step("music");
        loadProgramme();
        clock.stop();
        loadingTime = clock.elapsed();
    } catch (...) {
        frameTarget() = FrameTarget{};  // the scenes of a later session must not draw into a freed buffer
        throw;
    }
}

// Scenes first, while their GL context exists; the audio device closes after GLFW.
DemoSession::~DemoSession() {
    loadedProgramme.reset();
    step("~programme");
    frameTarget() = FrameTarget{};
    frameBuffer.reset();
    demoWindow.reset();
    glfw.reset();
    step("~glfw");
    track.reset();
    step("~music");
}

void DemoSession::step(const char* name) const {
    if (trace) trace(name);
}

void DemoSession::loadProgramme() {
    loadedProgramme = std::make_unique<Programme>(demoWindow->viewport().width, demoWindow->viewport().height, *track);
    loadedProgramme->load();
    warmUp();
    step("programme");
}

void DemoSession::beginFrame() {
    bindScreen();
    beginGlFrame();
}

FrameHooks DemoSession::frameHooks() {
    FrameHooks hooks = demoWindow->frameHooks();
    if (frameBuffer->available()) {
        hooks.beginFrame = [this] { beginFrame(); };
        hooks.endFrame = [this] { frameBuffer->resolveInto(0); };
    }
    return hooks;
}

// The driver compiles shader variants (one per state a draw meets) and makes textures resident
// when a scene first draws; done here, while loading, the first frame of every scene set costs
// what its later frames cost, the resolve into the window included. The frames are cleared before
// anything is shown, and the GL state is put back as loading left it.
void DemoSession::warmUp() {
    bindScreen();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    // The frames at the cuts, in programme order, so each scene starts from the state the frame
    // before it leaves, as it will while playing.
    for (double cut : loadedProgramme->timeline().cutTimes()) {
        beginGlFrame();
        loadedProgramme->timeline().dispatch(cut);
    }
    glFinish();
    glPopClientAttrib();
    glPopAttrib();
    beginGlFrame();
    glClear(GL_DEPTH_BUFFER_BIT);
    if (frameBuffer->available()) {
        // The resolve into the window has a first use of its own; the window is cleared after it.
        frameBuffer->resolveInto(0);
        beginGlFrame();
    }
    glFinish();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void DemoSession::reloadProgramme() {
    loadedProgramme.reset();
    loadProgramme();
}

int runDemoSession(const DemoSessionOptions& options, const std::function<int(DemoSession&)>& play) {
    try {
        DemoSession session(options);
        return play(session);
    } catch (const DemoSession::GlfwUnavailable&) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
        return -1;
    } catch (const char* text) {
        std::cerr << text << std::endl;
        return -1;
    }
}

}  // namespace Quorvel
