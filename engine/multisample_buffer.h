// A multisampled framebuffer with a colour and a depth renderbuffer: what a pass draws into when
// the frame is multisampled (see frame_target.h), resolved afterwards into the plain target the
// later passes sample (EXT_framebuffer_blit), or into the window at the end of a frame. The
// target, its size and its texture stay as they were. With no samples to use it creates
// nothing and is not available: the pass then draws straight into its target, as before.
//
//   MultisampleBuffer ms(vw, vh, frameTarget.samples);              // the frame's samples
//   glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, ms.available() ? ms.name() : target.name);
//   ... draw ...;  if (ms.available()) ms.resolveInto(target.name);  bindScreen(frameTarget.screen);
#pragma once

#include <GL/glew.h>

#include <cstdint>

namespace Quorvel {

class MultisampleBuffer {
public:
    // `samples` below 2 creates nothing; an incomplete buffer is said on standard output and
    // dropped, so the pass falls back to its plain target. `colourFormat` must be the format of
    // what it resolves into (8-bit RGBA render targets; the window's own format for the frame).
    MultisampleBuffer(std::int32_t width, std::int32_t height, int samples, GLenum colourFormat = GL_RGBA8);
    ~MultisampleBuffer();
    MultisampleBuffer(const MultisampleBuffer&) = delete;
    MultisampleBuffer& operator=(const MultisampleBuffer&) = delete;

    bool available() const { return frameBuffer != 0; }
    GLuint name() const { return frameBuffer; }
    int samples() const { return sampleCount; }
    // Copies the averaged colour into the colour buffer of framebuffer `target` (0: the
    // window), same size, and leaves `target` bound.
    void resolveInto(GLuint target) const { resolveInto(target, width, height); }
    // The same for the part width x height from the corner (a pass smaller than the buffer).
    void resolveInto(GLuint target, std::int32_t partWidth, std::int32_t partHeight) const;

private:
    void release();

    std::int32_t width, height;
    int sampleCount = 0;
    GLuint frameBuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

}  // namespace Quorvel
