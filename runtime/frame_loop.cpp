#include "runtime/frame_loop.h"

namespace Quorvel {

float FrameLoop::frame() {
    if (hooks.beginFrame) hooks.beginFrame();
    // One reading per frame, narrowed once: every scene and every test in this frame sees the same value.
    const float time = static_cast<float>(clock());
    timeline.dispatch(static_cast<double>(time), hooks.scenes);
    if (hooks.endFrame) hooks.endFrame();
    if (hooks.drawn) hooks.drawn(time);
    if (hooks.present) hooks.present();
    if (programmeOver(time)) quitRequested = true;
    return time;
}

void FrameLoop::run(FrameStatistics* statistics, std::function<double()> statisticsClock) {
    do {
        frame();
        if (statistics && statisticsClock) statistics->frameDone(statisticsClock());
    } while (!quitRequested && (!hooks.windowOpen || hooks.windowOpen()));
}

}  // namespace Quorvel
