// The closing scene's meshes: three faces of one head (the same grid, so the scene can blend
// them vertex by vertex), two eyes seated in the sockets, the mechanical modules around the
// skull and neck, and the cable leaving the back of the head. All are built in the head's
// canonical frame (face along +z, up +y, chin to crown 2 units) and then turned by one rigid
// group orientation that places the group for the scene's cameras.
//
//   const FaceMeshes meshes = buildFaceMeshes();
//   writeObj(dataDir + "/face.obj", meshes.face);
#pragma once

#include <string>

#include "content/mesh_builder.h"

namespace Quorvel::Assets {

struct FaceMeshes {
    MeshBuilder face, face2, face3;  // calm, gaunt, machined: same vertices, same quads
    MeshBuilder eyes, modules, tube;
};

// The one rigid turn applied to every position and normal of the group before it is written;
// positions are then lifted by kGroupLift along z.
Vec3 groupOrientation(Vec3 canonical);
constexpr float kGroupLift = 0.6f;

// Grid of the three faces: columns around the head, rows from the neck's cut to the crown.
constexpr int faceColumns = 216, faceRows = 176;

FaceMeshes buildFaceMeshes();

// face.obj, face2.obj, face3.obj, eyes.obj, modules.obj, tube.obj
void writeFaceMeshes(const std::string& dataDir);

}  // namespace Quorvel::Assets
