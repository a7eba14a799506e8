#include "scenes/helix_scene.h"

#include <cstdlib>

#include "engine/scene_helpers.h"
#include "engine/scene_setup.h"
#include "scenes/data_files.h"
#include "scenes/helix_geometry.h"
#include "scenes/helix_timing.h"

namespace Quorvel::Ostrel {

HelixScene::HelixScene(std::int32_t width, std::int32_t height) : Scene(width, height, 5.0, 74.0, 8.0) {}

HelixScene::~HelixScene() = default;

void HelixScene::load() {
    wallTexture.reset(new Texture(DataFiles::kHelixWall));
    cloudsTexture.reset(new Texture(DataFiles::kHelixClouds));
    titleTexture.reset(new Texture(DataFiles::kHelixTitle));
    clampEdges(*titleTexture);

    buildProgram("data/helix_bg.vert", "data/helix_bg.frag", backgroundVertexShader, backgroundFragmentShader,
                 backgroundProgram,
                 {{"t", &backgroundTLocation}, {"wall", &wallLocation}, {"clouds", &cloudsLocation},
                  {"title", &titleLocation}});
    buildProgram("data/helix_obj.vert", "data/helix_obj.frag", objectVertexShader, objectFragmentShader,
                 objectProgram, {{"lightNormal", &lightNormalLocation}});

    camera.perspective = true;
    camera.sensorWidth = 0.032f;
    camera.sensorHeight = 0.018f;
    camera.focalLength = 0.047f;
    camera.clipStart = 0.1f;
    camera.clipEnd = 100.0f;

    buildGeometry();
    loadCurves(DataFiles::kHelixCameraPath, curves);
    // Unseeded on purpose: the groups are the platform generator's first 20 draws, the same
    // on every run.
    rungGroups = drawRungGroups([] { return std::rand(); });
    beatTimes = helixBeatTimes();
    flashTimes.assign(kFlashGroups, 0.0);
    const std::vector<float> weights = blurWeights();

    buildProgram("data/helix_blur.vert", "data/helix_blur.frag", blurVertexShader, blurFragmentShader, blurProgram,
                 {{"tex", &texLocation}, {"g", &blurWeightsLocation}},
                 [&] { glUniform1fv(blurWeightsLocation, kBlurWeightCount, weights.data()); });

    buildProgram("data/helix_combine.vert", "data/helix_combine.frag", combineVertexShader, combineFragmentShader,
                 combineProgram,
                 {{"bg", &bgLocation}, {"obj", &objLocation}, {"objb", &objbLocation}, {"g", &combineWeightsLocation}},
                 [&] { glUniform1fv(combineWeightsLocation, kBlurWeightCount, weights.data()); });

    buildProgram("data/helix_post.vert", "data/helix_post.frag", postVertexShader, postFragmentShader, postProgram,
                 {{"t", &postTLocation}, {"input", &inputLocation}});
    buildViewportTargets();

    loaded = true;
}

void HelixScene::resize(std::int32_t width, std::int32_t height, const FrameTarget& target) {
    Scene::resize(width, height, target);
    if (loaded) buildViewportTargets();
}

// The four passes' targets, all of the viewport's size. The old ones go first, so that a
// resize never holds two sets at once.
void HelixScene::buildViewportTargets() {
    for (boost::shared_ptr<FrameBuffer>* frameBuffer :
         {&backgroundFrameBuffer, &objectFrameBuffer, &blurFrameBuffer, &postFrameBuffer})
        frameBuffer->reset();
    for (boost::shared_ptr<EmptyTexture>* target : {&backgroundColour, &objectColour, &objectDepth, &blurColour, &postColour})
        target->reset();
    buildOffscreenTarget(viewportWidth, viewportHeight, "helixscene: bg fbo error", backgroundFrameBuffer,
                         backgroundColour);
    buildOffscreenTarget(viewportWidth, viewportHeight, "helixscene: obj fbo error", objectFrameBuffer, objectColour,
                         &objectDepth);
    clampEdges(*objectColour);
    buildOffscreenTarget(viewportWidth, viewportHeight, "helixscene: blur fbo error", blurFrameBuffer, blurColour);
    clampEdges(*blurColour);
    buildOffscreenTarget(viewportWidth, viewportHeight, "helixscene: post fbo error", postFrameBuffer, postColour);
}

void HelixScene::buildGeometry() {
    bandProfile = Ostrel::bandProfile();
    bandSteps = kBandSteps;
    buildBandMesh(bandProfile, bandSteps, bandPositions, bandNormals);
    rungRadius = kRungRadius;
    rungSegments = kRungSegments;
    buildRungMesh(rungRadius, rungSegments, rungPositions, rungNormals);
}

}  // namespace Quorvel::Ostrel
