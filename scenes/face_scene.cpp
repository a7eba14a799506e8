#include "scenes/face_scene.h"

#include <algorithm>
#include <iostream>

#include "engine/frame_timer.h"
#include "engine/pass_setup.h"
#include "engine/scene_helpers.h"
#include "engine/scene_setup.h"
#include "scenes/data_files.h"
#include "scenes/face_effect_layout.h"
#include "scenes/face_view.h"

namespace Quorvel::Ostrel {

FaceScene::FaceScene(std::int32_t width, std::int32_t height) : Scene(width, height, 134.0, 170.0, 0.0) {}

FaceScene::~FaceScene() {
    releaseInOrder(wipeProgram, wipeFragmentShader, wipeVertexShader, motesProgram, motesFragmentShader,
                   motesVertexShader);
    releaseInOrder(creditsBoxMesh, wipeFrontMesh, wipeMaskMesh, motesMesh);
    releaseInOrder(tubeProgram, modulesProgram, eyesProgram, faceProgram);
    releaseInOrder(tubeFragmentShader, tubeVertexShader, modulesFragmentShader, modulesVertexShader, eyesFragmentShader,
                   eyesVertexShader, faceFragmentShader, faceVertexShader);
    releaseInOrder(eyesTexture, lightProbeTexture, normalTexture, backgroundTexture, creditsTexture);
    releaseInOrder(tubeMesh, modulesMesh, eyesMesh, thirdFaceMesh, secondFaceMesh, baseFaceMesh, faceMesh);
}

void FaceScene::load() {
    creditsTexture = new Texture(DataFiles::kCredits);
    clampEdges(*creditsTexture);
    backgroundTexture = new Texture(DataFiles::kFaceBackground);
    faceMesh = new Mesh(DataFiles::kFace);
    baseFaceMesh = new Mesh(DataFiles::kFace);
    secondFaceMesh = new Mesh(DataFiles::kSecondFace);
    thirdFaceMesh = new Mesh(DataFiles::kThirdFace);
    eyesMesh = new Mesh(DataFiles::kEyes);
    modulesMesh = new Mesh(DataFiles::kModules);
    tubeMesh = new Mesh(DataFiles::kCable);
    // The morph walks the four position arrays side by side: never past the shortest.
    morphedFloats = std::min({faceMesh->quadPositions.size(), baseFaceMesh->quadPositions.size(),
                              secondFaceMesh->quadPositions.size(), thirdFaceMesh->quadPositions.size()});
    if (morphedFloats != faceMesh->quadPositions.size() || morphedFloats != secondFaceMesh->quadPositions.size() ||
        morphedFloats != thirdFaceMesh->quadPositions.size()) {
        std::cerr << "facescene: face meshes differ in size; morphing the first " << morphedFloats / 3
                  << " vertices only" << std::endl;
    }
    normalTexture = new Texture(DataFiles::kFaceNormals);
    lightProbeTexture = new Texture(DataFiles::kLightProbe);
    buildProgram("data/face_face.vert", "data/face_face.frag", faceVertexShader, faceFragmentShader, faceProgram,
                 {{"lightNormal", &faceLightLocation}, {"ntex", &ntexLocation}, {"lightProbe", &lightProbeLocation},
                  {"aged", &faceAgedLocation}, {"machined", &faceMachinedLocation}});
    eyesTexture = new Texture(DataFiles::kEyesPicture);
    buildProgram("data/face_eyes.vert", "data/face_eyes.frag", eyesVertexShader, eyesFragmentShader, eyesProgram,
                 {{"lightNormal", &eyesLightLocation}});
    buildProgram("data/face_modules.vert", "data/face_modules.frag", modulesVertexShader, modulesFragmentShader,
                 modulesProgram, {{"lightNormal", &modulesLightLocation}});
    buildProgram("data/face_tube.vert", "data/face_tube.frag", tubeVertexShader, tubeFragmentShader, tubeProgram,
                 {{"lightNormal", &tubeLightLocation}, {"t", &tubeTLocation}, {"tex", &tubeTexLocation},
                  {"beat", &tubeBeatLocation}});
    motesMesh = new Mesh(DataFiles::kFaceMotes);
    wipeMaskMesh = new Mesh(DataFiles::kWipeMask);
    wipeFrontMesh = new Mesh(DataFiles::kWipeFront);
    creditsBoxMesh = new Mesh(DataFiles::kCreditsBox);
    buildProgram("data/face_motes.vert", "data/face_motes.frag", motesVertexShader, motesFragmentShader, motesProgram,
                 {{"drift", &motesDriftLocation}, {"band", &motesBandLocation}, {"glow", &motesGlowLocation}});
    buildProgram("data/face_wipe.vert", "data/face_wipe.frag", wipeVertexShader, wipeFragmentShader, wipeProgram,
                 {{"front", &wipeFrontLocation}, {"glow", &wipeGlowLocation}});
    loaded = true;
}

void FaceScene::render(double time) {
    if (!loaded) return;
    glUseProgram(0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE2}) {
        glActiveTexture(unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);

    const FacePhase phase = facePhase(time - (startTime + timeOffset));
    const FaceEffects effects = faceEffects(time, phase.d);
    {
        const TimedPass pass("background");
        drawBackground(phase.second, phase.d);
    }
    placeCamera(phase.second, phase.d);
    morph(phase.d);
    {
        const TimedPass pass("faces");
        drawGroup(phase.d, effects);
    }
    {
        const TimedPass pass("motes");
        drawMotes(effects);
    }
    {
        const TimedPass pass("credits");
        drawCreditsMasks(effects);
        drawCredits(phase.d);
    }
    resetFlatState();
    // Over everything, the credits included, so the picture goes black whatever is in view.
    const TimedPass pass("fade");
    drawFade(effects.fade);
}

void FaceScene::drawBackground(bool second, double d) {
    glEnable(GL_TEXTURE_2D);
    resetFlatState();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    backgroundTexture->bind(GL_TEXTURE0);
    const auto coordinates =
        backgroundCoordinates(second, d, backgroundTexture->extentS, backgroundTexture->extentT);
    const float positions[4][2] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
    float corners[4][4];
    for (int k = 0; k < 4; ++k) {
        corners[k][0] = positions[k][0];
        corners[k][1] = positions[k][1];
        corners[k][2] = coordinates[size_t(k)][0];
        corners[k][3] = coordinates[size_t(k)][1];
    }
    drawMultitexturedQuad(corners);
    backgroundTexture->unbind();
}

// Every camera field is set before either matrix is computed, so a frame never mixes phases.
void FaceScene::placeCamera(bool second, double d) {
    const FaceView view = faceView({second, d});
    camera = view.camera;
    if (!second) {
        loadCameraMatrices(camera);
    } else {
        // The second camera's view is multiplied onto the identity rather than loaded.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glLoadMatrixf(camera.projectionMatrix().data());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glMultMatrixf(camera.viewMatrix().data());
    }
    glTranslatef(view.translation[0], view.translation[1], view.translation[2]);
}

void FaceScene::morph(double d) {
    morphFace(baseFaceMesh->quadPositions.data(), secondFaceMesh->quadPositions.data(),
              thirdFaceMesh->quadPositions.data(), morphedFloats, morphWeight(d), snapWeight(d),
              faceMesh->quadPositions.data());
}

void FaceScene::drawGroup(double d, const FaceEffects& effects) {
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);

    glUseProgram(modulesProgram->name);
    glUniform3f(modulesLightLocation, 0.0f, 0.5f, 1.0f);
    modulesMesh->draw();
    glUseProgram(0);

    const std::array<float, 3> light = faceLight(d);
    glUseProgram(faceProgram->name);
    glUniform3f(faceLightLocation, light[0], light[1], light[2]);
    glUniform1i(ntexLocation, 0);
    glUniform1i(lightProbeLocation, 1);
    glUniform1f(faceAgedLocation, agedWeight(d));
    glUniform1f(faceMachinedLocation, snapWeight(d));
    normalTexture->bind(GL_TEXTURE0);
    lightProbeTexture->bind(GL_TEXTURE1);
    faceMesh->draw();
    normalTexture->unbind();
    lightProbeTexture->unbind();
    glUseProgram(0);

    // The eyes are shaded by their own program (lit like the face, with a wet highlight) rather
    // than flat fixed-function texturing, which left them glowing in the shadowed sockets.
    glUseProgram(eyesProgram->name);
    glUniform3f(eyesLightLocation, light[0], light[1], light[2]);
    eyesTexture->bind(GL_TEXTURE0);
    eyesMesh->draw();
    eyesTexture->unbind();
    glUseProgram(0);

    glUseProgram(tubeProgram->name);
    glUniform3f(tubeLightLocation, 0.0f, 0.5f, 1.0f);
    glUniform1f(tubeTLocation, float(d));
    glUniform1i(tubeTexLocation, 0);
    glUniform1f(tubeBeatLocation, effects.beat);
    tubeMesh->draw();
    glUseProgram(0);
}

// In the group's 3D state, after the cable: the motes write depth where they show, as the
// group's parts do.
void FaceScene::drawMotes(const FaceEffects& effects) {
    glUseProgram(motesProgram->name);
    glUniform1f(motesDriftLocation, effects.drift);
    glUniform1f(motesBandLocation, FaceEffectLayout::kMoteBand);
    glUniform1f(motesGlowLocation, effects.moteGlow);
    motesMesh->draw();
    glUseProgram(0);
}

// Depth-only shapes in front of the credits, drawn before them: the first camera's mask with
// its glowing front while the wipe runs, the second camera's box in phase B.
void FaceScene::drawCreditsMasks(const FaceEffects& effects) {
    if (effects.maskInForce) {
        glUseProgram(wipeProgram->name);
        glUniform1f(wipeFrontLocation, effects.wipeFront);
        glUniform1f(wipeGlowLocation, effects.wipeGlow);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        wipeMaskMesh->draw();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        wipeFrontMesh->draw();
        glUseProgram(0);
    }
    if (effects.boxInForce) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        creditsBoxMesh->draw();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }
}

void FaceScene::drawCredits(double d) {
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(0.0f, -0.3f, 0.0f);
    glRotatef(creditsDegrees(d), 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 2.3f, -5.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glScalef(2.0f, 1.7f, 1.0f);
    creditsTexture->drawPixelQuad(1080);
    glPopMatrix();
}

// A black quad over the whole picture with the frame loop's blending, in the flat state the
// scene ends in (identity matrices, no depth test); nothing while the fade has not begun.
void FaceScene::drawFade(float opacity) {
    if (opacity <= 0.0f) return;
    glColor4f(0.0f, 0.0f, 0.0f, opacity);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace Quorvel::Ostrel
