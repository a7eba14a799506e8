#include "engine/mesh.h"

#include "engine/obj_reader.h"

#include <GL/glew.h>

#include <fstream>
#include <iostream>

namespace Quorvel {

namespace {
void drawSet(GLenum primitive, const std::vector<float>& positions, const std::vector<float>& normals,
             const std::vector<float>& texCoords, bool hasTexCoords, bool hasNormals) {
    if (positions.empty()) return;
    const std::size_t vertices = positions.size() / 3;
    // The reader keeps the attribute arrays parallel; this guards hand-edited meshes too.
    const bool useTexCoords = hasTexCoords && texCoords.size() >= vertices * 2;
    const bool useNormals = hasNormals && normals.size() >= vertices * 3;
    glEnableClientState(GL_VERTEX_ARRAY);
    if (useTexCoords) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (useNormals) glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    if (useNormals) glNormalPointer(GL_FLOAT, 0, normals.data());
    if (useTexCoords) glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glDrawArrays(primitive, 0, static_cast<GLsizei>(vertices));
    glDisableClientState(GL_VERTEX_ARRAY);
    if (useTexCoords) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (useNormals) glDisableClientState(GL_NORMAL_ARRAY);
}
}  // namespace

Mesh::Mesh(const char* path) {
    std::ifstream file(path ? path : "", std::ios::binary);
    // The scene draws whatever was read; these lines say which model to look at.
    if (!file) {
        std::cerr << "mesh: cannot open " << (path ? path : "(null)") << std::endl;
        return;
    }
    const std::size_t skipped = readObj(file, *this);
    if (skipped > 0) std::cerr << "mesh: " << path << ": " << skipped << " faces skipped (bad indices)" << std::endl;
    if (quadPositions.empty() && trianglePositions.empty()) std::cerr << "mesh: " << path << " holds no faces" << std::endl;
}

Mesh::Mesh(std::istream& in) {
    readObj(in, *this);
}

void Mesh::draw() const {
    drawSet(GL_QUADS, quadPositions, quadNormals, quadTexCoords, hasTexCoords, hasNormals);
    drawSet(GL_TRIANGLES, trianglePositions, triangleNormals, triangleTexCoords, hasTexCoords, hasNormals);
}

}  // namespace Quorvel
