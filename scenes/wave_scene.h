// The spectrum landscape (74-100 s): 41 lines of the music's spectrum laid one behind the other
// so the sound flows towards the viewer, inside a starry sky dome, the world turning slowly
// about z; over it the two member names fade in and out in turn. The lines come from the
// SpectrumAnalyser (not owned) and are drawn with the line program, which works from the
// fixed-function inputs only. Timing is in scenes/wave_timing.h; this class owns the GL side.
//
//   WaveScene wave(vw, vh, &analyser); wave.load();
//   wave.render(time);  // clears colour and depth itself; leaves identity matrices
#pragma once

#include <cstdint>

#include "engine/camera.h"
#include "engine/mesh.h"
#include "engine/program_build.h"
#include "engine/texture.h"
#include "runtime/scene.h"
#include "runtime/spectrum_analyser.h"

namespace Quorvel::Ostrel {

class WaveScene : public Scene {
public:
    // Stores the viewport size, the analyser and the window 74-100 s; no GL, no files.
    WaveScene(std::int32_t width, std::int32_t height, SpectrumAnalyser* analyser);
    // Deletes what load() created, in reverse order.
    ~WaveScene() override;
    WaveScene(const WaveScene&) = delete;
    WaveScene& operator=(const WaveScene&) = delete;

    // Reads the dome, its sky, the two names (clamped) and builds the line program.
    void load() override;
    // Draws dome, lines and names for demo time `time`; nothing at all before load.
    void render(double time) override;

    Camera camera;
    SpectrumAnalyser* analyser = nullptr;
    Mesh* skyMesh = nullptr;                 // "data/skydome.obj"
    Texture* skyTexture = nullptr;           // "data/wave_skydome2.png", repeating
    Texture* firstNameTexture = nullptr;     // "data/name_pelmo.png", clamped
    Texture* secondNameTexture = nullptr;    // "data/name_tornwick.png", clamped
    Shader* vertexShader = nullptr;          // "data/wave_line.vert"
    Shader* fragmentShader = nullptr;        // "data/wave_line.frag"
    ShaderProgram* lineProgram = nullptr;    // no uniforms: fixed-function inputs only

private:
    void drawSky();
    void drawLines(double time);
    void drawNames(float u);
};

}  // namespace Quorvel::Ostrel
