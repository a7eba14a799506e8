#include "app/demo_session.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <iostream>

#include "engine/gpu_timer.h"

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
    if (options.timePasses) timer = std::make_unique<FrameTimer>(makeTimerBackend());
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
    if (activeFrameTimer() == timer.get()) setActiveFrameTimer(nullptr);
    timer.reset();
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
// the window's pixel format, which some drivers grant without drawing any smoother. The scenes'
// multisampled passes borrow the same buffer.
void DemoSession::buildFrameBuffer() {
    frameBuffer.reset();
    frameBuffer = std::make_unique<SharedMultisample>(demoWindow->drawableWidth(), demoWindow->drawableHeight(),
                                                      frameSamples, windowColourFormat());
    target = frameBuffer->available() ? FrameTarget{frameBuffer->name(), frameBuffer->samples(), frameBuffer.get()}
                                      : FrameTarget{};
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

namespace {
double cpuSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

void DemoSession::beginFrame() {
    frameBuffer->beginFrame();
    if (timer) {
        frameStartedAt = cpuSeconds();
        setActiveFrameTimer(timer.get());
        timer->beginFrame(framesBegun);
    }
    ++framesBegun;
    bindScreen(target.screen);
    beginGlFrame();
}

void DemoSession::endFrame() {
    {
        const TimedPass resolve("resolve");
        if (frameBuffer->available()) frameBuffer->resolveInto(0);
    }
    if (timer) {
        timer->endFrame((cpuSeconds() - frameStartedAt) * 1e3);
        setActiveFrameTimer(nullptr);
    }
}

// Each scene is a span of the frame's times, and once it has drawn, the frame's picture is worth
// keeping when a later scene's pass borrows the multisampled buffer.
SceneBrackets DemoSession::sceneBrackets() {
    SceneBrackets brackets;
    brackets.begins = [this](const char* label) {
        if (timer) timer->begin(label);
    };
    brackets.ends = [this](const char*) {
        if (timer) timer->end();
        frameBuffer->sceneDrawn();
    };
    return brackets;
}

// The hooks look at the frame buffer when they run, not when they are made: a resize replaces it.
FrameHooks DemoSession::frameHooks() {
    FrameHooks hooks = demoWindow->frameHooks();
    hooks.beginFrame = [this] { beginFrame(); };
    hooks.endFrame = [this] { endFrame(); };
    hooks.scenes = sceneBrackets();
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
    const SceneBrackets brackets = sceneBrackets();
    for (double cut : cuts) {
        frameBuffer->beginFrame();
        beginGlFrame();
        loadedProgramme->timeline().dispatch(cut, brackets);
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
