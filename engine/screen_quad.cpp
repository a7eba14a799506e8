#include "engine/screen_quad.h"

#include "engine/empty_texture.h"

namespace Quorvel {

QuadCorners fullscreenQuadCorners(float extentS, float extentT) {
    return {{{-1.0f, 1.0f, 0.0f, extentT},
             {1.0f, 1.0f, extentS, extentT},
             {1.0f, -1.0f, extentS, 0.0f},
             {-1.0f, -1.0f, 0.0f, 0.0f}}};
}

QuadCorners pixelQuadCorners(float extentS, float extentT, std::uint32_t width, std::uint32_t height,
                             std::int32_t referenceHeight) {
    const float s = width == 0 ? 0.0f : static_cast<float>(extentS * (1920.0 / width));
    const float t = height == 0 ? 0.0f : static_cast<float>(extentT * (static_cast<double>(referenceHeight) / height));
    return {{{-1.0f, 1.0f, 0.0f, 0.0f},
             {1.0f, 1.0f, s, 0.0f},
             {1.0f, -1.0f, s, t},
             {-1.0f, -1.0f, 0.0f, t}}};
}

void EmptyTexture::drawFullscreen() {
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    glBegin(GL_QUADS);
    for (const QuadCorner& corner : fullscreenQuadCorners(extentS, extentT)) {
        glTexCoord2f(corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
}

void EmptyTexture::drawPixelQuad(std::int32_t referenceHeight) {
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    glBegin(GL_QUADS);
    for (const QuadCorner& corner : pixelQuadCorners(extentS, extentT, width, height, referenceHeight)) {
        // Both the legacy and the multitexture form, so shaders reading either set see them.
        glTexCoord2f(corner.s, corner.t);
        glMultiTexCoord2f(GL_TEXTURE0, corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
}

}  // namespace Quorvel
