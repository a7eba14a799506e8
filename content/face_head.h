// The closing scene's head as a function: a signed distance field built from a few soft shapes
// (skull, lower face, neck, nose, lips, brow, cheekbones, sockets, ears), and a fixed family of
// rays that turns the field into one grid of surface points. Every head shape is the same
// function with other numbers, so the three faces share their grid vertex for vertex and the
// scene can blend them. The canonical frame: centred at the origin, looking along +z, up +y,
// chin at y = -1 and crown at y = +1; the eyes lie at y = 0, halfway between them.
//
//   const HeadShape shape = HeadShape::calm();
//   Vec3 p = headPoint(shape, headRay(0.0f, 0.5f));  // on the surface, at the face's front
#pragma once

#include "content/mesh_builder.h"

namespace Quorvel::Assets {

// Numbers that make one face of the head; the three presets are the scene's three faces.
struct HeadShape {
    Vec3 cranium{0.74f, 0.87f, 0.97f};  // skull half-extents
    float craniumPower = 2.0f;          // 2 is an ellipsoid; higher is boxier
    float faceWidth = 0.64f;            // lower face half-width at the cheekbones
    float chinWidth = 0.33f;            // lower face half-width at the chin
    float chinY = -1.0f;                // lowest point of the chin
    float chinForward = 0.0f;           // pushes chin and jaw forward (+) or back (-)
    float browRidge = 1.0f;
    float socketDepth = 1.0f;
    float cheekbones = 1.0f;
    float cheekHollow = 0.0f;
    float templeHollow = 0.0f;          // sunken temples, which narrow the skull's outline
    float jaw = 1.0f;                   // the jaw bone's lower border, from the angle to the chin
    float neckTaper = 0.8f;             // the neck's width under the jaw, against its width below
    float lidOpening = 1.0f;            // how far the upper lid is raised (1 relaxed, less heavy)
    float noseTipY = -0.5f;
    float noseTipZ = 1.11f;
    float noseWidth = 1.0f;
    float lips = 1.0f;
    float mouthParting = 1.0f;
    float ears = 1.0f;
    float facets = 0.0f;                // 0 smooth skin .. 1 flat machined planes
    float crest = 0.0f;                 // a ridge along the skull's middle line, 1 stands 0.1 high

    static HeadShape calm();       // the sculpted face
    static HeadShape gaunt();      // older and gaunter: long jaw, hollow cheeks, deep sockets
    static HeadShape machined();   // wide, flattened planes, a slot for a mouth
};

// Eyeball centres (left eye at -x) and radius in the canonical frame; every shape keeps its
// sockets around them, so the eyes can stay still while the face changes.
constexpr float eyeRadius = 0.12f;
Vec3 eyeCentre(int side);  // side -1 or +1

// The lids are a shell this much thicker than the eyeball, open in an almond between their
// margins. lidMargins gives the margins' heights above the eye's centre at an offset x across
// the eye (towards its outer corner), for a shape's lid opening; |x| beyond the corners has none.
constexpr float lidThickness = 0.014f;
constexpr float lidCorner = 0.112f;  // the corners' distance from the eye's centre
struct LidMargins {
    float upper, lower;
};
LidMargins lidMargins(float lidOpening, float x);

// The neck: an elliptical column whose axis leans forward towards the shoulders, the same for
// every shape from the rings down (they do not move); under the jaw each shape narrows it.
constexpr float neckRadiusX = 0.46f, neckRadiusZ = 0.43f;
inline float neckAxisZ(float y) { return -0.2f - 0.14f * (y + 0.8f); }

// Signed distance (approximate, negative inside) of a canonical point from the head's surface.
float headDistance(const HeadShape& shape, Vec3 p);

struct HeadRay {
    Vec3 origin, direction;
};

// The ray for azimuth `angle` (radians, 0 at the front, +pi/2 towards +x) and height parameter
// `w` in [0, 1]: horizontal rays from the neck's axis at w = 0 (the neck's cut), tilting down
// from a rising origin through the jaw, then a fan from the head's centre up to the crown at 1.
HeadRay headRay(float angle, float w);

// The outermost surface point of the head along a ray (searched from outside inwards).
Vec3 headPoint(const HeadShape& shape, const HeadRay& ray);

// Row parameters w for `rows` + 1 grid rows, spaced evenly along the calm head's surface with
// extra rows through the face, and each row's texture coordinate (0 at the cut, 1 at the crown).
struct HeadRows {
    std::vector<float> w, t;
};
HeadRows headRows(int rows);

// Column azimuths for `columns` + 1 grid columns from -pi (the back) to +pi, denser at the face.
std::vector<float> headColumns(int columns);

// The head as a grid of quads: columns wrap at the back (a seam of duplicated vertices), rows
// run from the neck's cut to the crown. Texture coordinates: s = azimuth / 2pi + 0.5, t as above.
// Smooth normals point outwards. Same topology for every shape.
MeshBuilder headMesh(const HeadShape& shape, int columns, int rows);

}  // namespace Quorvel::Assets
