// The soundtrack family: "e5_t5.ogg", the score of synth/score/taluvine.score rendered by the
// project's synthesizer and encoded as Ogg Vorbis. tools/soundtrack_wav/main.cpp writes the same
// render as WAV for listening.
#include <chrono>
#include <iostream>

#include "runtime/music_file.h"
#include "scenes/data_files.h"
#include "synth/soundtrack.h"
#include "content/asset_list.h"
#include "content/vorbis_writer.h"

namespace Quorvel::Assets {

void writeSoundtrack(const std::string& dataDir) {
    const auto begin = std::chrono::steady_clock::now();
    const Synth::StereoBuffer music = Synth::renderSoundtrack();
    const auto rendered = std::chrono::steady_clock::now();
    writeOggVorbis(DataFiles::inDataFolder(dataDir, kMusicFile), music.left, music.right, music.sampleRate, 0.5f);
    const auto encoded = std::chrono::steady_clock::now();
    const double seconds = double(music.left.size()) / music.sampleRate;
    const double renderTime = std::chrono::duration<double>(rendered - begin).count();
    std::cout << "assetgen: soundtrack " << seconds << " s rendered in " << renderTime << " s ("
              << seconds / renderTime << "x real time), encoded in "
              << std::chrono::duration<double>(encoded - rendered).count() << " s" << std::endl;
}

}  // namespace Quorvel::Assets
