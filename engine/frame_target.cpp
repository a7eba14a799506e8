#include "engine/frame_target.h"

#include <algorithm>
#include <iostream>

namespace Quorvel {

FrameTarget& frameTarget() {
    static FrameTarget target;
    return target;
}

void bindScreen() { glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameTarget().screen); }

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
    return std::min(wanted, int(most));
}

}  // namespace Quorvel
