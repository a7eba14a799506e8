#include "scenes/logo_scene.h"

#include "engine/scene_helpers.h"
#include "scenes/data_files.h"
#include "scenes/picture_scale.h"

namespace Quorvel::Ostrel {

LogoScene::LogoScene(std::int32_t width, std::int32_t height) : Scene(width, height, 0.0, 13.0, 0.0) {}

LogoScene::~LogoScene() = default;

void LogoScene::load() {
    logoTexture.reset(new Texture(DataFiles::kLogoPicture));
    cloudsTexture.reset(new Texture(DataFiles::kLogoClouds));
    buildProgram("data/logo.vert", "data/logo.frag", vertexShader, fragmentShader, program,
                 {{"t", &tLocation}, {"logo", &logoLocation}, {"clouds", &cloudsLocation}});
    loaded = true;
}

void LogoScene::render(double time) {
    if (!loaded) return;
    glUseProgram(program->name);
    glUniform1f(tLocation, float(time));
    glUniform1i(logoLocation, 0);
    glUniform1i(cloudsLocation, 1);
    logoTexture->bind(GL_TEXTURE0);
    cloudsTexture->bind(GL_TEXTURE1);

    // One cloud texel per logo texel: the repeating tile fills the logo's pixel size.
    const float su = relativeExtent(cloudsTexture->extentS, logoTexture->width, cloudsTexture->width);
    const float sv = relativeExtent(cloudsTexture->extentT, logoTexture->height, cloudsTexture->height);
    const float lu = logoTexture->extentS, lv = logoTexture->extentT;
    // First picture row (t = 0) at the top of the viewport.
    const float corners[4][6] = {{-1, 1, 0, 0, 0, 0}, {1, 1, lu, 0, su, 0}, {1, -1, lu, lv, su, sv},
                                 {-1, -1, 0, lv, 0, sv}};
    drawMultitexturedQuad(corners);

    logoTexture->unbind();
    cloudsTexture->unbind();
    glUseProgram(0);
}

}  // namespace Quorvel::Ostrel
