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
    frameSamples = usableSamples(options.samples);
    buildFrameBuffer();
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
}

// Scenes first, while their GL context exists; the audio device closes after GLFW.
DemoSession::~DemoSession() {
    loadedProgramme.reset();
    step("~programme");
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

// The frame is multisampled in a buffer of its own, of the drawable's size, rather than through
// the window's pixel format, which some drivers grant without drawing any smoother.
void DemoSession::buildFrameBuffer() {
    frameBuffer.reset();
    frameBuffer = std::make_unique<MultisampleBuffer>(demoWindow->drawableWidth(), demoWindow->drawableHeight(),
                                                      frameSamples, windowColourFormat());
    target = frameBuffer->available() ? FrameTarget{frameBuffer->name(), frameBuffer->samples()} : FrameTarget{};
}

void DemoSession::loadProgramme() {
    loadedProgramme =
        std::make_unique<Programme>(demoWindow->viewport().width, demoWindow->viewport().height, *track, target);
    loadedProgramme->load();
    warmUp(loadedProgramme->timeline().cutTimes());
    step("programme");
}

void DemoSession::startDemoClock(double demoTime) {
    clock.start();
    clock.setTime(demoTime);
    clock.start();
}

bool DemoSession::resize(int drawableWidth, int drawableHeight) {
    if (drawableWidth == demoWindow->drawableWidth() && drawableHeight == demoWindow->drawableHeight()) return false;
    demoWindow->resize(drawableWidth, drawableHeight);
    buildFrameBuffer();
    loadedProgramme->resize(demoWindow->viewport().width, demoWindow->viewport().height, target);
    // The rebuilt targets' first use, out of sight, as at loading; every scene once is enough,
    // since the programs met every state they meet at loading.
    warmUp(loadedProgramme->timeline().coveringCuts());
    step("resized");
    return true;
}

void DemoSession::beginFrame() {
    bindScreen(target.screen);
    beginGlFrame();
}

// The hooks look at the frame buffer when they run, not when they are made: a resize replaces it.
FrameHooks DemoSession::frameHooks() {
    FrameHooks hooks = demoWindow->frameHooks();
    hooks.beginFrame = [this] { beginFrame(); };
    hooks.endFrame = [this] {
        if (frameBuffer->available()) frameBuffer->resolveInto(0);
    };
    return hooks;
}

// The driver compiles shader variants (one per state a draw meets) and makes textures resident
// when a scene first draws; done here, while loading, the first frame of every scene set costs
// what its later frames cost, the resolve into the window included. The frames are cleared before
// anything is shown, and the GL state is put back as loading left it.
void DemoSession::warmUp(const std::vector<double>& cuts) {
    bindScreen(target.screen);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    // The frames at the cuts, in programme order, so each scene starts from the state the frame
    // before it leaves, as it will while playing.
    for (double cut : cuts) {
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

void DemoSession::rebuildGlObjects() {
    loadedProgramme.reset();
    frameBuffer.reset();
    // The context's state is at its defaults: the letterbox's viewport too.
    demoWindow->resize(demoWindow->drawableWidth(), demoWindow->drawableHeight());
    buildFrameBuffer();
    applyFixedGlState();
    loadProgramme();
    step("rebuilt");
}

std::unique_ptr<DemoSession> openDemoSession(const DemoSessionOptions& options) {
    try {
        return std::make_unique<DemoSession>(options);
    } catch (const DemoSession::GlfwUnavailable&) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
    } catch (const char* text) {
        std::cerr << text << std::endl;
    }
    return nullptr;
}

int runDemoSession(const DemoSessionOptions& options, const std::function<int(DemoSession&)>& play) {
    std::unique_ptr<DemoSession> session = openDemoSession(options);
    if (!session) return -1;
    try {
        return play(*session);
    } catch (const char* text) {
        session.reset();  // the message comes once everything is torn down
        std::cerr << text << std::endl;
        return -1;
    }
}

}  // namespace Quorvel
