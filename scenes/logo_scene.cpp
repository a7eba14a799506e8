#include "scenes/logo_scene.h"

#include "scenes/picture_scale.h"

namespace Quorvel::Ostrel {

LogoScene::LogoScene(std::int32_t width, std::int32_t height) : Scene(width, height, 0.0, 13.0, 0.0) {}

LogoScene::~LogoScene() = default;

void LogoScene::load() {
    logoTexture.reset(new Texture("data/logo_logo.png"));
    cloudsTexture.reset(new Texture("data/logo_clouds.png"));
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
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        glMultiTexCoord2f(GL_TEXTURE0, c[2], c[3]);
        glMultiTexCoord2f(GL_TEXTURE1, c[4], c[5]);
        glVertex2f(c[0], c[1]);
    }
    glEnd();

    logoTexture->unbind();
    cloudsTexture->unbind();
    glUseProgram(0);
}

}  // namespace Quorvel::Ostrel
