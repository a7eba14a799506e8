// The engine's side of where a frame is drawn (the FrameTarget a scene is handed): binding the
// screen's framebuffer after an off-screen pass, and how many samples the driver can give.
//
//   bindScreen(frameTarget.screen);                  // a scene, after an off-screen pass
//   const int samples = usableSamples(4);            // start-up
#pragma once

#include <GL/glew.h>

namespace Quorvel {

// Binds `screen` (0: the window) for drawing.
void bindScreen(GLuint screen);

// The samples to use for `wanted`: capped at what the driver allows, and 0 with one line on
// standard output where EXT_framebuffer_multisample or EXT_framebuffer_blit is missing (said
// once) or the driver grants fewer than 2. 0 or 1 wanted gives 0.
int usableSamples(int wanted);

// The colour format of a buffer that resolves into the window: the window's own, with or
// without alpha (a resolve between formats that differ is refused by some GL implementations).
GLenum windowColourFormat();

}  // namespace Quorvel
