// The tube (94-135 s): a flight down a pulsing vein with five tumbling blood cells, and the
// nine greetings arriving one after another in front of the camera, each announced by a trail
// of faint copies running away down the tube. Everything is drawn into an off-screen target of
// the viewport's size; the post program then lays that image over the frame, and its output
// opacity fades the tube in over the landscape from 94 to 100 s. Timing and cell placements
// are in scenes/tube_timing.h; this class owns the GL side.
//
//   TubeScene tube(vw, vh); tube.load();
//   tube.render(time);  // restores the viewport; leaves framebuffer 0 and identity matrices
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/camera.h"
#include "engine/framebuffer.h"
#include "engine/mesh.h"
#include "engine/program_build.h"
#include "engine/texture.h"
#include "runtime/scene.h"

namespace Quorvel::Ostrel {

class TubeScene : public Scene {
public:
    // Stores the viewport size, the window 94-135 s and the greetings' offset of 5 s.
    TubeScene(std::int32_t width, std::int32_t height);
    // Releases the framebuffer, then the depth and colour targets, then what load() made.
    ~TubeScene() override;
    TubeScene(const TubeScene&) = delete;
    TubeScene& operator=(const TubeScene&) = delete;

    // Reads both meshes, builds the three programs and the off-screen target (an incomplete one
    // prints "tubescene: fbo error" and loading goes on), reads the nine greetings (clamped).
    void load() override;
    // Draws the tube, cells and greetings off screen, then the post pass over the frame.
    void render(double time) override;
    // Rebuilds the off-screen target at the new size (its pass borrows the frame's
    // multisampled buffer); meshes, programs and greetings stay.
    void resize(std::int32_t width, std::int32_t height, const FrameTarget& target) override;

    Camera camera;
    Mesh* cellMesh = nullptr;   // "data/blood_cell.obj"
    Mesh* tubeMesh = nullptr;   // "data/inside_tube.obj"
    Shader* tubeVertexShader = nullptr;
    Shader* tubeFragmentShader = nullptr;
    ShaderProgram* tubeProgram = nullptr;
    GLint tubeLightLocation = -1, tubeTLocation = -1, tubeTexLocation = -1;
    Shader* cellVertexShader = nullptr;
    Shader* cellFragmentShader = nullptr;
    ShaderProgram* cellProgram = nullptr;
    GLint cellLightLocation = -1, cellTLocation = -1, cellTexLocation = -1;
    Shader* postVertexShader = nullptr;
    Shader* postFragmentShader = nullptr;
    ShaderProgram* postProgram = nullptr;
    boost::shared_ptr<EmptyTexture> colourTarget;
    boost::shared_ptr<EmptyTexture> depthTarget;
    boost::shared_ptr<FrameBuffer> frameBuffer;
    GLint inputLocation = -1, postTLocation = -1;
    std::vector<Texture*> greetings;  // greet1, abv, bri, cul, dap, efo, gim, hok, greet2

private:
    void buildViewportTargets();
    void drawOffscreen(double d);
    void drawTube(float d);
    void drawCells(double d);
    void drawGreetings(double d);
    void drawGreeting(std::int64_t index, double depth, double opacity);
};

}  // namespace Quorvel::Ostrel
