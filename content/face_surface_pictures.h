// The textures of the face scene's head, painted by face_surface_pictures.cpp and written with
// the scene's other pictures by writeFacePictures. Each returns the same pixels on every call.
#pragma once

#include "content/picture.h"

namespace Quorvel::Assets {

// Tangent-space normal map of the skin's fine relief, 1024 x 1024, RGB = n * 0.5 + 0.5. Column
// x is u = (x + 0.5) / 1024 around the head (0.5 = the front), row y is v = (y + 0.5) / 1024
// from the neck (row 0) to the crown; red follows +u, green +v (down the picture), blue is up
// out of the skin. It repeats across u so the seam at the back of the head does not show.
Picture faceNormalPicture();

// Soft light probe as a 512 x 256 latitude-longitude map of direction n: column
// s = atan2(n.x, n.z) / (2 pi) + 0.5, row t = acos(n.y) / pi (row 0 looks straight up).
Picture faceLightProbePicture();

// The eyes' texture, 256 x 256: iris of radius 0.22 and pupil of radius 0.09 of the width,
// centred, in a warm sclera, with a small highlight up and to the left of the pupil.
Picture faceEyesPicture();

}  // namespace Quorvel::Assets
