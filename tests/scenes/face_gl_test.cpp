// The face scene drawn for real (Xvfb + Mesa) with the build's data/: designed frames through
// both phases and the morphs, the background mirrored at the cut, the state it leaves, and
// face meshes of unequal size morphed only as far as the shortest, with one message.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/window.h"
#include "scenes/data_files.h"
#include "scenes/face_scene.h"
#include "tests/engine/stream_capture.h"
#include "tests/scenes/scratch_data.h"
#include "tests/scenes/scene_frames.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

constexpr int kWidth = kSceneWidth, kHeight = kSceneHeight;

class FaceGl : public SceneGlTest {};

}  // namespace

TEST_F(FaceGl, FramesShowTheGroupThroughBothPhasesAndTheMorphs) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.faceMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    std::vector<std::uint8_t> previous;
    for (double time : {135.0, 140.0, 150.0, 155.0, 160.0, 164.5, 166.2, 169.0}) {
        startSceneFrame();
        face.render(time);
        const std::vector<std::uint8_t> frame = gl.readPixels();
        const auto [mean, spread] = brightness(frame);
        EXPECT_GT(mean, 30.0) << "at " << time;
        EXPECT_GT(spread, 15.0) << "at " << time;
        EXPECT_NE(frame, previous) << "at " << time;
        previous = frame;
    }
    // The morph shows: the third shape differs from the base where the face is drawn.
    startSceneFrame();
    face.render(165.9);
    const std::vector<std::uint8_t> second = gl.readPixels();
    startSceneFrame();
    face.render(166.2);
    const std::vector<std::uint8_t> third = gl.readPixels();
    int changed = 0;
    for (size_t i = 0; i < second.size(); i += 4) changed += std::abs(second[i] - third[i]) > 40;
    EXPECT_GT(changed, kWidth * kHeight / 50);
    // Same time, same shape: the working copy is rebuilt from the base every frame.
    startSceneFrame();
    face.render(166.2);
    EXPECT_EQ(gl.readPixels(), third);
}

TEST_F(FaceGl, BackgroundMirrorsAtTheCutAndTheStateIsLeftClean) {
    REQUIRE_GL(gl);
    // A background red on its left half and blue on its right.
    std::vector<unsigned char> marker(size_t(64) * 64 * 4, 255);
    for (size_t y = 0; y < 64; ++y)
        for (size_t x = 0; x < 64; ++x) {
            unsigned char* p = &marker[(y * 64 + x) * 4];
            p[0] = x < 32 ? 255 : 0;
            p[1] = 0;
            p[2] = x < 32 ? 0 : 255;
        }
    ScratchData data;
    data.writePng(DataFiles::kFaceBackground, marker, 64, 64);
    data.enter();
    FaceScene face(kWidth, kHeight);
    face.load();
    data.leave();
    auto edgeRed = [&](int x) { return int(gl.pixel(x, kHeight / 2) >> 24); };
    startSceneFrame();
    glViewport(3, 5, kWidth - 6, kHeight - 10);
    face.render(153.9);
    EXPECT_GT(edgeRed(6), 200);
    EXPECT_LT(edgeRed(kWidth - 6), 50);
    startSceneFrame();
    glViewport(3, 5, kWidth - 6, kHeight - 10);
    face.render(154.1);
    EXPECT_LT(edgeRed(6), 50);
    EXPECT_GT(edgeRed(kWidth - 6), 200);

    GLint value = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE2}) {
        glActiveTexture(unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        EXPECT_EQ(value, 0) << "unit " << unit - GL_TEXTURE0;
    }
    glActiveTexture(GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    GLfloat matrix[16];
    for (GLenum which : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
        glGetFloatv(which, matrix);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    GLint blend[2];
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_EQ(blend[0], GL_SRC_ALPHA);
    EXPECT_EQ(blend[1], GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(FaceGl, UnequalFaceMeshesMorphOnlyAsFarAsTheShortest) {
    REQUIRE_GL(gl);
    ScratchData data;
    data.writeFile(DataFiles::kSecondFace, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");  // one quad
    data.enter();
    FaceScene face(kWidth, kHeight);
    {
        StreamCapture errors(std::cerr);
        face.load();
        EXPECT_NE(errors.text().find("facescene: face meshes differ in size"), std::string::npos) << errors.text();
        EXPECT_EQ(errors.text().find("facescene", errors.text().find("facescene") + 1), std::string::npos);
    }
    data.leave();
    ASSERT_EQ(face.morphedFloats, 12u);
    const std::vector<float> base = face.baseFaceMesh->quadPositions;
    for (double time : {160.0, 164.5, 166.2}) {
        startSceneFrame();
        face.render(time);  // AddressSanitizer would catch a read or write past an array
    }
    // At 166.2 s the covered part is the third shape; the rest keeps the base shape.
    const std::vector<float>& drawn = face.faceMesh->quadPositions;
    ASSERT_EQ(drawn.size(), base.size());
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(drawn[i], face.thirdFaceMesh->quadPositions[i]) << i;
    EXPECT_TRUE(std::equal(drawn.begin() + 12, drawn.end(), base.begin() + 12));
    // A face mesh that is missing altogether: nothing is morphed, nothing breaks.
    ScratchData empty;
    empty.writeFile(DataFiles::kThirdFace, "");
    empty.enter();
    FaceScene unloaded(kWidth, kHeight);
    {
        StreamCapture errors(std::cerr);
        unloaded.load();
    }
    empty.leave();
    EXPECT_EQ(unloaded.morphedFloats, 0u);
    startSceneFrame();
    unloaded.render(166.2);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
