// The matrix and state steps every scene pass repeats: identity matrices for screen-space
// quads, a camera's projection and view for 3D passes, and the flat state (no culling, no
// depth test, identity matrices) a scene leaves for the next pass. Thin GL helpers, no state
// kept; the model-view matrix is current afterwards.
//
//   loadCameraMatrices(camera);  glTranslatef(...);  mesh.draw();
//   resetFlatState();            texture.drawFullscreen();
#pragma once

#include "engine/camera.h"

namespace Quorvel {

// Projection and model-view identity.
void loadIdentityMatrices();
// Each matrix reset to identity, then loaded with the camera's projection and view.
void loadCameraMatrices(const Camera& camera);
// Face culling and depth test off, then identity matrices.
void resetFlatState();

}  // namespace Quorvel
