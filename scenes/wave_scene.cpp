#include "scenes/wave_scene.h"

#include "engine/frame_timer.h"
#include "engine/pass_setup.h"
#include "engine/scene_helpers.h"
#include "engine/scene_setup.h"
#include "scenes/data_files.h"
#include "scenes/wave_timing.h"

namespace Quorvel::Ostrel {

WaveScene::WaveScene(std::int32_t width, std::int32_t height, SpectrumAnalyser* spectrumAnalyser)
    : Scene(width, height, 74.0, 100.0, 0.0), analyser(spectrumAnalyser) {}

WaveScene::~WaveScene() {
    releaseInOrder(lineProgram, fragmentShader, vertexShader, secondNameTexture, firstNameTexture, skyTexture, skyMesh);
}

void WaveScene::load() {
    camera.perspective = true;
    camera.focalLength = 0.05f;
    camera.location = {0.0f, 0.0f, 0.0f};
    camera.rotation = {1.2661641f, 0.0f, 0.67301404f};
    skyMesh = new Mesh(DataFiles::kSkyDome);
    skyTexture = new Texture(DataFiles::kSkyPicture);
    firstNameTexture = new Texture(DataFiles::kFirstName);
    clampEdges(*firstNameTexture);
    secondNameTexture = new Texture(DataFiles::kSecondName);
    clampEdges(*secondNameTexture);
    buildProgram("data/wave_line.vert", "data/wave_line.frag", vertexShader, fragmentShader, lineProgram);
    loaded = true;
}

void WaveScene::render(double time) {
    if (!loaded) return;
    const float u = float(time - startTime + timeOffset);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(0);

    loadCameraMatrices(camera);
    glTranslatef(-6.91694f, 8.06928f, -4.53015f);
    glRotatef(worldAngle(time), 0.0f, 0.0f, 1.0f);

    {
        const TimedPass pass("sky");
        drawSky();
    }
    {
        const TimedPass pass("lines");
        drawLines(time);
    }
    glUseProgram(0);

    resetFlatState();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const TimedPass pass("names");
    drawNames(u);
}

void WaveScene::drawSky() {
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    // Added to black: the sky's colours as they are, its opacity times 1.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    glPushMatrix();
    glScalef(3.0f, 3.0f, 3.0f);
    skyTexture->bind(GL_TEXTURE0);
    skyMesh->draw();
    skyTexture->unbind();
    glPopMatrix();
}

void WaveScene::drawLines(double time) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glScalef(3.0f, 1.0f, 0.7f);
    glUseProgram(lineProgram->name);
    if (analyser == nullptr) return;
    for (int i = -kLineReach; i <= kLineReach; ++i) {
        glPushMatrix();
        glTranslatef(0.0f, float(i * 0.4), 0.0f);
        analyser->drawSpectrum(lineTime(i, time));
        glPopMatrix();
    }
}

void WaveScene::drawNames(float u) {
    Texture* const pictures[2] = {secondNameTexture, firstNameTexture};  // tornwick first, then pelmo
    for (int k = 0; k < 2; ++k) {
        const NameFade& name = kNameFades[k];
        if (k == 1) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        const float opacity = float(fadeInOut(double(u), name.fadeIn, name.fadeOut));
        glColor4f(1.0f, 1.0f, 1.0f, opacity);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_TEXTURE_2D);
        glPushMatrix();
        glTranslatef(name.dx, -0.3f, 0.0f);
        pictures[k]->drawPixelQuad(1080);
        glPopMatrix();
    }
}

}  // namespace Quorvel::Ostrel
