// The contract between the frame loop and a scene of the programme.
// A scene is built with the letterboxed viewport size, loads its files and GL objects once,
// and is then asked to draw itself for the demo time whenever that time lies in its window.
// It does not decide when it is drawn: the timeline does (runtime/timeline.h).
//
//   MyScene scene(vw, vh);  scene.load();   // reads files, creates GL objects, sets loaded
//   scene.render(time);                       // time is demo time, not local time
#pragma once

#include <cstdint>

namespace Quorvel {

class Scene {
public:
    virtual ~Scene() {}
    // Reads the scene's files and creates its GL resources; sets `loaded` last.
    virtual void load() = 0;
    // Draws the scene for demo time `time`; returns at once while not loaded.
    virtual void render(double time) = 0;

    double startTime = 0.0;   // window start, seconds of demo time
    double endTime = 0.0;     // window end (exclusive)
    double timeOffset = 0.0;  // per-scene shift used to derive the scene's local time
    std::int32_t viewportWidth = 0;
    std::int32_t viewportHeight = 0;
    bool loaded = false;

protected:
    Scene(std::int32_t width, std::int32_t height, double start, double end, double offset)
        : startTime(start), endTime(end), timeOffset(offset), viewportWidth(width), viewportHeight(height) {}
};

}  // namespace Quorvel
