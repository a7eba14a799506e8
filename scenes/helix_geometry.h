// The helix scene's procedural geometry, built once at load: the band (a strip of rectangular
// cross-section wound about the x axis, drawn as four triangle strips), the rung (an open
// cylinder along y from the axis to radius 1) and the flash groups of the 80 half-rungs.
// Pure: fills arrays, makes no GL call. Drawing and the second band (the first turned half a
// turn) belong to the scene.
//
//   std::vector<float> positions, normals;
//   buildBandMesh(bandProfile(), kBandSteps, positions, normals);  // 5760 floats each
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Quorvel::Ostrel {

constexpr std::int32_t kBandSteps = 240;    // steps along each band face
constexpr float kRungRadius = 0.1f;         // radius of a rung cylinder
constexpr std::int32_t kRungSegments = 24;  // segments around a rung
constexpr int kRungGroupCount = 20;         // groups of the two sets of ten half-rungs

// The band's cross-section: four corners, each (radial factor, axial offset).
std::array<float, 8> bandProfile();

// Band mesh: 4 faces x `steps` steps x 2 vertices, positions and normals 3 floats per vertex.
// Face f joins corner f to corner (f + 1) mod 4; step j turns by j * 3.1415 / 18 radians and
// advances j / 12 along x. The flat faces' first and last steps keep normal (0, 0, 0).
void buildBandMesh(const std::array<float, 8>& profile, std::int32_t steps, std::vector<float>& positions,
                   std::vector<float>& normals);

// Rung mesh: `segments` + 1 pairs (bottom at y = 0, then top at y = 1) of an open cylinder.
void buildRungMesh(float radius, std::int32_t segments, std::vector<float>& positions, std::vector<float>& normals);

// Flash groups (0, 1 or 2) of the two sets of ten half-rungs: two draws per i from `draw`
// (entry i, then entry i + 10); equal pairs are separated, so entries i and i + 10 always differ.
std::vector<std::int32_t> drawRungGroups(const std::function<int()>& draw);

}  // namespace Quorvel::Ostrel
