#include "engine/framebuffer.h"

#include <iostream>

#include "engine/live_objects.h"

namespace Quorvel {

FrameBuffer::FrameBuffer() {
    glGenFramebuffersEXT(1, &name);
    if (name != 0) LiveObjects::created(LiveObjects::Framebuffer);
}

FrameBuffer::~FrameBuffer() {
    if (name != 0) {
        glDeleteFramebuffersEXT(1, &name);
        LiveObjects::deleted(LiveObjects::Framebuffer);
    }
    depthTexture.reset();
    colorTexture.reset();
}

bool FrameBuffer::accepts(const EmptyTexture* texture, bool alreadyAttached, const char* alreadyMessage) const {
    if (alreadyAttached) {
        std::cout << alreadyMessage << std::endl;
        return false;
    }
    // An empty handle is as unusable as a texture without storage.
    if (!texture || texture->name == 0) {
        std::cout << "fbo: cannot bind an invalid texture" << std::endl;
        return false;
    }
    // Compare the asked-for sizes: those are what the scenes render at.
    if ((hasColor || hasDepth) && (texture->width != width || texture->height != height)) {
        std::cout << "fbo: texture does not match expected size" << std::endl;
        return false;
    }
    return true;
}

void FrameBuffer::attach(GLenum attachment, const EmptyTexture& texture, bool otherAttached) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, name);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, attachment, GL_TEXTURE_2D, texture.name, 0);
    // Back to the window's framebuffer, whatever was bound before.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (!otherAttached) {
        width = texture.width;
        height = texture.height;
        storageWidth = texture.storageWidth;
        storageHeight = texture.storageHeight;
    }
}

void FrameBuffer::attachColor(boost::shared_ptr<EmptyTexture> texture) {
    if (!accepts(texture.get(), hasColor, "fbo: already have a color attachment")) return;
    colorTexture = texture;
    attach(GL_COLOR_ATTACHMENT0_EXT, *texture, hasDepth);
    hasColor = true;
}

void FrameBuffer::attachDepth(boost::shared_ptr<EmptyTexture> texture) {
    if (!accepts(texture.get(), hasDepth, "fbo: already have a depth attachment")) return;
    depthTexture = texture;
    attach(GL_DEPTH_ATTACHMENT_EXT, *texture, hasColor);
    hasDepth = true;
}

}  // namespace Quorvel
