// The helix scene (5-74 s): two cyan bands wound about the x axis and 80 half-rungs that
// flash on the beat table, spinning in front of a textured background while a camera flies
// the path of "data/helix.anim". Five passes per frame: background, object (helix with depth),
// horizontal blur, combine (vertical blur, bloom) into off-screen targets of the viewport's
// size, then the post pass with the scene's fades onto the screen. Geometry and tables come
// from scenes/helix_geometry.h and scenes/helix_timing.h; this class owns the GL side.
//
//   HelixScene helix(vw, vh); helix.load();
//   helix.render(time);  // demo time; restores the viewport and leaves identity matrices
#pragma once

#include <boost/shared_ptr.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/camera.h"
#include "engine/curves.h"
#include "engine/framebuffer.h"
#include "engine/program_build.h"
#include "engine/texture.h"
#include "runtime/scene.h"

namespace Quorvel::Ostrel {

class HelixScene : public Scene {
public:
    // Stores the viewport size, the window 5-74 s and the time offset 8 s; no GL, no files.
    HelixScene(std::int32_t width, std::int32_t height);
    // Drops every handle and array in reverse member order.
    ~HelixScene() override;

    // Reads the pictures and curves, builds the five programs, four framebuffers, the meshes and
    // tables; an incomplete framebuffer prints "helixscene: ... fbo error" and loading goes on.
    void load() override;
    // Draws the five passes for demo time `time`; nothing at all before load.
    void render(double time) override;
    // Rebuilds the four off-screen targets at the new size (the object pass borrows the frame's
    // multisampled buffer); pictures, programs, meshes and curves stay.
    void resize(std::int32_t width, std::int32_t height, const FrameTarget& target) override;

    boost::shared_ptr<Texture> wallTexture;             // "data/helix_wall.png"
    boost::shared_ptr<Texture> cloudsTexture;           // "data/helix_clouds.png"
    boost::shared_ptr<Texture> titleTexture;            // "data/helix_title_crop.png", clamped
    boost::shared_ptr<Shader> backgroundVertexShader;
    boost::shared_ptr<Shader> backgroundFragmentShader;
    boost::shared_ptr<ShaderProgram> backgroundProgram;
    boost::shared_ptr<EmptyTexture> backgroundColour;
    boost::shared_ptr<FrameBuffer> backgroundFrameBuffer;
    GLint backgroundTLocation = -1, wallLocation = -1, cloudsLocation = -1, titleLocation = -1;
    boost::shared_ptr<Shader> objectVertexShader;
    boost::shared_ptr<Shader> objectFragmentShader;
    boost::shared_ptr<ShaderProgram> objectProgram;
    boost::shared_ptr<EmptyTexture> objectColour;
    boost::shared_ptr<EmptyTexture> objectDepth;
    boost::shared_ptr<FrameBuffer> objectFrameBuffer;
    GLint lightNormalLocation = -1;
    std::array<float, 8> bandProfile{};
    std::vector<float> bandPositions;
    std::vector<float> bandNormals;
    std::int32_t bandSteps = 0;
    float rungRadius = 0.0f;
    std::int32_t rungSegments = 0;
    std::vector<float> rungPositions;
    std::vector<float> rungNormals;
    std::vector<std::int32_t> rungGroups;  // flash group of each half-rung pattern entry
    std::vector<double> flashTimes;        // per group: demo time of its latest beat (per frame)
    std::vector<double> beatTimes;         // seconds after the first beat
    Camera camera;
    CurveSet curves;
    boost::shared_ptr<Shader> blurVertexShader;
    boost::shared_ptr<Shader> blurFragmentShader;
    boost::shared_ptr<ShaderProgram> blurProgram;
    boost::shared_ptr<EmptyTexture> blurColour;
    boost::shared_ptr<FrameBuffer> blurFrameBuffer;
    GLint texLocation = -1, blurWeightsLocation = -1;
    boost::shared_ptr<Shader> combineVertexShader;
    boost::shared_ptr<Shader> combineFragmentShader;
    boost::shared_ptr<ShaderProgram> combineProgram;
    GLint bgLocation = -1, objLocation = -1, objbLocation = -1, combineWeightsLocation = -1;
    boost::shared_ptr<Shader> postVertexShader;
    boost::shared_ptr<Shader> postFragmentShader;
    boost::shared_ptr<ShaderProgram> postProgram;
    boost::shared_ptr<EmptyTexture> postColour;
    boost::shared_ptr<FrameBuffer> postFrameBuffer;
    GLint postTLocation = -1, inputLocation = -1;

private:
    void buildViewportTargets();
    void buildGeometry();
    void drawBackground(float localF);
    void drawObject(double time, float curveTime, double spinDegrees);
    void drawBands() const;
    void drawRungs(double time);
    void drawBlur();
    void drawCombine();
};

}  // namespace Quorvel::Ostrel
