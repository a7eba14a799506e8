#include "engine/scene_helpers.h"

#include "engine/scene_setup.h"

namespace Quorvel {

void drawMultitexturedQuad(const float* rows, int units) {
    const int columns = 2 + 2 * units;
    glBegin(GL_QUADS);
    for (int corner = 0; corner < 4; ++corner) {
        const float* row = rows + corner * columns;
        for (int unit = 0; unit < units; ++unit)
            glMultiTexCoord2f(GLenum(GL_TEXTURE0 + unit), row[2 + 2 * unit], row[3 + 2 * unit]);
        glVertex2f(row[0], row[1]);
    }
    glEnd();
}

ViewportGuard::ViewportGuard(std::int32_t width, std::int32_t height) {
    glGetIntegerv(GL_VIEWPORT, saved);
    glViewport(0, 0, width, height);
}

ViewportGuard::~ViewportGuard() { glViewport(saved[0], saved[1], saved[2], saved[3]); }

void buildOffscreenTarget(std::int32_t width, std::int32_t height, const char* failureMessage,
                          boost::shared_ptr<FrameBuffer>& frameBuffer, boost::shared_ptr<EmptyTexture>& colour,
                          boost::shared_ptr<EmptyTexture>* depth) {
    frameBuffer.reset(new FrameBuffer());
    colour = colourTarget(width, height);
    if (depth) *depth = depthTarget(width, height);
    frameBuffer->attachColor(colour);
    if (depth) frameBuffer->attachDepth(*depth);
    reportIfIncomplete(*frameBuffer, failureMessage);
}

}  // namespace Quorvel
