// Test input files written by the test itself into a fresh temporary folder (removed at exit).
//
//   TempFolder folder;
//   std::string png = folder.writePng("a.png", 300, 7, rgba);
#pragma once

#include <lodepng.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvl_engine_XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return path + "/" + name; }

    std::string writeText(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::binary) << text;
        return file(name);
    }

    // Encodes `pixels` (in the given colour type, 8 bits) as a PNG file.
    std::string writePng(const std::string& name, unsigned width, unsigned height,
                         const std::vector<unsigned char>& pixels, LodePNGColorType colorType = LCT_RGBA) const {
        lodepng::encode(file(name), pixels, width, height, colorType, 8);
        return file(name);
    }

private:
    std::string path;
};
