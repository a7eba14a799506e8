// qvl_assetgen DATA_DIR [FAMILY...]
// Writes the generated run-time data into DATA_DIR (all families, or only those named).
// qvl_assetgen --icon FILE.png writes the installed demo's 256 x 256 desktop icon.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "content/asset_list.h"
#include "content/desktop_icon.h"

int main(int argc, char** argv) {
    using namespace Quorvel::Assets;
    if (argc < 2) {
        std::cerr << "usage: qvl_assetgen DATA_DIR [FAMILY...]\n";
        return 2;
    }
    if (std::strcmp(argv[1], "--icon") == 0) {
        if (argc != 3) {
            std::cerr << "usage: qvl_assetgen --icon FILE.png\n";
            return 2;
        }
        try {
            writePng(argv[2], desktopIcon(256));
        } catch (const std::exception& e) {
            std::cerr << "assetgen: " << e.what() << std::endl;
            return 1;
        }
        return 0;
    }
    const std::string dataDir = argv[1];
    std::filesystem::create_directories(dataDir);
    try {
        for (const AssetFamily& family : assetFamilies()) {
            bool wanted = argc == 2;
            for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], family.name) == 0;
            if (!wanted) continue;
            const auto begin = std::chrono::steady_clock::now();
            family.write(dataDir);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
            std::cout << "assetgen: " << family.name << " written in " << took.count() << " s" << std::endl;
        }
    } catch (const std::exception& e) {
        std::cerr << "assetgen: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
