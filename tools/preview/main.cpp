// qvl_preview: plays the programme live from any demo time, with the music sought to match, in
// the program's window, scenes and letterbox (through the shared start-up). The player and its
// keys are the web page's too (runtime/player.h): Space pauses, Left/Right jump, comma/period
// step a frame while paused, Home goes to 0, M mutes; the preview's own are F5, which rebuilds
// every scene from data/ (the time is kept) so a changed shader or picture shows at once, G,
// which shows or hides the timing overlay (each pass's GPU time, the frame's GPU and CPU times
// and a graph of the last seconds, over the picture), and Escape, which quits. The title shows
// the time and scenes.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/demo_session.h"
#include "runtime/frame_loop.h"
#include "tools/capture/capture_options.h"
#include "runtime/player.h"
#include "tools/preview/preview_keys.h"
#include "tools/preview/preview_options.h"
#include "tools/preview/timing_overlay.h"

using namespace Quorvel;
using namespace Quorvel::Preview;

namespace {

std::string titleFor(double time, const std::string& scenes, bool paused) {
    char text[160];
    std::snprintf(text, sizeof text, "Taluvine preview  %7.2f s  %s%s", time, scenes.c_str(), paused ? "  [paused]" : "");
    return text;
}

// The live preview over one session: its keys arrive through the window into a queue of
// commands, which move the clock (and the music with it) between frames.
class PreviewRun {
public:
    PreviewRun(const PreviewOptions& options, DemoSession& session)
        : session(session), player(options.from, kProgrammeEnd, glfwGetTime()) {
        session.window().setKeyHandler([this](int key, int action, int mods) {
            if (togglesTimingOverlay(key, action)) toggleOverlay();
            const PlayerCommand command = commandForKey(key, action, mods);
            if (command.action != PlayerAction::None) pending.push_back(command);
        });
        makeLoop();
        session.music().playFrom(player.time(glfwGetTime()));
    }
    ~PreviewRun() { session.window().setKeyHandler({}); }

    void run() {
        while (!quit && !glfwWindowShouldClose(session.window().handle())) {
            for (const PlayerCommand& command : pending) apply(command);
            pending.clear();
            frame();
        }
    }

private:
    // One loop per loaded programme, reading the time this preview decides for each frame.
    void makeLoop() {
        FrameHooks hooks = session.frameHooks();
        hooks.drawn = [this](float) { drawn(); };
        loop = std::make_unique<FrameLoop>(session.programme().timeline(), [this] { return time; }, hooks);
    }

    // The display's refresh is read when the overlay is shown: the window may have moved since.
    void toggleOverlay() {
        overlayShown = !overlayShown;
        history.clear();
        if (overlayShown) intervalMs = frameIntervalMs(displayRefreshHz(session.window().handle()));
    }

    // The frame is in the window and not yet shown. The timer's frames are taken every frame,
    // shown or not, so that none pile up; hidden, the overlay costs nothing else.
    void drawn() {
        FrameTimer* timer = session.frameTimer();
        if (!timer) return;
        std::vector<TimedFrame> frames = timer->take();
        if (!overlayShown) return;
        if (!overlay) overlay = std::make_unique<TimingOverlay>();
        const double now = glfwGetTime();
        history.add(std::move(frames), now);
        overlay->draw(composeOverlay(history, now, timer->gpu(), intervalMs, overlay->cell()),
                      session.window().viewport());
    }

    void apply(const PlayerCommand& c) {
        switch (c.action) {
            case PlayerAction::Quit: quit = true; break;
            case PlayerAction::Reload: reload(); break;
            default: cueMusic(session.music(), player.apply(c, glfwGetTime())); break;
        }
    }

    // The rebuild takes a while: hold the time, rebuild every scene, go on from there.
    void reload() {
        const double at = player.time(glfwGetTime());
        loop.reset();
        session.reloadProgramme();
        makeLoop();
        cueMusic(session.music(), player.apply({PlayerAction::SeekTo, at}, glfwGetTime()));
        std::cout << "preview: reloaded data/ at " << at << " s" << std::endl;
    }

    void frame() {
        const double now = glfwGetTime();
        cueMusic(session.music(), player.holdAtEnd(now));  // hold the last frame instead of ending
        time = player.time(now);
        loop->frame();
        const std::string wanted = titleFor(time, session.programme().timeline().labelsAt(time), player.paused());
        if (wanted != title) glfwSetWindowTitle(session.window().handle(), (title = wanted).c_str());
    }

    DemoSession& session;
    Player player;
    std::vector<PlayerCommand> pending;
    std::unique_ptr<FrameLoop> loop;
    double time = 0.0;
    bool quit = false;
    std::string title;
    bool overlayShown = false;
    double intervalMs = frameIntervalMs(0);
    TimingHistory history;
    std::unique_ptr<TimingOverlay> overlay;  // made when first shown
};

}  // namespace

int main(int argc, char** argv) {
    PreviewOptions options;
    std::string error;
    const bool parsed = parsePreviewOptions(argc, argv, options, error);
    const int verdict = Capture::commandLineVerdict("qvl_preview", parsed, options.help, error, kPreviewUsage);
    if (verdict >= 0) return verdict;
    DemoSessionOptions session;
    session.width = options.width;
    session.height = options.height;
    session.timePasses = true;  // for the timing overlay
    return runDemoSession(session, [&options](DemoSession& loaded) {
        PreviewRun(options, loaded).run();
        return 0;
    });
}
