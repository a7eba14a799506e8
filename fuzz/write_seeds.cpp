// Writes the binary seed corpora of the picture and soundtrack fuzz targets, made by the
// project's own encoders, so no binary file lives in the repository:
//   qvl_fuzz_seeds DIR   ->  DIR/picture/*.png  DIR/soundtrack/*.ogg
// The same bytes on every run. The normal tests replay them; long fuzz runs start from them.
#include <lodepng.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz/picture_seeds.h"
#include "content/vorbis_writer.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qvl_fuzz_seeds DIR" << std::endl;
        return 2;
    }
    const fs::path root = argv[1];
    fs::create_directories(root / "picture");
    fs::create_directories(root / "soundtrack");
    for (const Quorvel::FuzzSeeds::NamedBytes& seed : Quorvel::FuzzSeeds::pictures()) {
        std::ofstream out(root / "picture" / seed.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.bytes.data()), std::streamsize(seed.bytes.size()));
    }
    auto tone = [](std::size_t frames, double hz, int rate) {
        std::vector<float> s(frames);
        for (std::size_t i = 0; i < frames; ++i) s[i] = 0.4f * float(std::sin(6.283185307 * hz * double(i) / rate));
        return s;
    };
    using Quorvel::Assets::writeOggVorbis;
    writeOggVorbis((root / "soundtrack" / "stereo.ogg").string(), {tone(4410, 440, 44100), tone(4410, 660, 44100)}, 44100, 0.1f);
    writeOggVorbis((root / "soundtrack" / "mono.ogg").string(), {tone(2205, 220, 22050)}, 22050, 0.1f);
    writeOggVorbis((root / "soundtrack" / "three.ogg").string(),
                   {tone(800, 100, 8000), tone(800, 200, 8000), tone(800, 300, 8000)}, 8000, 0.1f);
    writeOggVorbis((root / "soundtrack" / "empty.ogg").string(), {std::vector<float>{}, std::vector<float>{}}, 44100, 0.1f);
    return 0;
}
