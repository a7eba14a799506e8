// Where the face scene's timed effects stand, in the group's frame (the frame the scene's
// cameras and the credits' transforms start from): the motes' cloud, the credits' mask with
// its wipe, and the box that hides the credits from the second camera. One place for the
// generator that builds their meshes, the timing that moves the wipe and the shaders' uniforms.
// Positions only: when each effect is in force is in face_timing.h.
//
//   const float y = FaceEffectLayout::kWipeFrom;                       // the front at the mast
//   MeshBuilder box = boxMesh(FaceEffectLayout::kBoxLow, FaceEffectLayout::kBoxHigh);
#pragma once

#include <array>

namespace Quorvel::FaceEffectLayout {

// Motes: a cloud of kMotes billboards spread over x, y and z; they rise through the y band and
// wrap round it, so the band is also what the shader wraps over.
constexpr int kMotes = 180;
constexpr std::array<float, 3> kMotesLow{-3.4f, -6.0f, -9.5f};
constexpr std::array<float, 3> kMotesSize{6.8f, 12.0f, 13.0f};
constexpr float kMoteBand = kMotesSize[1];

// The credits' mask: a plane at x = kMaskX between the first camera and the closed credits,
// from z kMaskLow to kMaskHigh. Its far edge stays at y = kMaskFar; its near edge is the wipe's
// front, which sweeps from kWipeFrom (at the mast) to kWipeTo (past the credits' far edge).
constexpr float kMaskX = 0.7f, kMaskLow = -6.5f, kMaskHigh = -2.8f, kMaskFar = 4.6f;
constexpr float kWipeFrom = -0.55f, kWipeTo = 4.3f;
// The glowing front: a strip this wide across the front, a little shorter than the mask.
constexpr float kFrontWidth = 0.05f, kFrontInset = 0.2f;

// The second camera's box around where the credits hang once open.
constexpr std::array<float, 3> kBoxLow{-1.35f, -0.15f, -6.1f};
constexpr std::array<float, 3> kBoxHigh{0.05f, 3.15f, -3.2f};

}  // namespace Quorvel::FaceEffectLayout
