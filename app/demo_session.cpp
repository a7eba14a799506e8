#include "app/demo_session.h"

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
    step("programme");
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
