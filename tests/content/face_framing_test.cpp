// How the two cameras frame the head, from the generated meshes and the scene's own cameras:
// the whole profile in view for the first camera's last six seconds, and a portrait at the end
// with the eyes a third of the way down and the chin in the picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "content/face_head.h"
#include "content/face_meshes.h"
#include "scenes/face_view.h"

using namespace Quorvel::Assets;
using Quorvel::Ostrel::facePhase;
using Quorvel::Ostrel::faceView;
using Quorvel::Ostrel::projectToFrame;

namespace {

const FaceMeshes& meshes() {
    static const FaceMeshes built = buildFaceMeshes();
    return built;
}

struct Box {
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
};

std::array<float, 2> atTime(double time, Vec3 p) { return projectToFrame(faceView(facePhase(time - 134.0)), {p.x, p.y, p.z}); }

// The head from crown to chin (the neck below the jaw left out) in the picture at `time`.
Box headBox(const MeshBuilder& face, double time) {
    Box box;
    for (const Vec3& p : face.positions) {
        if (canonicalOf(p).y < -1.08f) continue;
        const auto [x, y] = atTime(time, p);
        box = {std::min(box.left, x), std::max(box.right, x), std::min(box.bottom, y), std::max(box.top, y)};
    }
    return box;
}

float eyesHeight(double time) { return 0.5f * (atTime(time, sceneOf(eyeCentre(-1)))[1] + atTime(time, sceneOf(eyeCentre(1)))[1]); }

void expectInside(const Box& box, double time, float margin = 0.01f) {
    EXPECT_GT(box.left, -1.0f + margin) << time;
    EXPECT_LT(box.right, 1.0f - margin) << time;
    EXPECT_GT(box.bottom, -1.0f + margin) << time;
    EXPECT_LT(box.top, 1.0f - margin) << time;
}

}  // namespace

TEST(FaceFraming, TheFirstCameraHoldsTheWholeProfileForSixSecondsBeforeTheCut) {
    for (const double time : {148.0, 149.5, 151.0, 152.5, 153.99}) expectInside(headBox(meshes().face, time), time);
    // It enters from the top: part of it is still above the picture two seconds earlier.
    EXPECT_GT(headBox(meshes().face, 146.0).top, 1.0f);
    // Seen from the side: the head is wider across the picture than the eyes are apart.
    const Box box = headBox(meshes().face, 151.0);
    const float eyesApart = std::abs(atTime(151.0, sceneOf(eyeCentre(1)))[0] - atTime(151.0, sceneOf(eyeCentre(-1)))[0]);
    EXPECT_LT(eyesApart, 0.25f * (box.right - box.left));
}

TEST(FaceFraming, TheSecondCameraEndsOnAPortrait) {
    const MeshBuilder* faces[] = {&meshes().face, &meshes().face, &meshes().face2, &meshes().face3, &meshes().face3};
    const double times[] = {162.0, 163.9, 165.2, 166.5, 168.5};
    for (int i = 0; i < 5; ++i) {
        const Box box = headBox(*faces[i], times[i]);
        expectInside(box, times[i]);
        // Centred across, and filling a good part of the picture's height.
        EXPECT_LT(std::abs(box.left + box.right), 0.1f) << times[i];
        EXPECT_GT(box.top - box.bottom, 0.75f) << times[i];
    }
    // Once it faces the head, the eyes sit a third of the way down (0.33 in these units),
    // rising to it while the camera straightens.
    for (const double time : {164.5, 166.0, 168.0}) {
        EXPECT_GT(eyesHeight(time), 0.25f) << time;
        EXPECT_LT(eyesHeight(time), 0.42f) << time;
    }
    EXPECT_GT(eyesHeight(162.0), 0.0f);
}

TEST(FaceFraming, TheObliqueStartShowsTheFaceRisingIntoThePicture) {
    // From the cut the eyes are in the picture, and the chin has come in by 158.5 s.
    for (const double time : {154.0, 155.0, 156.5, 158.0}) EXPECT_GT(eyesHeight(time), -0.85f) << time;
    EXPECT_GT(headBox(meshes().face, 158.5).bottom, -1.0f);
    expectInside(headBox(meshes().face, 160.0), 160.0);
}
