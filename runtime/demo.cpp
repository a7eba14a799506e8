#include "runtime/demo.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

#include "engine/texture_memory.h"
#include "runtime/frame_loop.h"
#include "runtime/music_track.h"
#include "runtime/programme.h"
#include "runtime/settings.h"
#include "runtime/stopwatch.h"
#include "runtime/window.h"

namespace Quorvel {

namespace {

void printLoadingReport(double seconds) {
    std::cout << "loading time: " << seconds << std::endl;
    std::cout << "memory usage: " << std::endl;
    std::cout << "    texture: " << textureMemoryBytes / 1048576 << "MB" << std::endl;
}

// From the open window to the end of shutdown; error texts escape to the caller's handler
// after every object built here has been destroyed.
void playProgramme(Settings& settings) {
    GLFWwindow* window = openDemoWindow(settings);
    const Viewport viewport = applyLetterbox(window);
    applyFixedGlState();

    Stopwatch stopwatch;
    stopwatch.start();  // loading time runs from here
    MusicTrack music;
    {
        Programme programme(viewport.width, viewport.height, music);
        programme.load();
        stopwatch.stop();
        printLoadingReport(stopwatch.elapsed());

        music.play();
        // Demo time is seconds since the music started, on the same counter from here on.
        stopwatch.start();
        stopwatch.setTime(0.0);
        stopwatch.start();

        FrameStatistics statistics(std::cout);
        statistics.begin(stopwatch.elapsed());
        FrameLoop loop(programme.timeline(), [&stopwatch] { return stopwatch.elapsed(); }, windowFrameHooks(window));
        loop.run(&statistics, [&stopwatch] { return stopwatch.elapsed(); });
        std::cout << std::endl;
    }  // scenes release their GL objects while the context still exists
    glfwTerminate();
}  // then the music track closes the audio device

}  // namespace

int runDemo(bool fullscreenDefault) {
    Settings settings;
    writeDefaultSettings(settings, fullscreenDefault);
    if (!glfwInit()) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
        return -1;
    }
    try {
        playProgramme(settings);
    } catch (const char* text) {
        std::cerr << text << std::endl;
        glfwTerminate();
        return -1;
    }
    return 0;
}

}  // namespace Quorvel
