// The face scene drawn for real (Xvfb + Mesa) with the build's data/: designed frames through
// both phases and the morphs, the group in view from the start, credits never seen edge-on,
// motion and the fade to black at the end, no skin burnt out to white, the background
// mirrored at the cut, the state it leaves, and face meshes of unequal size morphed only as
// far as the shortest, with one message.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
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

class FaceGl : public SceneGlTest {
protected:
    std::vector<std::uint8_t> frameAt(FaceScene& face, double time) {
        startSceneFrame();
        face.render(time);
        return gl.readPixels();
    }
};

// Pixels whose colour differs by more than `threshold` in some channel.
int changedPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int threshold = 24) {
    int changed = 0;
    for (size_t i = 0; i + 3 < a.size(); i += 4)
        changed += std::abs(a[i] - b[i]) > threshold || std::abs(a[i + 1] - b[i + 1]) > threshold ||
                   std::abs(a[i + 2] - b[i + 2]) > threshold;
    return changed;
}

}  // namespace

TEST_F(FaceGl, FramesShowTheGroupThroughBothPhasesAndTheMorphs) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.faceMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    std::vector<std::uint8_t> previous;
    for (double time : {135.0, 140.0, 150.0, 155.0, 160.0, 164.5, 166.2, 167.0}) {
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

TEST_F(FaceGl, TheGroupIsInViewFromTheFirstSeconds) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.modulesMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    Mesh modules = *face.modulesMesh, cable = *face.tubeMesh;
    for (double time : {134.2, 135.0, 136.0, 138.0, 141.0}) {
        const std::vector<std::uint8_t> whole = frameAt(face, time);
        std::swap(*face.modulesMesh, modules);
        std::swap(*face.tubeMesh, cable);
        face.modulesMesh->quadPositions.clear();
        face.modulesMesh->trianglePositions.clear();
        face.tubeMesh->quadPositions.clear();
        face.tubeMesh->trianglePositions.clear();
        const std::vector<std::uint8_t> bare = frameAt(face, time);
        std::swap(*face.modulesMesh, modules);
        std::swap(*face.tubeMesh, cable);
        EXPECT_GT(changedPixels(whole, bare), kWidth * kHeight / 40) << "at " << time;
    }
}

TEST_F(FaceGl, CreditsAreNeverSeenEdgeOnAndOpenFacingTheCamera) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.faceMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    // The same scene with credits that are not there.
    ScratchData data;
    data.writePng(DataFiles::kCredits, std::vector<std::uint8_t>(size_t(64) * 64 * 4, 0), 64, 64);
    data.enter();
    FaceScene bare(kWidth, kHeight);
    bare.load();
    data.leave();
    // Edge-on or swinging through a steep angle, and everywhere the second camera looks.
    for (double time : {134.5, 135.5, 136.2, 136.8, 137.0, 154.5, 158.0, 162.0, 164.5, 167.0})
        EXPECT_EQ(changedPixels(frameAt(face, time), frameAt(bare, time), 8), 0) << "at " << time;
    // Open and facing the first camera, they are plainly there.
    EXPECT_GT(changedPixels(frameAt(face, 139.0), frameAt(bare, 139.0)), kWidth * kHeight / 100);
}

TEST_F(FaceGl, TheEndKeepsMovingAndFadesToBlackWithTheMusic) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.faceMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    std::vector<std::uint8_t> previous = frameAt(face, 164.0);
    double previousMean = brightness(previous).mean;
    EXPECT_GT(previousMean, 30.0);
    for (double time = 164.5; time < 169.95; time += 0.5) {
        const std::vector<std::uint8_t> frame = frameAt(face, time);
        const double mean = brightness(frame).mean;
        // Something moves in every half second, until the picture is nearly black.
        if (mean > 8.0) {
            EXPECT_GT(changedPixels(frame, previous, 4), kWidth * kHeight / 500) << "at " << time;
        }
        // Never brighter again once the fade has begun.
        if (time > 166.5) {
            EXPECT_LE(mean, previousMean + 0.5) << "at " << time;
        }
        previous = frame;
        previousMean = mean;
    }
    EXPECT_GT(brightness(frameAt(face, 166.2)).mean, 30.0);  // the snap to the third face is seen
    EXPECT_LT(brightness(frameAt(face, 168.0)).mean, brightness(frameAt(face, 166.2)).mean * 0.8);
    const std::vector<std::uint8_t> last = frameAt(face, 169.9);
    int lit = 0;
    for (size_t i = 0; i < last.size(); i += 4) lit += std::max({last[i], last[i + 1], last[i + 2]}) > 2;
    EXPECT_EQ(lit, 0) << "black by 170 s";
}

TEST_F(FaceGl, NoSkinIsBurntOutToWhite) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.faceMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    // The eyes' glints are painted into their picture, meant to be the brightest spots: the
    // skin and the parts around it are what the light must not burn out.
    face.eyesMesh->quadPositions.clear();
    face.eyesMesh->trianglePositions.clear();
    for (double time : {150.0, 153.5, 156.0, 160.0, 164.5, 165.5, 166.2}) {
        const std::vector<std::uint8_t> frame = frameAt(face, time);
        int white = 0;
        std::string where;
        for (size_t i = 0; i < frame.size(); i += 4)
            if (std::min({frame[i], frame[i + 1], frame[i + 2]}) >= 250) {
                ++white;
                where += " (" + std::to_string(i / 4 % kWidth) + ", " + std::to_string(i / 4 / kWidth) + ")";
            }
        EXPECT_EQ(white, 0) << "at " << time << ":" << where;
    }
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

namespace {

void clearMesh(Mesh* mesh) {
    mesh->quadPositions.clear();
    mesh->trianglePositions.clear();
}

// A picture of one opaque colour.
std::vector<std::uint8_t> plainPicture(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> rgba(size_t(64) * 64 * 4, 255);
    for (size_t i = 0; i < rgba.size(); i += 4) rgba[i] = r, rgba[i + 1] = g, rgba[i + 2] = b;
    return rgba;
}

// Brightest channel of each pixel, lowest and highest over the frame.
std::pair<int, int> channelRange(const std::vector<std::uint8_t>& frame) {
    int low = 255, high = 0;
    for (size_t i = 0; i + 3 < frame.size(); i += 4) {
        const int v = std::max({frame[i], frame[i + 1], frame[i + 2]});
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return {low, high};
}

// Brightness summed over the frame.
double lightIn(const std::vector<std::uint8_t>& frame) { return brightness(frame).mean * double(frame.size() / 4); }

}  // namespace

// Nothing of the group but a white background and opaque red credits with no box to hide
// them: the fade darkens the whole picture evenly, the credits wherever they show included,
// and depends on no mesh of the scene.
TEST_F(FaceGl, TheFadeCoversTheWholePictureCreditsIncluded) {
    REQUIRE_GL(gl);
    ScratchData data;
    data.writePng(DataFiles::kFaceBackground, plainPicture(255, 255, 255), 64, 64);
    data.writePng(DataFiles::kCredits, plainPicture(255, 0, 0), 64, 64);
    data.enter();
    FaceScene face(kWidth, kHeight);
    face.load();
    data.leave();
    for (Mesh* mesh : {face.faceMesh, face.eyesMesh, face.modulesMesh, face.tubeMesh, face.motesMesh,
                       face.wipeMaskMesh, face.wipeFrontMesh, face.creditsBoxMesh})
        clearMesh(mesh);
    // Before the fade the picture is untouched.
    EXPECT_EQ(channelRange(frameAt(face, 166.2)), std::make_pair(255, 255));
    // At 168 s the fade is 0.468 of the way to black: 255 * 0.532 = 135.6 everywhere.
    const auto [low, high] = channelRange(frameAt(face, 168.0));
    EXPECT_GE(low, 133);
    EXPECT_LE(high, 138);
    EXPECT_EQ(channelRange(frameAt(face, 169.9)), std::make_pair(0, 0));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[3], 1.0f) << "the fade's colour is left behind";
}

// The motes alone over a black background: brighter on the music's beat than just before it,
// in both phases (beats 312 at 144 s and 347 at 2082 / 13 s of demo time).
TEST_F(FaceGl, MotesPulseOnTheBeatInBothPhases) {
    REQUIRE_GL(gl);
    ScratchData data;
    data.writePng(DataFiles::kFaceBackground, plainPicture(0, 0, 0), 64, 64);
    data.writePng(DataFiles::kCredits, std::vector<std::uint8_t>(size_t(64) * 64 * 4, 0), 64, 64);
    data.enter();
    FaceScene face(kWidth, kHeight);
    face.load();
    data.leave();
    ASSERT_GT(face.motesMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    for (Mesh* mesh : {face.faceMesh, face.eyesMesh, face.modulesMesh, face.tubeMesh}) clearMesh(mesh);
    for (double beat : {144.0, 2082.0 / 13.0}) {
        const double on = lightIn(frameAt(face, beat)), before = lightIn(frameAt(face, beat - 0.05));
        EXPECT_GT(on, 2000.0) << "motes in view at " << beat;
        EXPECT_GT(on, before * 1.4) << "at " << beat;
    }
}

// The wipe's mask hides the part of the opening credits the front has not reached yet, its
// front glows while it moves, and neither is drawn once the wipe is over.
TEST_F(FaceGl, TheWipeRevealsTheCreditsFromTheMastAndThenGoes) {
    REQUIRE_GL(gl);
    FaceScene face(kWidth, kHeight);
    face.load();
    ASSERT_GT(face.wipeMaskMesh->quadPositions.size(), 0u) << "is data/ built (qvl_data)?";
    Mesh mask = *face.wipeMaskMesh, front = *face.wipeFrontMesh;
    auto withoutWipe = [&](double time) {
        clearMesh(face.wipeMaskMesh);
        clearMesh(face.wipeFrontMesh);
        const std::vector<std::uint8_t> frame = frameAt(face, time);
        *face.wipeMaskMesh = mask;
        *face.wipeFrontMesh = front;
        return frame;
    };
    auto withoutFront = [&](double time) {
        clearMesh(face.wipeFrontMesh);
        const std::vector<std::uint8_t> frame = frameAt(face, time);
        *face.wipeFrontMesh = front;
        return frame;
    };
    // Half way through, the mask still hides a good part of the credits.
    EXPECT_GT(changedPixels(frameAt(face, 137.6), withoutWipe(137.6)), kWidth * kHeight / 200);
    // The front's line, a pixel or so wide, brightens most rows of the picture.
    EXPECT_GT(changedPixels(frameAt(face, 137.8), withoutFront(137.8)), kHeight / 2) << "the front glows";
    EXPECT_EQ(changedPixels(frameAt(face, 137.0), withoutFront(137.0), 0), 0) << "no glow before it moves";
    EXPECT_EQ(frameAt(face, 139.5), withoutWipe(139.5));
    EXPECT_EQ(frameAt(face, 160.0), withoutWipe(160.0));
}
