#include "engine/frame_target.h"

#include <algorithm>
#include <iostream>

namespace Quorvel {

void bindScreen(GLuint screen) { glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, screen); }

int usableSamples(int wanted) {
    if (wanted < 2) return 0;
    if (!GLEW_EXT_framebuffer_multisample || !GLEW_EXT_framebuffer_blit) {
        static bool said = false;
        if (!said)
            std::cout << "multisample: EXT_framebuffer_multisample or EXT_framebuffer_blit missing; edges are not "
                         "anti-aliased"
                      << std::endl;
        said = true;
        return 0;
    }
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES_EXT, &most);
    if (most < 2) {
        std::cout << "multisample: the driver grants no samples; edges are not anti-aliased" << std::endl;
        return 0;
    }
    return std::min(wanted, int(most));
}

GLenum windowColourFormat() {
    GLint bound = 0, alphaBits = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(bound));
    return alphaBits > 0 ? GL_RGBA8 : GL_RGB8;
}

}  // namespace Quorvel
