// Set-up steps every scene repeats at load: clamping a picture so its transparent edge fills
// the rest of its quad, checking an off-screen framebuffer once and naming the failure, and
// making render targets of the viewport's size. Thin GL helpers, no state kept.
//
//   clampEdges(*title);
//   reportIfIncomplete(*fbo, "tubescene: fbo error");
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>

#include "engine/empty_texture.h"
#include "engine/framebuffer.h"

namespace Quorvel {

// Binds `texture` on unit 0, sets both wrap modes to GL_CLAMP and unbinds it.
void clampEdges(EmptyTexture& texture);

// Binds the framebuffer, asks for its status and binds framebuffer 0 again; an incomplete one
// prints `message` and a line break on standard output. Returns whether it was complete.
bool reportIfIncomplete(const FrameBuffer& frameBuffer, const char* message);

// Render targets in the toolkit's two configurations: 8-bit RGBA colour, 24-bit depth.
boost::shared_ptr<EmptyTexture> colourTarget(std::int32_t width, std::int32_t height);
boost::shared_ptr<EmptyTexture> depthTarget(std::int32_t width, std::int32_t height);

}  // namespace Quorvel
