// Replays a fuzz target's seed corpus (and a few degenerate inputs) through its
// LLVMFuzzerTestOneInput without libFuzzer, so the normal test run exercises the fuzz
// entry points with any compiler. The corpus folders come from QVL_FUZZ_CORPUS, '|' between.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
int runOne(const std::string& bytes) {
    return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}
}  // namespace

TEST(FuzzReplay, SeedCorpus) {
    std::string folders = QVL_FUZZ_CORPUS;
    for (std::size_t start = 0, end = 0; start <= folders.size(); start = end + 1) {
        end = folders.find('|', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            EXPECT_EQ(runOne(bytes), 0) << entry.path();
            ++files;
        }
        EXPECT_GT(files, 0u) << "no seed files in " << folder;
    }
}

TEST(FuzzReplay, DegenerateInputs) {
    for (const std::string& bytes : {std::string(), std::string("\n"), std::string("\0", 1), std::string(1000, ' '),
                                     std::string("f"), std::string("curve"), std::string("v 1e99999 nan inf")}) {
        EXPECT_EQ(runOne(bytes), 0);
    }
}
