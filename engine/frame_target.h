// Where a frame is drawn and how finely it is sampled, for every pass of every scene. By default
// the screen is framebuffer 0 (the window) and nothing is multisampled: the scenes draw as they
// always have. A start-up that multisamples the frame draws it into a multisampled buffer of the
// window's size, names that buffer as the screen and sets the samples; the scenes then come back
// to the screen with bindScreen() after an off-screen pass, and their own passes take the same
// samples. Process-wide, like the texture memory count: one frame is drawn at a time.
//
//   frameTarget().screen = frameBuffer.name();  frameTarget().samples = 4;   // start-up
//   ... off-screen pass ...;  bindScreen();                                  // a scene
#pragma once

#include <GL/glew.h>

namespace Quorvel {

struct FrameTarget {
    GLuint screen = 0;  // the framebuffer the scenes' on-screen passes draw into
    int samples = 0;    // samples per pixel of the screen and the off-screen passes; 0: none
};

FrameTarget& frameTarget();

// Binds the screen's framebuffer for drawing.
void bindScreen();

// The samples to use for `wanted`: capped at what the driver allows, and 0 (with one line on
// standard output, said once) where EXT_framebuffer_multisample or EXT_framebuffer_blit is
// missing. 0 or 1 wanted gives 0.
int usableSamples(int wanted);

}  // namespace Quorvel
