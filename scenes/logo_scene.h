// The opening scene (0-13 s): one viewport quad carrying the group's logo and a cloud tile into
// the logo program, which animates, reveals and dissolves the logo over the demo time "t". It
// draws no meshes and no off-screen pass, and computes no fade of its own: the shaders do.
//
//   LogoScene logo(vw, vh); logo.load();
//   logo.render(time);  // time is demo time
#pragma once

#include <boost/shared_ptr.hpp>

#include "engine/program_build.h"
#include "engine/texture.h"
#include "runtime/scene.h"

namespace Quorvel::Ostrel {

class LogoScene : public Scene {
public:
    // Stores the viewport size and the window 0-13 s; no GL, no files.
    LogoScene(std::int32_t width, std::int32_t height);
    // Drops the handles in reverse member order (program first, logo texture last).
    ~LogoScene() override;

    // Reads both pictures and builds the logo program; sets `loaded` last.
    void load() override;
    // Draws the quad for demo time `time`; nothing at all before load.
    void render(double time) override;

    boost::shared_ptr<Texture> logoTexture;            // "data/logo_logo.png"
    boost::shared_ptr<Texture> cloudsTexture;          // "data/logo_clouds.png"
    boost::shared_ptr<Shader> vertexShader;            // "data/logo.vert"
    boost::shared_ptr<Shader> fragmentShader;          // "data/logo.frag"
    boost::shared_ptr<ShaderProgram> program;          // the linked logo program
    GLint tLocation = -1;                              // "t": demo time
    GLint logoLocation = -1;                           // "logo": unit 0
    GLint cloudsLocation = -1;                         // "clouds": unit 1
};

}  // namespace Quorvel::Ostrel
