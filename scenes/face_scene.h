// The closing scene (134-170 s): over a scrolling background, a sculpted face lit through a
// normal map and a light probe, with eyes, mechanical modules, a cable and the credits hung in
// the group's frame. For 20 seconds a perspective camera watches the group sink through the
// view; then the scene cuts to an orthographic camera that tilts from an oblique view to a
// frontal one, the background mirrors, the light changes side, and the face morphs into a
// second and then a third shape on the music's hits. The morph recomputes the drawn copy of
// the face from the base copy on every frame. Timing is in scenes/face_timing.h.
//
//   FaceScene face(vw, vh); face.load();
//   face.render(time);  // clears colour itself; leaves identity matrices
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/camera.h"
#include "engine/mesh.h"
#include "engine/program_build.h"
#include "engine/texture.h"
#include "runtime/scene.h"
#include "scenes/face_timing.h"

namespace Quorvel::Ostrel {

class FaceScene : public Scene {
public:
    // Stores the viewport size and the window 134-170 s; no GL, no files.
    FaceScene(std::int32_t width, std::int32_t height);
    // Deletes what load() created, in reverse order.
    ~FaceScene() override;
    FaceScene(const FaceScene&) = delete;
    FaceScene& operator=(const FaceScene&) = delete;

    // Reads the pictures and meshes and builds the four programs. Face meshes whose position
    // arrays differ in length are morphed only over the shortest; that is said once on
    // standard error.
    void load() override;
    // Draws background, modules, face, eyes, cable, motes, the credits with their masks, and
    // last the closing fade over the whole picture, for demo time `time`.
    void render(double time) override;

    Texture* creditsTexture = nullptr;     // "data/credits.png", clamped
    Texture* backgroundTexture = nullptr;  // "data/face_bg.png", repeating
    Mesh* faceMesh = nullptr;              // "data/face.obj": the morphed, drawn copy
    Mesh* baseFaceMesh = nullptr;          // "data/face.obj" again: what the morph starts from
    Mesh* secondFaceMesh = nullptr;        // "data/face2.obj"
    Mesh* thirdFaceMesh = nullptr;         // "data/face3.obj"
    Mesh* eyesMesh = nullptr;              // "data/eyes.obj"
    Mesh* modulesMesh = nullptr;           // "data/modules.obj"
    Mesh* tubeMesh = nullptr;              // "data/tube.obj"
    Camera camera;
    Texture* normalTexture = nullptr;      // "data/face_normal.png"
    Texture* lightProbeTexture = nullptr;  // "data/face_lightprobe.png"
    Shader* faceVertexShader = nullptr;
    Shader* faceFragmentShader = nullptr;
    ShaderProgram* faceProgram = nullptr;
    GLint faceLightLocation = -1, ntexLocation = -1, lightProbeLocation = -1;
    GLint faceAgedLocation = -1;      // "aged": how much of the second, older face shows
    GLint faceMachinedLocation = -1;  // "machined": how far the snap to the third face has gone
    Texture* eyesTexture = nullptr;        // "data/face_eyes.png"
    Shader* eyesVertexShader = nullptr;
    Shader* eyesFragmentShader = nullptr;
    ShaderProgram* eyesProgram = nullptr;
    GLint eyesLightLocation = -1;
    Shader* modulesVertexShader = nullptr;
    Shader* modulesFragmentShader = nullptr;
    ShaderProgram* modulesProgram = nullptr;
    GLint modulesLightLocation = -1;
    Shader* tubeVertexShader = nullptr;
    Shader* tubeFragmentShader = nullptr;
    ShaderProgram* tubeProgram = nullptr;
    GLint tubeLightLocation = -1, tubeTLocation = -1, tubeTexLocation = -1;
    GLint tubeBeatLocation = -1;           // "beat": the cable's pulses run on the music's beat

    // The finale's timed effects, each its own draw: timed by faceEffects() in face_timing.h,
    // placed by face_effect_layout.h.
    Mesh* motesMesh = nullptr;             // "data/face_motes.obj"
    Mesh* wipeMaskMesh = nullptr;          // "data/face_wipe_mask.obj": depth only
    Mesh* wipeFrontMesh = nullptr;         // "data/face_wipe_front.obj"
    Mesh* creditsBoxMesh = nullptr;        // "data/face_credits_box.obj": depth only
    Shader* motesVertexShader = nullptr;
    Shader* motesFragmentShader = nullptr;
    ShaderProgram* motesProgram = nullptr;
    GLint motesDriftLocation = -1, motesBandLocation = -1, motesGlowLocation = -1;
    Shader* wipeVertexShader = nullptr;
    Shader* wipeFragmentShader = nullptr;
    ShaderProgram* wipeProgram = nullptr;
    GLint wipeFrontLocation = -1, wipeGlowLocation = -1;

    // Position floats the morph covers: the shortest of the four face meshes.
    std::size_t morphedFloats = 0;

private:
    void drawBackground(bool second, double d);
    void placeCamera(bool second, double d);
    void morph(double d);
    void drawGroup(double d, const FaceEffects& effects);
    void drawMotes(const FaceEffects& effects);
    void drawCreditsMasks(const FaceEffects& effects);
    void drawCredits(double d);
    void drawFade(float opacity);
};

}  // namespace Quorvel::Ostrel
