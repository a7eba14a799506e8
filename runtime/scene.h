// The contract between the frame loop and a scene of the programme.
// A scene is built with the letterboxed viewport size, loads its files and GL objects once,
// and is then asked to draw itself for the demo time whenever that time lies in its window.
// It does not decide when it is drawn: the timeline does (runtime/timeline.h).
// Where the frame is drawn is handed to it by the owner of the frame (FrameTarget), and a
// viewport that changes size while playing (a canvas that follows its window) reaches it through
// resize(), between frames.
//
//   MyScene scene(vw, vh);  scene.frameTarget = target;  scene.load();   // reads files, creates GL objects
//   scene.render(time);                       // time is demo time, not local time
//   scene.resize(w, h, target);               // rebuilds only what has the viewport's size
#pragma once

#include <cstdint>

namespace Quorvel {

class SharedMultisample;  // engine/shared_multisample.h

// Where a frame is drawn and how finely it is sampled: by default the window (framebuffer 0),
// nothing multisampled. A start-up that multisamples the frame draws it into a multisampled
// buffer and names that buffer here; a scene then comes back to it after each off-screen pass,
// and its off-screen passes that draw multisampled borrow that same buffer (`multisample`).
struct FrameTarget {
    std::uint32_t screen = 0;  // the framebuffer the on-screen passes draw into
    int samples = 0;           // samples per pixel of the frame and the off-screen passes; 0: none
    SharedMultisample* multisample = nullptr;  // the frame's buffer, lent to passes; null: none
};

class Scene {
public:
    virtual ~Scene() {}
    // Reads the scene's files and creates its GL resources; sets `loaded` last.
    virtual void load() = 0;
    // Draws the scene for demo time `time`; returns at once while not loaded.
    virtual void render(double time) = 0;
    // The viewport or the frame's buffer changed between frames: takes the new size and target.
    // A scene with off-screen targets of the viewport's size rebuilds those (and nothing else:
    // no file is read again); their first use after this is a first use again.
    virtual void resize(std::int32_t width, std::int32_t height, const FrameTarget& target) {
        viewportWidth = width;
        viewportHeight = height;
        frameTarget = target;
    }

    double startTime = 0.0;   // window start, seconds of demo time
    double endTime = 0.0;     // window end (exclusive)
    double timeOffset = 0.0;  // per-scene shift used to derive the scene's local time
    std::int32_t viewportWidth = 0;
    std::int32_t viewportHeight = 0;
    bool loaded = false;
    FrameTarget frameTarget;  // set before load()

protected:
    Scene(std::int32_t width, std::int32_t height, double start, double end, double offset)
        : startTime(start), endTime(end), timeOffset(offset), viewportWidth(width), viewportHeight(height) {}
};

}  // namespace Quorvel
