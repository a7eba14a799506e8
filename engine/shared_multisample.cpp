#include "engine/shared_multisample.h"

#include "engine/scene_setup.h"

namespace Quorvel {

SharedMultisample::SharedMultisample(std::int32_t width, std::int32_t height, int samples, GLenum colourFormat)
    : buffer(width, height, samples, colourFormat), width(width), height(height), colourFormat(colourFormat) {}

SharedMultisample::~SharedMultisample() = default;

void SharedMultisample::lend() {
    if (!available()) return;
#ifdef QVL_GL_NO_FIXED_PIPELINE_COPY
    spareLent = drawnOn;
    if (spareLent && !spare) spare = std::make_unique<MultisampleBuffer>(width, height, samples(), colourFormat);
#endif
    keeping = drawnOn && !spareLent;
    if (keeping) keepFramePicture();
    lent = true;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, lentBuffer().name());
}

void SharedMultisample::giveBack(GLuint target, std::int32_t passWidth, std::int32_t passHeight) {
    if (!lent) return;
    lent = false;
    lentBuffer().resolveInto(target, passWidth, passHeight);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, buffer.name());
    if (spareLent) {
        spareLent = false;
        return;  // the frame's buffer was never touched
    }
    if (keeping) {
        restoreFramePicture();
        return;
    }
    // As the frame's start left it: cleared to transparent black. The depth is cleared too, so
    // that nothing of the pass's geometry can hide what the frame draws next.
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void SharedMultisample::keepFramePicture() {
    if (!keep) {
        keep = std::make_unique<FrameBuffer>();
        keep->attachColor(colourTarget(width, height));
    }
    buffer.resolveInto(keep->name);
    ++keptCount;
}

// The kept picture drawn over the whole buffer as it is, one texel a pixel: every sample of a
// pixel takes the averaged colour, which the frame's resolve gives back unchanged.
void SharedMultisample::restoreFramePicture() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glUseProgram(0);
    glViewport(0, 0, width, height);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Only unit 0 textures the quad, whatever the scene left bound on the others.
    for (GLenum unit : {GL_TEXTURE3, GL_TEXTURE2, GL_TEXTURE1}) {
        glActiveTexture(unit);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    keep->colorTexture->drawFullscreen();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glUseProgram(GLuint(program));
}

MultisamplePass::MultisamplePass(SharedMultisample* shared, GLuint plainTarget)
    : shared(shared && shared->available() ? shared : nullptr), plainTarget(plainTarget) {
    if (this->shared)
        this->shared->lend();
    else
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, plainTarget);
}

MultisamplePass::~MultisamplePass() {
    // A pass left early (an exception) still hands the buffer back, picture or not.
    if (shared) shared->giveBack(plainTarget, 0, 0);
}

void MultisamplePass::resolve(std::int32_t width, std::int32_t height) {
    if (shared) shared->giveBack(plainTarget, width, height);
    shared = nullptr;
}

}  // namespace Quorvel
