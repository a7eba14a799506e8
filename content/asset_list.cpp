#include "content/asset_list.h"

namespace Quorvel::Assets {

const std::vector<AssetFamily>& assetFamilies() {
    static const std::vector<AssetFamily> families = {
        {"soundtrack", writeSoundtrack},
        {"logo", writeLogoPictures},
        {"helix", writeHelixPictures},
        {"helix_camera", writeHelixCameraPath},
        {"wave", writeWaveContent},
        {"tube", writeTubeContent},
        {"face_meshes", writeFaceMeshes},
        {"face_pictures", writeFacePictures},
        {"face_effects", writeFaceEffects},
        {"overlay_font", writeOverlayFont},
    };
    return families;
}

}  // namespace Quorvel::Assets
