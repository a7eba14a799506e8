// The face scene's timed effects as meshes of their own, each drawn by the scene with its own
// call: the motes drifting around the group, the credits' mask and the glowing front of the
// wipe that sweeps it away, and the box that hides the credits from the second camera. All in
// the scene's (group) frame, placed by scenes/face_effect_layout.h; what moves them is the
// scene's timing (scenes/face_timing.h) handed to their shaders.
// It does not turn them with the group's orientation: they hang in the frame the cameras see.
//
//   const FaceEffectMeshes effects = buildFaceEffects();
//   writeObj(dataDir + "/face_motes.obj", effects.motes);
#pragma once

#include <string>

#include "content/mesh_builder.h"

namespace Quorvel::Assets {

struct FaceEffectMeshes {
    // One billboard per four vertices, all four at the mote's centre: the normal's x and y are
    // the corner (-1 or 1), its z the mote's size; texture s is the mote's seed in [0, 1).
    MeshBuilder motes;
    // The mask's near edge rides the wipe's front: texture s is 1 on the vertices whose y the
    // shader moves to the front (their written y is then an offset from it), 0 on the others.
    MeshBuilder wipeMask;
    // The front: a strip riding the front (texture s 1), texture t 0 and 1 on its two long edges.
    MeshBuilder wipeFront;
    // A closed box, faces outwards.
    MeshBuilder creditsBox;
};

FaceEffectMeshes buildFaceEffects();

// face_motes.obj, face_wipe_mask.obj, face_wipe_front.obj, face_credits_box.obj
void writeFaceEffects(const std::string& dataDir);

}  // namespace Quorvel::Assets
