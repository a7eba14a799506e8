#include "engine/multisample_buffer.h"

#include <iostream>

#include "engine/live_objects.h"
#include "engine/texture_memory.h"

namespace Quorvel {

MultisampleBuffer::MultisampleBuffer(std::int32_t width, std::int32_t height, int samples, GLenum colourFormat)
    : width(width), height(height) {
    if (samples < 2 || width <= 0 || height <= 0) return;
    sampleCount = samples;
    glGenRenderbuffersEXT(1, &colour);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, colour);
    glRenderbufferStorageMultisampleEXT(GL_RENDERBUFFER_EXT, samples, colourFormat, width, height);
    glGenRenderbuffersEXT(1, &depth);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth);
    glRenderbufferStorageMultisampleEXT(GL_RENDERBUFFER_EXT, samples, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    LiveObjects::created(LiveObjects::Renderbuffer);
    LiveObjects::created(LiveObjects::Renderbuffer);
    renderbufferMemoryBytes += 2 * renderbufferStorageBytes(std::uint32_t(width), std::uint32_t(height), samples);

    glGenFramebuffersEXT(1, &frameBuffer);
    LiveObjects::created(LiveObjects::Framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, colour);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth);
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        // An incomplete buffer would draw nothing: the pass falls back to its plain target.
        std::cout << "multisample: " << samples << "x buffer incomplete; drawing without it" << std::endl;
        release();
    }
}

MultisampleBuffer::~MultisampleBuffer() { release(); }

void MultisampleBuffer::release() {
    if (frameBuffer != 0) {
        glDeleteFramebuffersEXT(1, &frameBuffer);
        LiveObjects::deleted(LiveObjects::Framebuffer);
    }
    for (GLuint* buffer : {&colour, &depth})
        if (*buffer != 0) {
            glDeleteRenderbuffersEXT(1, buffer);
            LiveObjects::deleted(LiveObjects::Renderbuffer);
        }
    frameBuffer = colour = depth = 0;
    sampleCount = 0;
}

void MultisampleBuffer::resolveInto(GLuint target, std::int32_t partWidth, std::int32_t partHeight) const {
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, frameBuffer);
    glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, target);
    glBlitFramebufferEXT(0, 0, partWidth, partHeight, 0, 0, partWidth, partHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target);
}

}  // namespace Quorvel
