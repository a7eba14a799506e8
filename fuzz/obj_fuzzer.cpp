// libFuzzer entry point for the OBJ reader: any bytes must parse without crashing, and the
// result must be drawable (attribute arrays exactly parallel to the positions).
//
//   build-fuzz/qvl_fuzz_obj fuzz/corpus/obj      (see fuzz/README.md)
#include "engine/obj_reader.h"

#include <cstddef>
#include <cstdint>

namespace {
void require(bool condition) {
    if (!condition) __builtin_trap();
}

void checkSet(const std::vector<float>& positions, const std::vector<float>& texCoords,
              const std::vector<float>& normals, std::size_t cornersPerFace, bool hasTexCoords, bool hasNormals) {
    require(positions.size() % (3 * cornersPerFace) == 0);
    const std::size_t vertices = positions.size() / 3;
    require(texCoords.size() == (hasTexCoords ? vertices * 2 : 0));
    require(normals.size() == (hasNormals ? vertices * 3 : 0));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Quorvel::Mesh mesh;
    Quorvel::readObj(reinterpret_cast<const char*>(data), size, mesh);
    checkSet(mesh.trianglePositions, mesh.triangleTexCoords, mesh.triangleNormals, 3, mesh.hasTexCoords,
             mesh.hasNormals);
    checkSet(mesh.quadPositions, mesh.quadTexCoords, mesh.quadNormals, 4, mesh.hasTexCoords, mesh.hasNormals);
    return 0;
}
