#include "scenes/helix_scene.h"

#include <cstdlib>
#include <iostream>

#include "scenes/helix_geometry.h"
#include "scenes/helix_timing.h"

namespace Quorvel::Ostrel {
namespace {

void clamp(EmptyTexture& texture) {
    texture.bind(GL_TEXTURE0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    texture.unbind();
}

void checkComplete(const FrameBuffer& frameBuffer, const char* message) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer.name);
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) std::cout << message << std::endl;
}

}  // namespace

HelixScene::HelixScene(std::int32_t width, std::int32_t height) : Scene(width, height, 5.0, 74.0, 8.0) {}

HelixScene::~HelixScene() = default;

boost::shared_ptr<EmptyTexture> HelixScene::colourTarget() const {
    return boost::shared_ptr<EmptyTexture>(
        new EmptyTexture(std::uint32_t(viewportWidth), std::uint32_t(viewportHeight), 4, GL_RGBA, GL_UNSIGNED_BYTE));
}

void HelixScene::load() {
    wallTexture.reset(new Texture("data/helix_wall.png"));
    cloudsTexture.reset(new Texture("data/helix_clouds.png"));
    titleTexture.reset(new Texture("data/helix_title_crop.png"));
    clamp(*titleTexture);

    buildProgram("data/helix_bg.vert", "data/helix_bg.frag", backgroundVertexShader, backgroundFragmentShader,
                 backgroundProgram,
                 {{"t", &backgroundTLocation}, {"wall", &wallLocation}, {"clouds", &cloudsLocation},
                  {"title", &titleLocation}});
    backgroundFrameBuffer.reset(new FrameBuffer());
    backgroundColour = colourTarget();
    backgroundFrameBuffer->attachColor(backgroundColour);
    checkComplete(*backgroundFrameBuffer, "helixscene: bg fbo error");

    buildProgram("data/helix_obj.vert", "data/helix_obj.frag", objectVertexShader, objectFragmentShader,
                 objectProgram, {{"lightNormal", &lightNormalLocation}});
    objectFrameBuffer.reset(new FrameBuffer());
    objectColour = colourTarget();
    objectDepth.reset(new EmptyTexture(std::uint32_t(viewportWidth), std::uint32_t(viewportHeight),
                                       GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_FLOAT));
    objectFrameBuffer->attachColor(objectColour);
    objectFrameBuffer->attachDepth(objectDepth);
    clamp(*objectColour);
    checkComplete(*objectFrameBuffer, "helixscene: obj fbo error");

    camera.perspective = true;
    camera.sensorWidth = 0.032f;
    camera.sensorHeight = 0.018f;
    camera.focalLength = 0.047f;
    camera.clipStart = 0.1f;
    camera.clipEnd = 100.0f;

    buildGeometry();
    loadCurves("data/helix.anim", curves);
    // Unseeded on purpose: the groups are the platform generator's first 20 draws, the same
    // on every run.
    rungGroups = drawRungGroups([] { return std::rand(); });
    beatTimes = helixBeatTimes();
    flashTimes.assign(kFlashGroups, 0.0);
    const std::vector<float> weights = blurWeights();

    buildProgram("data/helix_blur.vert", "data/helix_blur.frag", blurVertexShader, blurFragmentShader, blurProgram,
                 {{"tex", &texLocation}, {"g", &blurWeightsLocation}},
                 [&] { glUniform1fv(blurWeightsLocation, kBlurWeightCount, weights.data()); });
    blurFrameBuffer.reset(new FrameBuffer());
    blurColour = colourTarget();
    blurFrameBuffer->attachColor(blurColour);
    checkComplete(*blurFrameBuffer, "helixscene: blur fbo error");
    clamp(*blurColour);

    buildProgram("data/helix_combine.vert", "data/helix_combine.frag", combineVertexShader, combineFragmentShader,
                 combineProgram,
                 {{"bg", &bgLocation}, {"obj", &objLocation}, {"objb", &objbLocation}, {"g", &combineWeightsLocation}},
                 [&] { glUniform1fv(combineWeightsLocation, kBlurWeightCount, weights.data()); });

    buildProgram("data/helix_post.vert", "data/helix_post.frag", postVertexShader, postFragmentShader, postProgram,
                 {{"t", &postTLocation}, {"input", &inputLocation}});
    postFrameBuffer.reset(new FrameBuffer());
    postColour = colourTarget();
    postFrameBuffer->attachColor(postColour);
    checkComplete(*postFrameBuffer, "helixscene: post fbo error");

    loaded = true;
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
