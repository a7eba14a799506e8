// qvl_capture: renders the programme with a fixed-step clock and writes frames as PNG.
// It opens the same window, builds and loads the same scenes as the program, and plays no audio.
// At the end it prints the median time to render one frame (scenes plus glFinish, no readback).
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "runtime/frame_loop.h"
#include "runtime/music_track.h"
#include "runtime/programme.h"
#include "runtime/settings.h"
#include "runtime/window.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_readback.h"
#include "tools/capture/resident_memory.h"

using namespace Quorvel;
using namespace Quorvel::Capture;
using Clock = std::chrono::steady_clock;

namespace {

std::string framePath(const CaptureOptions& options, long index) {
    if (options.single) return options.out;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05ld.png", index);
    return (std::filesystem::path(options.outDir) / name).string();
}

void capture(const CaptureOptions& options) {
    Settings settings;
    writeDefaultSettings(settings, false);
    settings.getInt("window_width") = options.width;
    settings.getInt("window_height") = options.height;
    GLFWwindow* window = openDemoWindow(settings, !options.hidden);
    const Viewport viewport = applyLetterbox(window);
    applyFixedGlState();
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);

    MusicTrack music{MusicTrack::Silent{}};
    {
        Programme programme(viewport.width, viewport.height, music);
        programme.load();
        const std::size_t residentAfterLoading = residentBytes();
        // The driver compiles shader variants and backs textures when a scene first draws, so
        // memory is compared from the frame after the last scene's first one to the end.
        double lastSceneStart = 0.0;
        for (const Timeline::Entry& entry : programme.timeline().drawingOrder())
            lastSceneStart = std::max(lastSceneStart, double(entry.scene->startTime));
        std::size_t residentOnceAllDrew = 0;

        const CapturePlan plan = planCapture(options);
        if (!options.single) std::filesystem::create_directories(options.outDir);
        long index = 0, written = 0;
        float lastTime = 0.0f;
        Clock::time_point frameStart;
        std::vector<double> renderMs;
        FrameHooks hooks = windowFrameHooks(window);
        hooks.beginFrame = [&] {
            frameStart = Clock::now();
            beginGlFrame();
        };
        hooks.drawn = [&](float time) {
            glFinish();
            renderMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count());
            lastTime = time;
            if (residentOnceAllDrew == 0 && time > lastSceneStart) residentOnceAllDrew = residentBytes();
            if (index >= plan.firstWritten) {
                writePng(framePath(options, written), readBackUpright(width, height), width, height);
                ++written;
                if (!options.single)
                    std::cout << "\rframe " << written << "/" << plan.frames << " at " << time << " s" << std::flush;
            }
            if (++index >= plan.frames) quitRequested = true;
        };
        FrameLoop loop(programme.timeline(), FixedStepClock(plan.firstTime, plan.step), hooks);
        loop.run();
        if (!options.single) std::cout << std::endl;
        // The shared loop ends the programme after its first frame above 172 s, as the program does.
        if (written < plan.frames - plan.firstWritten) {
            if (options.single)
                throw std::runtime_error("the programme ended at " + std::to_string(lastTime) + " s, before the requested frame");
            std::cout << "capture: the programme ended at " << lastTime << " s" << std::endl;
        }
        if (!renderMs.empty()) {
            std::nth_element(renderMs.begin(), renderMs.begin() + renderMs.size() / 2, renderMs.end());
            std::cout << "capture: " << index << " frames at " << width << "x" << height
                      << ", median render time " << renderMs[renderMs.size() / 2] << " ms" << std::endl;
        }
        // Growth after every scene has drawn once is per-frame waste.
        const double mb = 1.0 / (1024.0 * 1024.0);
        std::cout << "capture: resident memory " << double(residentAfterLoading) * mb << " MB after loading, ";
        if (residentOnceAllDrew != 0) std::cout << double(residentOnceAllDrew) * mb << " MB once every scene had drawn, ";
        std::cout << double(residentBytes()) * mb << " MB at the end" << std::endl;
    }
    glfwTerminate();
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc, argv, options, error)) {
        std::cerr << "qvl_capture: " << error << "\n" << kCaptureUsage;
        return 2;
    }
    if (!glfwInit()) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
        return -1;
    }
    try {
        capture(options);
    } catch (const char* text) {
        std::cerr << text << std::endl;
        glfwTerminate();
        return -1;
    } catch (const std::exception& e) {
        std::cerr << "qvl_capture: " << e.what() << std::endl;
        glfwTerminate();
        return 1;
    }
    return 0;
}
