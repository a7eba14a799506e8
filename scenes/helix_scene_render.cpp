// HelixScene's frame: the five passes. Kept apart from the set-up in helix_scene.cpp.
#include "scenes/helix_scene.h"

#include "engine/frame_target.h"
#include "engine/frame_timer.h"
#include "engine/pass_setup.h"
#include "engine/scene_helpers.h"
#include "engine/shared_multisample.h"
#include "scenes/helix_camera.h"
#include "scenes/helix_timing.h"
#include "scenes/picture_scale.h"

namespace Quorvel::Ostrel {
namespace {

// One strip-drawn mesh from client arrays, enabling and disabling the arrays around it.
void drawStrips(const std::vector<float>& positions, const std::vector<float>& normals, int strips,
                GLsizei stripLength) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    for (int s = 0; s < strips; ++s) glDrawArrays(GL_TRIANGLE_STRIP, s * stripLength, stripLength);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
}

}  // namespace

void HelixScene::render(double time) {
    if (!loaded) return;
    const HelixFrameTimes times = helixFrameTimes(time, startTime, timeOffset);
    {
        const ViewportGuard offscreen(viewportWidth, viewportHeight);
        drawBackground(times.localF);
        drawObject(time, times.curveTime, times.spinDegrees);
        drawBlur();
        drawCombine();
    }
    const TimedPass timed("post");
    loadIdentityMatrices();
    loadIdentityMatrices();
    glUseProgram(postProgram->name);
    glUniform1f(postTLocation, times.localF);
    glUniform1i(inputLocation, 0);
    postColour->drawFullscreen();
    glUseProgram(0);
}

void HelixScene::drawBackground(float localF) {
    const TimedPass timed("background");
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, backgroundFrameBuffer->name);
    glUseProgram(backgroundProgram->name);
    glUniform1f(backgroundTLocation, localF);
    glUniform1i(wallLocation, 0);
    glUniform1i(cloudsLocation, 1);
    glUniform1i(titleLocation, 2);
    wallTexture->bind(GL_TEXTURE0);
    cloudsTexture->bind(GL_TEXTURE1);
    titleTexture->bind(GL_TEXTURE2);

    // The wall fills the target; clouds repeat and the clamped title shows once, both at their
    // own pixel size relative to the wall's, first picture row at the top.
    const float cu = relativeExtent(cloudsTexture->extentS, wallTexture->width, cloudsTexture->width);
    const float cv = relativeExtent(cloudsTexture->extentT, wallTexture->height, cloudsTexture->height);
    const float tu = relativeExtent(titleTexture->extentS, wallTexture->width, titleTexture->width);
    const float tv = relativeExtent(titleTexture->extentT, wallTexture->height, titleTexture->height);
    const float wu = wallTexture->extentS, wv = wallTexture->extentT;
    const float corners[4][8] = {{-1, 1, 0, 0, 0, 0, 0, 0},
                                 {1, 1, wu, 0, cu, 0, tu, 0},
                                 {1, -1, wu, wv, cu, cv, tu, tv},
                                 {-1, -1, 0, wv, 0, cv, 0, tv}};
    drawMultitexturedQuad(corners);

    wallTexture->unbind();
    cloudsTexture->unbind();
    titleTexture->unbind();
    glUseProgram(0);
    bindScreen(frameTarget.screen);
}

void HelixScene::drawObject(double time, float curveTime, double spinDegrees) {
    const TimedPass timed("object");
    // Multisampled where the frame is: the bands' and rungs' edges are what the eye follows.
    MultisamplePass pass(frameTarget.multisample, objectFrameBuffer->name);
    glUseProgram(objectProgram->name);
    glUniform3f(lightNormalLocation, -1.0f, 1.0f, 0.6f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const std::vector<float> projection = camera.projectionMatrix();
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // The view matrix holds the rotation only; the position enters as a translation after it.
    const HelixCameraPlacement placement = helixCameraPlacement(curves, curveTime);
    camera.rotation = placement.rotation;
    camera.location = {0.0f, 0.0f, 0.0f};
    const std::vector<float> view = camera.viewMatrix();
    glLoadMatrixf(view.data());
    glTranslatef(placement.translation[0], placement.translation[1], placement.translation[2]);
    glRotated(spinDegrees, 1.0, 0.0, 0.0);

    drawBands();
    drawRungs(time);

    glColor3f(0.0f, 0.0f, 0.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    loadIdentityMatrices();
    glUseProgram(0);
    pass.resolve(viewportWidth, viewportHeight);
    bindScreen(frameTarget.screen);
    loadIdentityMatrices();
}

void HelixScene::drawBands() const {
    // Drawn in the current colour (black once the scene has drawn a frame): no flash.
    const GLsizei stripLength = 2 * bandSteps;
    glPushMatrix();
    drawStrips(bandPositions, bandNormals, 4, stripLength);
    glRotated(180.0, 1.0, 0.0, 0.0);  // the second band is the first turned half a turn
    drawStrips(bandPositions, bandNormals, 4, stripLength);
    glPopMatrix();
}

void HelixScene::drawRungs(double time) {
    updateFlashTimes(time, beatTimes, flashTimes);
    float groupLevels[kFlashGroups];
    for (int g = 0; g < kFlashGroups; ++g) groupLevels[g] = rungLevel(time, flashTimes[size_t(g)]);
    const GLsizei stripLength = 2 * rungSegments + 2;
    // Two sets of 40 half-rungs, the second turned half a turn, each 0.6 further along x and
    // 72 degrees further round than the one before: they meet the bands.
    for (int set = 0; set < 2; ++set) {
        glPushMatrix();
        if (set == 1) glRotated(180.0, 1.0, 0.0, 0.0);
        for (int i = 0; i < 40; ++i) {
            const float level = groupLevels[rungGroups[size_t(set * 10 + i % 10)]];
            glColor3f(level, level, level);
            drawStrips(rungPositions, rungNormals, 1, stripLength);
            glTranslatef(0.6f, 0.0f, 0.0f);
            glRotated(72.0, 1.0, 0.0, 0.0);
        }
        glPopMatrix();
    }
}

void HelixScene::drawBlur() {
    const TimedPass timed("blur");
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, blurFrameBuffer->name);
    glUseProgram(blurProgram->name);
    glUniform1i(texLocation, 0);
    objectColour->drawFullscreen();
    glUseProgram(0);
    bindScreen(frameTarget.screen);
    loadIdentityMatrices();
}

void HelixScene::drawCombine() {
    const TimedPass timed("combine");
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, postFrameBuffer->name);
    glUseProgram(combineProgram->name);
    glUniform1i(bgLocation, 0);
    glUniform1i(objLocation, 1);
    glUniform1i(objbLocation, 2);
    backgroundColour->bind(GL_TEXTURE0);
    objectColour->bind(GL_TEXTURE1);
    blurColour->bind(GL_TEXTURE2);
    // Render-target orientation: first row at the bottom.
    const float bs = backgroundColour->extentS, bt = backgroundColour->extentT;
    const float corners[4][4] = {{-1, -1, 0, 0}, {1, -1, bs, 0}, {1, 1, bs, bt}, {-1, 1, 0, bt}};
    drawMultitexturedQuad(corners);
    backgroundColour->unbind();
    objectColour->unbind();
    blurColour->unbind();
    glUseProgram(0);
    bindScreen(frameTarget.screen);
}

}  // namespace Quorvel::Ostrel
