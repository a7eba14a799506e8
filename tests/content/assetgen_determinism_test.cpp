// The asset generator writes the same bytes on every run: a fresh run must reproduce every file
// that the build put into data/.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/process.h"

namespace fs = std::filesystem;

TEST(AssetGenerator, FreshRunReproducesTheBuiltDataByteForByte) {
    const fs::path dir = freshFolder("assetgen");
    const ProcessResult r = runShell("'" + (binaryDir() / "qvl_assetgen").string() + "' '" + dir.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    int compared = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        const fs::path built = binaryDir() / "data" / fs::relative(entry.path(), dir);
        ASSERT_TRUE(fs::exists(built)) << built;
        EXPECT_TRUE(readFile(entry.path()) == readFile(built)) << "differs from the build: " << built;
        ++compared;
    }
    EXPECT_GE(compared, 1);
    EXPECT_TRUE(fs::exists(dir / "e5_t5.ogg"));
    fs::remove_all(dir);
}
