// qvl_soundtrack_wav FILE.wav
// Renders the soundtrack exactly as the asset generator does and writes it as 16-bit WAV, for
// listening and inspection without the Vorbis stage.
#include <chrono>
#include <exception>
#include <iostream>

#include "synth/soundtrack.h"
#include "content/vorbis_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qvl_soundtrack_wav FILE.wav\n";
        return 2;
    }
    try {
        const auto begin = std::chrono::steady_clock::now();
        const Quorvel::Synth::StereoBuffer music = Quorvel::Synth::renderSoundtrack();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        Quorvel::Assets::writeWav(argv[1], music.left, music.right, music.sampleRate);
        const double seconds = double(music.left.size()) / music.sampleRate;
        std::cout << "soundtrack: " << seconds << " s rendered in " << took.count() << " s, written to " << argv[1]
                  << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "soundtrack: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
