// qvl_capture: renders the programme with a fixed-step clock into PNG frames, a video with the
// soundtrack, or a timing report. It starts up like the program (the same window, scenes and
// loading, through the shared start-up) with a silent track, and plays no audio. At the end it
// prints the median time to render one frame (scenes plus glFinish, no readback) and the
// process's resident memory.
#include <csignal>
#include <iostream>
#include <stdexcept>

#include "app/demo_session.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_run.h"

using namespace Quorvel;
using namespace Quorvel::Capture;

namespace {

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

// Ctrl-C or a polite kill ends the run after the frame in hand, with its files complete.
void installSignalHandlers() {
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a dead encoder shows as a failed write, reported at the end
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    const bool parsed = parseCaptureOptions(argc, argv, options, error);
    const int verdict = commandLineVerdict("qvl_capture", parsed, options.help, error, kCaptureUsage);
    if (verdict >= 0) return verdict;
    installSignalHandlers();
    DemoSessionOptions session;
    session.width = options.width;
    session.height = options.height;
    session.visible = !options.hidden;
    session.sound = false;
    session.samples = options.samples;
    session.timePasses = !options.timing.empty();  // the report's GPU figures, scene by scene and pass by pass
    return runDemoSession(session, [&options](DemoSession& loaded) {
        try {
            CaptureRun run(options, loaded);
            return run.run();
        } catch (const std::exception& e) {
            std::cerr << "qvl_capture: " << e.what() << std::endl;
            return 1;
        }
    });
}
