// What the scenes' passes repeat, once: a screen quad carrying texture coordinates for up to
// three units, a guard that sets the off-screen viewport and puts the caller's back, an
// off-screen target (framebuffer, colour and optional depth target of one size, checked once),
// and the release of objects a scene keeps through plain pointers. Thin GL helpers; each makes
// the same GL calls, in the same order, as the scenes made by hand.
//
//   const float corners[4][6] = {{-1, 1, 0, 0, 0, 0}, ...};   // x, y, then s, t per unit
//   drawMultitexturedQuad(corners);
//   { ViewportGuard offscreen(vw, vh); ...passes... }          // the saved viewport is back
//   releaseInOrder(program, fragmentShader, vertexShader);      // deleted and nulled, in order
#pragma once

#include <GL/glew.h>
#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/empty_texture.h"
#include "engine/framebuffer.h"

namespace Quorvel {

// One quad of four corners in drawing order; each row holds x, y, then s, t for units 0, 1, ...
// Every corner sets its coordinates with glMultiTexCoord2f, unit 0 first, then its vertex.
void drawMultitexturedQuad(const float* rows, int units);

template <std::size_t Columns>
void drawMultitexturedQuad(const float (&corners)[4][Columns]) {
    static_assert(Columns >= 4 && Columns <= 8 && Columns % 2 == 0, "x, y and one to three (s, t) pairs");
    drawMultitexturedQuad(&corners[0][0], int((Columns - 2) / 2));
}

// Saves the current viewport and sets (0, 0, width, height); restores the saved one when it
// goes out of scope.
class ViewportGuard {
public:
    ViewportGuard(std::int32_t width, std::int32_t height);
    ~ViewportGuard();
    ViewportGuard(const ViewportGuard&) = delete;
    ViewportGuard& operator=(const ViewportGuard&) = delete;

private:
    GLint saved[4];
};

// A new framebuffer with a colour target (and, when `depth` is given, a depth target) of
// width x height attached, then checked: an incomplete one prints `failureMessage`.
void buildOffscreenTarget(std::int32_t width, std::int32_t height, const char* failureMessage,
                          boost::shared_ptr<FrameBuffer>& frameBuffer, boost::shared_ptr<EmptyTexture>& colour,
                          boost::shared_ptr<EmptyTexture>* depth = nullptr);

// Deletes each object in the order given and leaves its pointer null.
template <typename... Owned>
void releaseInOrder(Owned*&... owned) {
    ((delete owned, owned = nullptr), ...);
}

// Deletes every object of `owned`, last first, and empties it.
template <typename Owned>
void releaseLastFirst(std::vector<Owned*>& owned) {
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) delete *it;
    owned.clear();
}

}  // namespace Quorvel
