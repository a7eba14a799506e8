// qvl_preview: plays the programme live from any demo time, with the music sought to match, in
// the program's window, scenes and letterbox. Space pauses, Left/Right jump, comma/period step
// a frame while paused, Home goes to 0, F5 rebuilds every scene from data/ (the time is kept) so
// a changed shader or picture shows at once, Escape quits. The title shows the time and scenes.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "runtime/frame_loop.h"
#include "runtime/music_track.h"
#include "runtime/programme.h"
#include "runtime/settings.h"
#include "runtime/window.h"
#include "tools/preview/preview_clock.h"
#include "tools/preview/preview_keys.h"
#include "tools/preview/preview_options.h"

using namespace Quorvel;
using namespace Quorvel::Preview;

namespace {

std::vector<PreviewCommand> pending;

void keyCallback(GLFWwindow*, int key, int, int action, int mods) {
    const PreviewCommand command = commandForKey(key, action, mods);
    if (command.action != PreviewAction::None) pending.push_back(command);
}

std::string titleFor(double time, const std::string& scenes, bool paused) {
    char text[160];
    std::snprintf(text, sizeof text, "Taluvine preview  %7.2f s  %s%s", time, scenes.c_str(), paused ? "  [paused]" : "");
    return text;
}

void run(const PreviewOptions& options) {
    Settings settings;
    writeDefaultSettings(settings, false);
    settings.getInt("window_width") = options.width;
    settings.getInt("window_height") = options.height;
    GLFWwindow* window = openDemoWindow(settings, true);
    glfwSetKeyCallback(window, keyCallback);
    const Viewport viewport = applyLetterbox(window);
    applyFixedGlState();

    MusicTrack music;  // silent without an audio device; the clock runs regardless
    {
        auto programme = std::make_unique<Programme>(viewport.width, viewport.height, music);
        programme->load();
        // One loop per programme, reading the time this preview decides for each frame.
        double time = 0.0;
        const FrameHooks hooks = windowFrameHooks(window);
        auto loop = std::make_unique<FrameLoop>(programme->timeline(), [&time] { return time; }, hooks);
        PreviewClock clock(options.from, kProgrammeEnd, glfwGetTime());
        music.playFrom(clock.time(glfwGetTime()));
        bool quit = false;
        std::string title;
        while (!quit && !glfwWindowShouldClose(window)) {
            for (const PreviewCommand& c : pending) {
                const double now = glfwGetTime();
                switch (c.action) {
                    case PreviewAction::TogglePause: clock.togglePause(now); break;
                    case PreviewAction::SeekBy: clock.seekBy(c.seconds, now); break;
                    case PreviewAction::Step: clock.step(c.frames, kPreviewFrameSeconds, now); break;
                    case PreviewAction::GoToStart: clock.seekTo(0.0, now); break;
                    case PreviewAction::Quit: quit = true; break;
                    case PreviewAction::Reload: {
                        // The rebuild takes a while: hold the time, rebuild, go on from there.
                        const double at = clock.time(now);
                        const bool wasPaused = clock.paused();
                        loop.reset();
                        programme.reset();
                        programme = std::make_unique<Programme>(viewport.width, viewport.height, music);
                        programme->load();
                        loop = std::make_unique<FrameLoop>(programme->timeline(), [&time] { return time; }, hooks);
                        clock.seekTo(at, glfwGetTime());
                        if (wasPaused) clock.pause(glfwGetTime());
                        std::cout << "preview: reloaded data/ at " << at << " s" << std::endl;
                        break;
                    }
                    case PreviewAction::None: break;
                }
                if (clock.paused())
                    music.pause();
                else
                    music.playFrom(clock.time(glfwGetTime()));
            }
            pending.clear();
            double now = glfwGetTime();
            if (!clock.paused() && clock.time(now) >= clock.end()) {
                clock.pause(now);  // hold the last frame instead of ending
                music.pause();
            }
            time = clock.time(now);
            loop->frame();
            const std::string wanted = titleFor(time, programme->timeline().labelsAt(time), clock.paused());
            if (wanted != title) glfwSetWindowTitle(window, (title = wanted).c_str());
        }
    }
    glfwTerminate();
}

}  // namespace

int main(int argc, char** argv) {
    PreviewOptions options;
    std::string error;
    if (!parsePreviewOptions(argc, argv, options, error)) {
        std::cerr << "qvl_preview: " << error << "\n" << kPreviewUsage;
        return 2;
    }
    if (!glfwInit()) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
        return -1;
    }
    try {
        run(options);
    } catch (const char* text) {
        std::cerr << text << std::endl;
        glfwTerminate();
        return -1;
    }
    return 0;
}
