#include "engine/scene_setup.h"

#include <iostream>

namespace Quorvel {

void clampEdges(EmptyTexture& texture) {
    texture.bind(GL_TEXTURE0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    texture.unbind();
}

bool reportIfIncomplete(const FrameBuffer& frameBuffer, const char* message) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer.name);
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT) return true;
    std::cout << message << std::endl;
    return false;
}

boost::shared_ptr<EmptyTexture> colourTarget(std::int32_t width, std::int32_t height) {
    return boost::shared_ptr<EmptyTexture>(
        new EmptyTexture(std::uint32_t(width), std::uint32_t(height), 4, GL_RGBA, GL_UNSIGNED_BYTE));
}

boost::shared_ptr<EmptyTexture> depthTarget(std::int32_t width, std::int32_t height) {
    return boost::shared_ptr<EmptyTexture>(new EmptyTexture(std::uint32_t(width), std::uint32_t(height),
                                                            GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_FLOAT));
}

}  // namespace Quorvel
