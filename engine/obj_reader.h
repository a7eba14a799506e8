// Parser of the Wavefront OBJ subset that Mesh draws: "v" (3 floats), "vt" (2 floats, a third
// ignored), "vn" (3 floats) and "f" with bare, v/t, v//n or v/t/n fields, 1-based indices into
// the data read so far. Three fields make a triangle, four or more a quadrilateral of the
// first four. Faces with an index out of range or missing are skipped whole; lines with too
// few numbers, comments and other keywords are ignored. No GL, no messages: the skipped faces
// are counted for the caller to report.
//
//   std::istringstream text("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
//   Mesh mesh; readObj(text, mesh);  // mesh.trianglePositions has 9 floats
#pragma once

#include "engine/mesh.h"

#include <cstddef>
#include <iosfwd>

namespace Quorvel {

// Appends the faces of the OBJ text in `in` to `mesh`, reading until end of input or failure.
// Returns how many face lines were skipped.
std::size_t readObj(std::istream& in, Mesh& mesh);
// The same for text already in memory.
std::size_t readObj(const char* text, std::size_t size, Mesh& mesh);

}  // namespace Quorvel
