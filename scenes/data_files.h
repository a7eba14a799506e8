// Every generated file the scenes read from data/, named once: the scenes load these paths, the
// asset generator writes them, and the tests damage and check them. Paths are relative to the
// working directory, as the program opens them. The soundtrack's name is the runtime's
// (kMusicFile); the hand-written shaders are named where each program is built.
//
//   Texture logo(DataFiles::kLogoPicture);
//   writePng(inDataFolder(dataDir, DataFiles::kLogoPicture), picture);   // generator
#pragma once

#include <array>
#include <string>

namespace Quorvel::DataFiles {

// Logo scene.
constexpr const char* kLogoPicture = "data/logo_logo.png";
constexpr const char* kLogoClouds = "data/logo_clouds.png";

// Helix scene.
constexpr const char* kHelixWall = "data/helix_wall.png";
constexpr const char* kHelixClouds = "data/helix_clouds.png";
constexpr const char* kHelixTitle = "data/helix_title_crop.png";
constexpr const char* kHelixCameraPath = "data/helix.anim";

// Landscape scene.
constexpr const char* kSkyDome = "data/skydome.obj";
constexpr const char* kSkyPicture = "data/wave_skydome2.png";
constexpr const char* kFirstName = "data/name_pelmo.png";
constexpr const char* kSecondName = "data/name_tornwick.png";

// Tube scene; the greetings in the order they arrive.
constexpr const char* kVein = "data/inside_tube.obj";
constexpr const char* kBloodCell = "data/blood_cell.obj";
constexpr std::array<const char*, 9> kGreetings = {
    "data/greet1.png",    "data/greet_abv.png", "data/greet_bri.png", "data/greet_cul.png", "data/greet_dap.png",
    "data/greet_efo.png", "data/greet_gim.png", "data/greet_hok.png", "data/greet2.png"};

// Face scene.
constexpr const char* kCredits = "data/credits.png";
constexpr const char* kFaceBackground = "data/face_bg.png";
constexpr const char* kFace = "data/face.obj";
constexpr const char* kSecondFace = "data/face2.obj";
constexpr const char* kThirdFace = "data/face3.obj";
constexpr const char* kEyes = "data/eyes.obj";
constexpr const char* kModules = "data/modules.obj";
constexpr const char* kCable = "data/tube.obj";
constexpr const char* kFaceNormals = "data/face_normal.png";
constexpr const char* kLightProbe = "data/face_lightprobe.png";
constexpr const char* kEyesPicture = "data/face_eyes.png";
// The face scene's timed effects, each drawn on its own (content/face_effects.h).
constexpr const char* kFaceMotes = "data/face_motes.obj";
constexpr const char* kWipeMask = "data/face_wipe_mask.obj";
constexpr const char* kWipeFront = "data/face_wipe_front.obj";
constexpr const char* kCreditsBox = "data/face_credits_box.obj";

// `path` (one of the names above) inside another data folder: "build/data" + "/logo_logo.png".
inline std::string inDataFolder(const std::string& dataDir, const char* path) {
    return dataDir + (std::string(path).rfind("data/", 0) == 0 ? std::string(path).substr(4) : "/" + std::string(path));
}

}  // namespace Quorvel::DataFiles
