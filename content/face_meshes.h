// The closing scene's meshes: three faces of one head (the same grid, so the scene can blend
// them vertex by vertex), two eyes seated in the sockets, the mechanical modules around the
// skull, the sleeve the neck runs into, the mast the group rides on and the cable from the back
// of the head down the mast. The head's parts are built in its canonical frame (face along +z,
// up +y, chin to crown 2 units) and placed by sceneOf(); the mast and the cable are laid out in
// the scene's frame, where the credits swing about the mast.
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

// Where the head's canonical frame sits in the scene's group frame: scaled, bowed forward about
// the ear-to-ear axis (radians), turned about the up axis (radians), then moved. Chosen so that
// the first camera sees the whole profile for the last six seconds before the cut and the
// second ends on a portrait with the eyes a third of the way down the picture.
constexpr float kHeadScale = 0.56f, kHeadBow = 0.15f, kHeadTurn = 0.17f;
constexpr Vec3 kHeadPlace{0.0f, 0.656f, -0.13f};

// The bow and the turn alone: for directions and normals.
Vec3 groupOrientation(Vec3 canonical);
// A point of the head's frame in the scene's group frame, and back.
Vec3 sceneOf(Vec3 canonical);
Vec3 canonicalOf(Vec3 scene);

// Grid of the three faces: columns around the head, rows from the neck's cut to the crown.
constexpr int faceColumns = 180, faceRows = 148;

FaceMeshes buildFaceMeshes();

// face.obj, face2.obj, face3.obj, eyes.obj, modules.obj, tube.obj
void writeFaceMeshes(const std::string& dataDir);

}  // namespace Quorvel::Assets
