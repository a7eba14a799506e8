// qvl_capture: renders the programme with a fixed-step clock into PNG frames, a video with the
// soundtrack, or a timing report. It opens the same window, builds and loads the same scenes as
// the program, and plays no audio. At the end it prints the median time to render one frame
// (scenes plus glFinish, no readback) and the process's resident memory.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
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
#include "tools/capture/soundtrack_cut.h"
#include "tools/capture/timing_report.h"
#include "tools/capture/video_encoder.h"

using namespace Quorvel;
using namespace Quorvel::Capture;
using Clock = std::chrono::steady_clock;

namespace {

volatile std::sig_atomic_t stopSignal = 0;
extern "C" void onStopSignal(int signal) { stopSignal = signal; }

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

std::string framePath(const CaptureOptions& options, long index) {
    if (options.single) return options.out;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05ld.png", index);
    return (std::filesystem::path(options.outDir) / name).string();
}

std::string clockText(double seconds) {
    char text[32];
    const long s = long(seconds + 0.5);
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

// The soundtrack of the range as a raw file for the encoder; removed with the object.
struct SoundtrackFile {
    std::string path;
    SoundtrackFile(const MusicTrack& music, const CaptureOptions& o, const CapturePlan& plan) {
        char pattern[] = "/tmp/qvl_soundtrack_cut_XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0) throw std::runtime_error("cannot create a temporary file for the soundtrack");
        close(fd);
        path = pattern;
        const std::vector<char> cut = cutSoundtrack(music.pcm, music.channels(), music.frequency, o.from, plan.frames,
                                                    o.fpsNumerator, o.fpsDenominator);
        std::ofstream out(path, std::ios::binary);
        out.write(cut.data(), std::streamsize(cut.size()));
        if (!out) throw std::runtime_error("cannot write the soundtrack cut to " + path);
    }
    ~SoundtrackFile() { std::remove(path.c_str()); }
};

void writeTimingReport(const CaptureOptions& options, const std::vector<FrameTiming>& timings, const Timeline& timeline) {
    std::ofstream csv(options.timing);
    writeTimingCsv(csv, timings);
    if (!csv) throw std::runtime_error("cannot write " + options.timing);
    csv.close();
    std::cout << formatTimingTable(summariseTimings(timings));
    if (options.plot.empty()) return;
    std::vector<SceneWindow> windows;
    for (const Timeline::Entry& e : timeline.drawingOrder())
        windows.push_back({e.label, e.testStart ? e.scene->startTime : 0.0, e.scene->endTime});
    const std::string script = timingPlotScript(options.timing, options.plot, windows, options.from, options.to);
    FILE* gnuplot = popen("gnuplot", "w");
    if (!gnuplot) throw std::runtime_error("cannot start gnuplot (tools/setup.sh installs it)");
    std::fputs(script.c_str(), gnuplot);
    if (pclose(gnuplot) != 0) throw std::runtime_error("gnuplot could not draw " + options.plot);
    std::cout << "capture: timing plot written to " << options.plot << std::endl;
}

int capture(const CaptureOptions& options) {
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
    int status = 0;
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
        const bool writesPngs = options.single || !options.outDir.empty();
        if (!options.outDir.empty()) std::filesystem::create_directories(options.outDir);
        std::unique_ptr<SoundtrackFile> soundtrack;
        std::unique_ptr<VideoEncoder> video;
        if (!options.video.empty()) {
            soundtrack = std::make_unique<SoundtrackFile>(music, options, plan);
            VideoSettings vs;
            vs.output = options.video;
            vs.width = width;
            vs.height = height;
            vs.fpsNumerator = options.fpsNumerator;
            vs.fpsDenominator = options.fpsDenominator;
            vs.audioFile = soundtrack->path;
            vs.audioRate = music.frequency;
            vs.audioChannels = music.channels();
            video = std::make_unique<VideoEncoder>(vs);
        }

        long index = 0, written = 0;
        float lastTime = 0.0f;
        bool encoderStopped = false;
        Clock::time_point frameStart;
        const Clock::time_point runStart = Clock::now();
        Clock::time_point lastProgress = runStart;
        std::vector<double> renderMs;
        std::vector<FrameTiming> timings;
        double encoderMs = 0.0;
        FrameHooks hooks = windowFrameHooks(window);
        hooks.beginFrame = [&] {
            frameStart = Clock::now();
            beginGlFrame();
        };
        hooks.drawn = [&](float time) {
            glFinish();
            renderMs.push_back(msSince(frameStart));
            if (!options.timing.empty())
                timings.push_back({index, double(time), programme.timeline().labelsAt(time), renderMs.back()});
            lastTime = time;
            if (residentOnceAllDrew == 0 && time > lastSceneStart) residentOnceAllDrew = residentBytes();
            if (index >= plan.firstWritten && (writesPngs || video)) {
                const std::vector<unsigned char> rgba = readBackUpright(width, height);
                if (writesPngs) writePng(framePath(options, written), rgba, width, height);
                if (video) {
                    const Clock::time_point encodeStart = Clock::now();
                    encoderStopped = !video->write(rgba);
                    encoderMs += msSince(encodeStart);
                }
                ++written;
            }
            ++index;
            if (!options.single && (msSince(lastProgress) > 250.0 || index == plan.frames)) {
                lastProgress = Clock::now();
                const double seconds = msSince(runStart) / 1000.0;
                const double rate = double(index) / std::max(seconds, 1e-3);
                std::cout << "\rframe " << index << "/" << plan.frames << " at " << time << " s, " << rate
                          << " frames/s, " << clockText(double(plan.frames - index) / rate) << " left   " << std::flush;
            }
            if (index >= plan.frames || stopSignal != 0 || encoderStopped) quitRequested = true;
        };
        long clockFrame = 0;
        FrameLoop loop(programme.timeline(), [&] { return frameTime(options, plan, clockFrame++); }, hooks);
        loop.run();
        if (!options.single) std::cout << std::endl;

        if (video) {
            std::string error;
            const int encoder = video->finish(error);
            if (encoder != 0 || encoderStopped) {
                std::cerr << "qvl_capture: the video encoder failed (ffmpeg status " << encoder << ") after " << written
                          << " frames" << (error.empty() ? "" : ":\n") << error;
                status = 1;
            } else {
                std::cout << "capture: " << written << " frames and " << double(written) * options.fpsDenominator /
                                 options.fpsNumerator << " s of sound written to " << options.video << std::endl;
                std::cout << "capture: encoder took " << encoderMs / std::max(written, 1L) << " ms per frame of "
                          << msSince(runStart) / std::max(index, 1L) << " ms" << std::endl;
            }
        }
        if (stopSignal != 0) {
            std::cout << "capture: stopped by signal " << int(stopSignal) << " after " << index << " of " << plan.frames
                      << " frames; what was rendered is kept" << std::endl;
            if (status == 0) status = 128 + int(stopSignal);
        }
        // The shared loop ends the programme after its first frame above 172 s, as the program does.
        if (stopSignal == 0 && !encoderStopped && index < plan.frames) {
            if (options.single)
                throw std::runtime_error("the programme ended at " + std::to_string(lastTime) + " s, before the requested frame");
            std::cout << "capture: the programme ended at " << lastTime << " s" << std::endl;
        }
        if (!renderMs.empty()) {
            std::vector<double> sorted = renderMs;
            std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
            std::cout << "capture: " << index << " frames at " << width << "x" << height << ", median render time "
                      << sorted[sorted.size() / 2] << " ms" << std::endl;
        }
        if (!options.timing.empty()) writeTimingReport(options, timings, programme.timeline());
        // Growth after every scene has drawn once is per-frame waste.
        const double mb = 1.0 / (1024.0 * 1024.0);
        std::cout << "capture: resident memory " << double(residentAfterLoading) * mb << " MB after loading, ";
        if (residentOnceAllDrew != 0) std::cout << double(residentOnceAllDrew) * mb << " MB once every scene had drawn, ";
        std::cout << double(residentBytes()) * mb << " MB at the end" << std::endl;
    }
    glfwTerminate();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc, argv, options, error)) {
        std::cerr << "qvl_capture: " << error << "\n" << kCaptureUsage;
        return 2;
    }
    // Ctrl-C or a polite kill ends the run after the frame in hand, with its files complete.
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a dead encoder shows as a failed write, reported below
    if (!glfwInit()) {
        std::cerr << "Error: GLFW - Initialization failed" << std::endl;
        return -1;
    }
    try {
        return capture(options);
    } catch (const char* text) {
        std::cerr << text << std::endl;
        glfwTerminate();
        return -1;
    } catch (const std::exception& e) {
        std::cerr << "qvl_capture: " << e.what() << std::endl;
        glfwTerminate();
        return 1;
    }
}
