#include "engine/pass_setup.h"

#include <GL/glew.h>

namespace Quorvel {

void loadIdentityMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void loadCameraMatrices(const Camera& camera) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glLoadMatrixf(camera.projectionMatrix().data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLoadMatrixf(camera.viewMatrix().data());
}

void resetFlatState() {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    loadIdentityMatrices();
}

}  // namespace Quorvel
