// The asset families the generator writes. Each family is one function that writes its files
// into the data folder it is given; it must write the same bytes on every run.
//
//   for (const AssetFamily& f : assetFamilies()) f.write("build/data");
#pragma once

#include <string>
#include <vector>

namespace Quorvel::Assets {

struct AssetFamily {
    const char* name;                          // shown in the generator's progress output
    void (*write)(const std::string& dataDir); // throws std::runtime_error on failure
};

const std::vector<AssetFamily>& assetFamilies();

// Families, one source file each.
void writeSoundtrack(const std::string& dataDir);
void writeLogoPictures(const std::string& dataDir);   // logo_logo.png, logo_clouds.png
void writeHelixPictures(const std::string& dataDir);  // helix_wall.png, helix_clouds.png, helix_title_crop.png
void writeHelixCameraPath(const std::string& dataDir); // helix.anim
void writeWaveContent(const std::string& dataDir);     // skydome.obj, wave_skydome2.png, name_*.png
void writeTubeContent(const std::string& dataDir);     // inside_tube.obj, blood_cell.obj, greet*.png
void writeFaceMeshes(const std::string& dataDir);      // face.obj, face2.obj, face3.obj, eyes.obj, modules.obj, tube.obj
void writeFacePictures(const std::string& dataDir);    // credits.png, face_bg.png, face_normal.png, face_lightprobe.png, face_eyes.png
void writeFaceEffects(const std::string& dataDir);     // face_motes.obj, face_wipe_*.obj, face_credits_box.obj
void writeOverlayFont(const std::string& dataDir);     // overlay_font.png (the preview's timing overlay)

}  // namespace Quorvel::Assets
