// The preview's timing overlay on screen: draws what the overlay model composed (a translucent
// dark panel, text from the generated font atlas, the graph) into the window's frame buffer over
// the finished frame, before it is presented, and leaves every GL state it touches as it found it
// (attributes, program, matrices, frame buffer bindings). It owns the atlas's texture and
// nothing else; what to show is worked out in timing_overlay_model.h.
//
//   TimingOverlay overlay;   // loads data/overlay_font.png
//   const double intervalMs = frameIntervalMs(displayRefreshHz(window));
//   overlay.draw(composeOverlay(history, now, timer.gpu(), intervalMs, overlay.cell()), viewport);
#pragma once

#include <memory>

#include "engine/texture.h"
#include "runtime/letterbox.h"
#include "tools/preview/overlay_font.h"
#include "tools/preview/timing_overlay_model.h"

struct GLFWwindow;

namespace Quorvel::Preview {

class TimingOverlay {
public:
    // Loads the font atlas; one that cannot be read leaves the overlay without text (the panel
    // and the graph still draw), after the texture's own message on standard error.
    explicit TimingOverlay(const char* fontPath = OverlayFont::kPath);

    // The atlas's cell, for the layout (a default one without an atlas).
    CellSize cell() const;
    bool hasText() const { return font->name != 0; }

    // Draws `picture` into frame buffer 0 over the picture box `viewport` (window coordinates,
    // origin at the bottom left, as glViewport takes them).
    void draw(const OverlayPicture& picture, const Viewport& viewport);

private:
    void drawText(const OverlayPicture& picture);
    void drawGraph(const TimingGraph& graph);

    std::unique_ptr<Texture> font;
};

// The refresh rate of the monitor the window is full screen on, else of the primary monitor;
// 0 where GLFW does not know it.
int displayRefreshHz(GLFWwindow* window);

}  // namespace Quorvel::Preview
