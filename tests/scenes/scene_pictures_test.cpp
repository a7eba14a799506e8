// The generated pictures of the logo and helix scenes as the build wrote them into data/:
// reference sizes, the title's transparent border (the scene clamps it), cloud tiles without a
// seam, and the generator writing the same bytes on every run.
#include <gtest/gtest.h>

#include <lodepng.h>

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scenes/data_files.h"
#include "tests/support/data_picture.h"
#include "content/asset_list.h"

using namespace Quorvel;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(ScenePictures, FullFramePicturesMatchTheirReferenceFrame) {
    for (const char* name : {DataFiles::kLogoPicture, DataFiles::kHelixWall}) {
        const DataPicture d = decodeDataPicture(name);
        EXPECT_EQ(d.width, 1920u) << name;
        EXPECT_EQ(d.height, 1080u) << name;
    }
}

TEST(ScenePictures, TitleHasAFullyTransparentBorderAndOpaqueText) {
    const DataPicture d = decodeDataPicture(DataFiles::kHelixTitle);
    ASSERT_GT(d.width, 100u);
    int opaque = 0;
    for (unsigned y = 0; y < d.height; ++y)
        for (unsigned x = 0; x < d.width; ++x) {
            const bool border = x < 2 || y < 2 || x + 2 >= d.width || y + 2 >= d.height;
            if (border) {
                ASSERT_EQ(d.at(x, y, 3), 0) << "at " << x << "," << y;
            }
            if (d.at(x, y, 3) == 255) ++opaque;
        }
    EXPECT_GT(opaque, 1000);
    EXPECT_EQ(d.at(0, 0, 3), 0);
}

TEST(ScenePictures, CloudTilesRepeatWithoutASeam) {
    for (const char* name : {DataFiles::kLogoClouds, DataFiles::kHelixClouds}) {
        const DataPicture d = decodeDataPicture(name);
        // Across the wrap the step is no larger than between neighbours inside the tile.
        const double inside = (lineDifference(d, true, 100, 101, 4) + lineDifference(d, false, 100, 101, 4)) / 2.0;
        EXPECT_LT(lineDifference(d, true, d.width - 1, 0, 4), inside * 2.0 + 1.0) << name;
        EXPECT_LT(lineDifference(d, false, d.height - 1, 0, 4), inside * 2.0 + 1.0) << name;
    }
}

TEST(ScenePictures, GeneratorWritesTheSameBytesEveryTime) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("qvl_scene_pictures_" + std::to_string(::getpid()));
    for (const char* run : {"a", "b"}) {
        fs::create_directories(root / run);
        Quorvel::Assets::writeLogoPictures((root / run).string());
        Quorvel::Assets::writeHelixCameraPath((root / run).string());
    }
    for (const char* name : {DataFiles::kLogoPicture, DataFiles::kLogoClouds, DataFiles::kHelixCameraPath}) {
        const std::string a = slurp(DataFiles::inDataFolder((root / "a").string(), name));
        const std::string b = slurp(DataFiles::inDataFolder((root / "b").string(), name));
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, b) << name;
        EXPECT_EQ(a, slurp(dataPath(name))) << name << " differs from the build's data/";
    }
    fs::remove_all(root);
}
