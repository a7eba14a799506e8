// One multisampled buffer for the whole frame, lent in turn to each pass that draws
// multisampled: the frame itself, and the off-screen passes (the helix's object, the tube's).
// Those passes draw one after another, so one buffer of the drawable's size does the work of
// three; at 3840 x 2160 with 4 samples each one costs about 265 MB.
// The frame holds it from beginFrame() and lends it to a pass, which draws, then resolves its
// picture into its own target and gives the buffer back. What the frame had drawn before comes
// back with it: nothing when no scene had drawn yet (the buffer is cleared, as at the frame's
// start), or, where a scene had (two scenes in one frame, the later one with a pass of its own),
// the frame's picture so far, set aside in a plain texture first and drawn back afterwards.
//
//   SharedMultisample frame(w, h, samples, windowColourFormat());
//   frame.beginFrame();  ... scene draws; frame.sceneDrawn(); ...
//   { MultisamplePass pass(frameTarget, plainTarget);  ...draw...;  pass.resolve(vw, vh); }
//   frame.resolveInto(0);
#pragma once

#include <GL/glew.h>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <memory>

#include "engine/framebuffer.h"
#include "engine/multisample_buffer.h"

namespace Quorvel {

class SharedMultisample {
public:
    SharedMultisample(std::int32_t width, std::int32_t height, int samples, GLenum colourFormat);
    ~SharedMultisample();
    SharedMultisample(const SharedMultisample&) = delete;
    SharedMultisample& operator=(const SharedMultisample&) = delete;

    bool available() const { return buffer.available(); }
    GLuint name() const { return buffer.name(); }
    int samples() const { return buffer.samples(); }

    // A new frame: the buffer holds nothing worth keeping yet.
    void beginFrame() { drawnOn = false; }
    // A scene drew into the frame: a pass that borrows the buffer from now on keeps it aside.
    void sceneDrawn() { drawnOn = true; }
    // The frame's picture into framebuffer `target` (0: the window), the whole drawable.
    void resolveInto(GLuint target) const { buffer.resolveInto(target); }

    // A pass takes the buffer (bound afterwards); it is the frame's again after giveBack.
    void lend();
    // The pass's picture, width x height from the corner, into framebuffer `target`; then the
    // frame's own picture back in the buffer, which is left bound. Calls without a lend do nothing.
    void giveBack(GLuint target, std::int32_t width, std::int32_t height);

    // How many times a lend had to set the frame's picture aside (tests).
    long kept() const { return keptCount; }

private:
    void keepFramePicture();
    void restoreFramePicture();
    const MultisampleBuffer& lentBuffer() const { return spareLent ? *spare : buffer; }

    MultisampleBuffer buffer;
    std::int32_t width, height;
    bool drawnOn = false;
    bool lent = false;
    bool keeping = false;  // this lend set the frame's picture aside
    long keptCount = 0;
    // Made on the first lend that needs it: a programme whose passes never meet a drawn frame
    // never pays for it.
    std::unique_ptr<FrameBuffer> keep;
    // Where the GL cannot draw the kept picture back (the browser's emulation of the fixed
    // pipeline), such a pass gets a second buffer instead, made the first time, and the frame's
    // stays as it is.
    std::unique_ptr<MultisampleBuffer> spare;
    bool spareLent = false;
    GLenum colourFormat;
};

// A multisampled off-screen pass: draws into the frame's shared buffer where there is one,
// else straight into its plain target; resolve() ends it either way and binds nothing else.
//
//   { MultisamplePass pass(frameTarget, objectFrameBuffer->name); ...; pass.resolve(vw, vh); }
class MultisamplePass {
public:
    MultisamplePass(SharedMultisample* shared, GLuint plainTarget);
    ~MultisamplePass();
    MultisamplePass(const MultisamplePass&) = delete;
    MultisamplePass& operator=(const MultisamplePass&) = delete;

    // The picture into the plain target (a no-op without multisampling); the buffer goes back.
    void resolve(std::int32_t width, std::int32_t height);

private:
    SharedMultisample* shared;
    GLuint plainTarget;
};

}  // namespace Quorvel
