#include "tools/assetgen/asset_list.h"

namespace Quorvel::Assets {

const std::vector<AssetFamily>& assetFamilies() {
    static const std::vector<AssetFamily> families = {
        {"soundtrack", writeSoundtrack},
        {"logo", writeLogoPictures},
        {"helix", writeHelixPictures},
        {"helix_camera", writeHelixCameraPath},
        {"wave", writeWaveContent},
        {"tube", writeTubeContent},
    };
    return families;
}

}  // namespace Quorvel::Assets
