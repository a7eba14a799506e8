// A picture from the build folder's data/ (QVL_BINARY_DIR/data), decoded to 8-bit RGBA for the
// tests of the generated content, with the per-pixel and per-line figures they compare.
//
//   const DataPicture d = decodeDataPicture("face_bg.png");
//   double seam = lineDifference(d, false, d.height - 1, 0, 3);  // last row against the first
#pragma once

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <string>
#include <vector>

struct DataPicture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgba;
    int at(unsigned x, unsigned y, int channel) const { return rgba[(size_t(y) * width + x) * 4 + size_t(channel)]; }
    double luma(unsigned x, unsigned y) const {
        return 0.2126 * at(x, y, 0) + 0.7152 * at(x, y, 1) + 0.0722 * at(x, y, 2);
    }
};

// `name` bare ("face_bg.png") or as the scenes name it ("data/face_bg.png").
inline std::string dataPath(const std::string& name) {
    const char* dir = std::getenv("QVL_BINARY_DIR");
    const std::string bare = name.rfind("data/", 0) == 0 ? name.substr(5) : name;
    return std::string(dir ? dir : ".") + "/data/" + bare;
}

// Decodes data/`name`; a failure is a test failure and gives an empty picture.
inline DataPicture decodeDataPicture(const std::string& name) {
    DataPicture d;
    const unsigned error = lodepng::decode(d.rgba, d.width, d.height, dataPath(name));
    EXPECT_EQ(error, 0u) << name << ": " << lodepng_error_text(error) << " (is data/ built?)";
    return d;
}

// Mean absolute difference of the first `channels` channels between columns (or rows) a and b.
inline double lineDifference(const DataPicture& d, bool columns, unsigned a, unsigned b, int channels) {
    double sum = 0.0;
    const unsigned count = columns ? d.height : d.width;
    for (unsigned i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c)
            sum += std::abs(columns ? d.at(a, i, c) - d.at(b, i, c) : d.at(i, a, c) - d.at(i, b, c));
    return sum / count;
}
