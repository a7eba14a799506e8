#include "app/demo.h"

#include <cstdint>
#include <iostream>

#include "app/demo_session.h"
#include "engine/texture_memory.h"
#include "runtime/frame_loop.h"
#include "runtime/frame_statistics.h"

namespace Quorvel {

void printLoadingReport(double seconds) {
    std::cout << "loading time: " << seconds << std::endl;
    std::cout << "memory usage: " << std::endl;
    std::cout << "    texture: " << textureMemoryBytes / 1048576 << "MB" << std::endl;
    // The multisampled buffers' renderbuffers are GPU memory as much as textures are.
    std::cout << "    renderbuffer: " << renderbufferMemoryBytes / 1048576 << "MB" << std::endl;
    std::cout << "    total: " << (std::int64_t(textureMemoryBytes) + renderbufferMemoryBytes) / 1048576 << "MB"
              << std::endl;
}

namespace {

int play(DemoSession& session) {
    printLoadingReport(session.loadingSeconds());
    session.music().play();
    session.startDemoClock(0.0);
    Stopwatch& stopwatch = session.stopwatch();

    FrameStatistics statistics(std::cout);
    statistics.begin(stopwatch.elapsed());
    FrameLoop loop(session.programme().timeline(), [&stopwatch] { return stopwatch.elapsed(); },
                   session.frameHooks());
    loop.run(&statistics, [&stopwatch] { return stopwatch.elapsed(); });
    std::cout << std::endl;
    return 0;
}

}  // namespace

int runDemo(bool fullscreenDefault) {
    DemoSessionOptions options;
    options.fullscreen = fullscreenDefault;
    return runDemoSession(options, play);
}

}  // namespace Quorvel
