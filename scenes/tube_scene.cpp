#include "scenes/tube_scene.h"

#include "engine/frame_target.h"
#include "engine/pass_setup.h"
#include "engine/scene_helpers.h"
#include "engine/scene_setup.h"
#include "engine/shared_multisample.h"
#include "engine/frame_timer.h"
#include "scenes/data_files.h"
#include "scenes/tube_timing.h"

namespace Quorvel::Ostrel {

TubeScene::TubeScene(std::int32_t width, std::int32_t height) : Scene(width, height, 94.0, 135.0, 5.0) {}

TubeScene::~TubeScene() {
    frameBuffer.reset();
    depthTarget.reset();
    colourTarget.reset();
    releaseLastFirst(greetings);
    releaseInOrder(postFragmentShader, postVertexShader, cellFragmentShader, cellVertexShader, tubeFragmentShader,
                   tubeVertexShader, postProgram, cellProgram, tubeProgram, cellMesh, tubeMesh);
}

void TubeScene::load() {
    camera.perspective = true;
    camera.focalLength = 0.05f;
    camera.location = {0.0f, 0.0f, 0.0f};
    camera.rotation = {1.57075f, 0.0f, 0.0f};
    tubeMesh = new Mesh(DataFiles::kVein);
    cellMesh = new Mesh(DataFiles::kBloodCell);
    buildProgram("data/tube_tube.vert", "data/tube_tube.frag", tubeVertexShader, tubeFragmentShader, tubeProgram,
                 {{"lightNormal", &tubeLightLocation}, {"t", &tubeTLocation}, {"tex", &tubeTexLocation}});
    buildProgram("data/tube_cell.vert", "data/tube_cell.frag", cellVertexShader, cellFragmentShader, cellProgram,
                 {{"lightNormal", &cellLightLocation}, {"t", &cellTLocation}, {"tex", &cellTexLocation}});
    // "input" is reserved in GLSL 1.20: the shader names its sampler otherwise, so this lookup
    // finds nothing and the sampler keeps unit 0, where drawFullscreen() binds the image.
    buildProgram("data/tube_post.vert", "data/tube_post.frag", postVertexShader, postFragmentShader, postProgram,
                 {{"input", &inputLocation}, {"t", &postTLocation}});
    buildViewportTargets();
    for (const char* path : DataFiles::kGreetings) greetings.push_back(new Texture(path));
    for (Texture* greeting : greetings) clampEdges(*greeting);
    loaded = true;
}

void TubeScene::resize(std::int32_t width, std::int32_t height, const FrameTarget& target) {
    Scene::resize(width, height, target);
    if (loaded) buildViewportTargets();
}

// The old target goes first, so that a resize never holds two at once.
void TubeScene::buildViewportTargets() {
    frameBuffer.reset();
    depthTarget.reset();
    colourTarget.reset();
    buildOffscreenTarget(viewportWidth, viewportHeight, "tubescene: fbo error", frameBuffer, colourTarget, &depthTarget);
}

void TubeScene::render(double time) {
    if (!loaded) return;
    const double d = time - startTime;
    {
        const ViewportGuard offscreen(viewportWidth, viewportHeight);
        drawOffscreen(d);
    }
    const TimedPass timed("post");
    resetFlatState();
    resetFlatState();  // twice, as the scene has always done
    glUseProgram(postProgram->name);
    glUniform1i(inputLocation, 0);
    glUniform1f(postTLocation, float(d));
    colourTarget->drawFullscreen();
    glUseProgram(0);
    resetFlatState();
}

// Tube, cells and greetings into the scene's own target; framebuffer 0 is bound afterwards.
void TubeScene::drawOffscreen(double d) {
    const TimedPass timed("tube");
    MultisamplePass pass(frameTarget.multisample, frameBuffer->name);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    loadCameraMatrices(camera);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);

    drawTube(float(d));
    drawCells(d);
    glUseProgram(0);
    glDisable(GL_DEPTH_TEST);
    drawGreetings(d);

    pass.resolve(viewportWidth, viewportHeight);
    bindScreen(frameTarget.screen);
}

void TubeScene::drawTube(float d) {
    glUseProgram(tubeProgram->name);
    glUniform3f(tubeLightLocation, -1.0f, 1.0f, 1.0f);
    glUniform1f(tubeTLocation, d);
    glUniform1i(tubeTexLocation, 0);
    glPushMatrix();
    glTranslatef(0.0f, 3.0f, 0.0f);
    tubeMesh->draw();
    glPopMatrix();
    glUseProgram(0);
}

void TubeScene::drawCells(double d) {
    glUseProgram(cellProgram->name);
    glUniform3f(cellLightLocation, 0.0f, 0.5f, 1.0f);
    glUniform1f(cellTLocation, float(d));
    glUniform1i(cellTexLocation, 0);
    for (const CellPlacement& cell : cellPlacements(d)) {
        glPushMatrix();
        glTranslatef(cell.position[0], cell.position[1], cell.position[2]);
        glRotatef(cell.angleDegrees, cell.axis[0], cell.axis[1], cell.axis[2]);
        glScalef(0.4f, 0.4f, 0.4f);
        cellMesh->draw();
        glPopMatrix();
    }
}

void TubeScene::drawGreetings(double d) {
    const GreetingFrame frame = greetingFrame(d, timeOffset);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (int j = 0; j < frame.trailCopies; ++j)
        drawGreeting(frame.trailIndex, trailDepth(j), trailOpacity(frame.trailPhase, j));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    drawGreeting(frame.mainIndex, 2.31, frame.mainOpacity);
}

// A quarter turn about x stands the picture across the line of sight, upright and unmirrored.
void TubeScene::drawGreeting(std::int64_t index, double depth, double opacity) {
    glColor4f(1.0f, 1.0f, 1.0f, float(opacity));
    glPushMatrix();
    glTranslatef(0.0f, float(depth), -0.6f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    if (index >= 0 && index < std::int64_t(greetings.size())) greetings[size_t(index)]->drawPixelQuad(2000);
    glPopMatrix();
}

}  // namespace Quorvel::Ostrel
