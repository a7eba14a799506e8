#include "tools/capture/capture_run.h"

#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "engine/gpu_memory.h"
#include "runtime/frame_loop.h"
#include "tools/capture/frame_readback.h"
#include "tools/capture/resident_memory.h"
#include "tools/capture/soundtrack_cut.h"

namespace Quorvel::Capture {

volatile std::sig_atomic_t stopSignal = 0;

namespace {

double msBetween(std::chrono::steady_clock::time_point start, std::chrono::steady_clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double msSince(std::chrono::steady_clock::time_point start) {
    return msBetween(start, std::chrono::steady_clock::now());
}

std::string framePath(const CaptureOptions& options, long index) {
    if (options.single) return options.out;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05ld.png", index);
    return (std::filesystem::path(options.outDir) / name).string();
}

void writeTimingReport(const CaptureOptions& options, const std::vector<FrameTiming>& timings, const Timeline& timeline,
                       const TimingHead& head) {
    std::ofstream csv(options.timing);
    writeTimingCsv(csv, timings);
    if (!csv) throw std::runtime_error("cannot write " + options.timing);
    csv.close();
    std::cout << formatTimingHead(head) << formatTimingTable(summariseTimings(timings));
    if (options.plot.empty()) return;
    std::vector<SceneWindow> windows;
    for (const Timeline::Entry& e : timeline.drawingOrder())
        windows.push_back({e.label, e.testStart ? e.scene->startTime : 0.0, e.scene->endTime});
    const std::string title = "Frame and pass times: " + head.renderer + ", " + std::to_string(head.width) + "x" +
                              std::to_string(head.height) + ", " + std::to_string(head.samples) + " samples" +
                              (head.gpuTimes ? "" : " (pass times on the CPU)");
    const std::string script = timingPlotScript(options.timing, options.plot, windows, options.from, options.to,
                                                passColumns(timings), title);
    FILE* gnuplot = popen("gnuplot", "w");
    if (!gnuplot) throw std::runtime_error("cannot start gnuplot (tools/setup.sh installs it)");
    std::fputs(script.c_str(), gnuplot);
    if (pclose(gnuplot) != 0) throw std::runtime_error("gnuplot could not draw " + options.plot);
    std::cout << "capture: timing plot written to " << options.plot << std::endl;
}

}  // namespace

// The soundtrack of the range as a raw file for the encoder; removed with the object.
struct CaptureRun::SoundtrackFile {
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

CaptureRun::CaptureRun(const CaptureOptions& options, DemoSession& session)
    : options(options),
      session(session),
      plan(planCapture(options)),
      width(session.window().drawableWidth()),
      height(session.window().drawableHeight()),
      writesPngs(options.single || !options.outDir.empty()),
      progress(isatty(STDOUT_FILENO) != 0, plan.frames) {
    residentAfterLoading = residentBytes();
    // The driver compiles shader variants and backs textures when a scene first draws, so
    // memory is compared from the frame after the last scene's first one to the end.
    for (const Timeline::Entry& entry : session.programme().timeline().drawingOrder())
        lastSceneStart = std::max(lastSceneStart, double(entry.scene->startTime));
    if (!options.outDir.empty()) std::filesystem::create_directories(options.outDir);
    if (!options.video.empty()) openVideo();
}

CaptureRun::~CaptureRun() = default;

void CaptureRun::openVideo() {
    soundtrack = std::make_unique<SoundtrackFile>(session.music(), options, plan);
    VideoSettings vs;
    vs.output = options.video;
    vs.width = width;
    vs.height = height;
    vs.fpsNumerator = options.fpsNumerator;
    vs.fpsDenominator = options.fpsDenominator;
    vs.frames = plan.frames;
    vs.encoding = options.encoding;
    vs.audioFile = soundtrack->path;
    vs.audioRate = session.music().frequency;
    vs.audioChannels = session.music().channels();
    video = std::make_unique<VideoEncoder>(vs);
}

int CaptureRun::run() {
    FrameHooks hooks = session.frameHooks();
    hooks.beginFrame = [this, begin = hooks.beginFrame] {
        frameStart = Clock::now();
        begin();
    };
    hooks.drawn = [this](float time) { frameDrawn(time); };
    // The capture's own end (plan done, a signal, a dead encoder) closes the loop like the window.
    hooks.windowOpen = [this] { return !done && session.window().open(); };
    long clockFrame = 0;
    FrameLoop loop(session.programme().timeline(), [&] { return frameTime(options, plan, clockFrame++); }, hooks);
    runStart = Clock::now();
    loop.run();
    if (!options.single) std::cout << progress.finish() << std::flush;

    int status = video ? finishVideo() : 0;
    reportEnd(status);
    reportRenderTimes();
    if (!options.timing.empty()) {
        addPassTimes();
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        const TimingHead head{renderer ? renderer : "unknown", width, height, session.samples(),
                              session.frameTimer() && session.frameTimer()->gpu()};
        writeTimingReport(options, timings, session.programme().timeline(), head);
    }
    reportMemory();
    return status;
}

void CaptureRun::frameDrawn(float time) {
    glFinish();
    renderMs.push_back(msSince(frameStart));
    if (!options.timing.empty())
        timings.push_back({index, double(time), session.programme().timeline().labelsAt(time), renderMs.back()});
    lastTime = time;
    if (residentOnceAllDrew == 0 && time > lastSceneStart) residentOnceAllDrew = residentBytes();
    if (index >= plan.firstWritten && (writesPngs || video)) writeFrame();
    ++index;
    if (!options.single) std::cout << progress.update(index, time, msSince(runStart) / 1000.0) << std::flush;
    if (index >= plan.frames || stopSignal != 0 || encoderStopped) done = true;
}

// The frame timer's figures, read back once every frame is done (the session numbers its
// frames from 0, as this run does).
void CaptureRun::addPassTimes() {
    FrameTimer* timer = session.frameTimer();
    if (!timer) return;
    timer->finish();
    for (const TimedFrame& timed : timer->take()) {
        if (timed.frame < 0 || timed.frame >= long(timings.size())) continue;
        FrameTiming& frame = timings[std::size_t(timed.frame)];
        frame.gpuMs = timed.frameMs;
        frame.cpuMs = timed.cpuMs;
        for (const SpanTime& span : timed.spans) frame.passes.push_back({span.name, span.ms});
    }
}

void CaptureRun::writeFrame() {
    const std::vector<unsigned char> rgba = readBackUpright(width, height);
    if (writesPngs) writePng(framePath(options, written), rgba, width, height);
    if (video) {
        const Clock::time_point encodeStart = Clock::now();
        encoderStopped = !video->write(rgba);
        encoderMs += msSince(encodeStart);
    }
    ++written;
}

int CaptureRun::finishVideo() {
    std::string error;
    const int encoder = video->finish(error);
    if (encoder != 0 || encoderStopped) {
        std::cerr << "qvl_capture: the video encoder failed (ffmpeg status " << encoder << ") after " << written
                  << " frames" << (error.empty() ? "" : ":\n") << error;
        return 1;
    }
    std::cout << "capture: " << written << " frames and "
              << double(written) * options.fpsDenominator / options.fpsNumerator << " s of sound written to "
              << options.video << std::endl;
    std::cout << "capture: encoder took " << encoderMs / std::max(written, 1L) << " ms per frame of "
              << msSince(runStart) / std::max(index, 1L) << " ms" << std::endl;
    return 0;
}

void CaptureRun::reportEnd(int& status) const {
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
}

void CaptureRun::reportRenderTimes() const {
    if (renderMs.empty()) return;
    std::vector<double> sorted = renderMs;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    std::cout << "capture: " << index << " frames at " << width << "x" << height << ", median render time "
              << sorted[sorted.size() / 2] << " ms" << std::endl;
}

// Growth after every scene has drawn once is per-frame waste.
void CaptureRun::reportMemory() const {
    const double mb = 1.0 / (1024.0 * 1024.0);
    std::cout << "capture: resident memory " << double(residentAfterLoading) * mb << " MB after loading, ";
    if (residentOnceAllDrew != 0) std::cout << double(residentOnceAllDrew) * mb << " MB once every scene had drawn, ";
    std::cout << double(residentBytes()) * mb << " MB at the end" << std::endl;
    std::cout << "capture: GPU memory allocated: " << formatAllocatedMemory(allocatedMemory()) << std::endl;
    std::cout << "capture: GPU memory, the driver's figures: " << driverMemoryLine() << std::endl;
}

}  // namespace Quorvel::Capture
