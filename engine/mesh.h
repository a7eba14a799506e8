// A static model read once from a Wavefront OBJ subset ("v", "vt", "vn", "f" with three or
// four vertices) and flattened into per-vertex arrays, triangles apart from quadrilaterals,
// drawn from client memory with fixed-function vertex arrays. No materials, groups, index
// buffers or buffer objects. Parsing is in engine/obj_reader.h and needs no GL context.
//
//   Mesh* tube = new Mesh("data/inside_tube.obj");
//   tube->draw();
#pragma once

#include <iosfwd>
#include <vector>

namespace Quorvel {

class Mesh {
public:
    std::vector<float> trianglePositions;  // x, y, z per triangle vertex
    std::vector<float> triangleNormals;    // normal per triangle vertex, parallel to the positions
    std::vector<float> triangleTexCoords;  // s, t per triangle vertex
    std::vector<float> quadPositions;      // x, y, z per quadrilateral vertex
    std::vector<float> quadNormals;        // normal per quadrilateral vertex
    std::vector<float> quadTexCoords;      // s, t per quadrilateral vertex
    bool hasTexCoords = false;             // the file provided texture coordinates
    bool hasNormals = false;               // the file provided normals

    // An empty mesh, which draws nothing.
    Mesh() = default;
    // Reads the OBJ file at `path`; a missing or unreadable file gives an empty mesh. A file that
    // cannot be opened, has faces with bad indices or holds none is named on standard error.
    explicit Mesh(const char* path);
    // Reads OBJ text from a stream (tests, tools).
    explicit Mesh(std::istream& in);

    // Draws the quadrilaterals (GL_QUADS), then the triangles (GL_TRIANGLES), in the current
    // GL state; an empty set makes no GL call.
    void draw() const;
};

}  // namespace Quorvel
