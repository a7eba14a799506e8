// Encodes floating-point stereo audio as an Ogg Vorbis file with libvorbisenc (VBR quality mode).
// The Ogg stream serial number is fixed, so the same samples always give the same bytes.
//
//   writeOggVorbis("data/e5_t5.ogg", left, right, 44100, 0.5f);
#pragma once

#include <string>
#include <vector>

namespace Quorvel::Assets {

// Samples are in [-1, 1]; all channels have the same length. Throws std::runtime_error.
void writeOggVorbis(const std::string& path, const std::vector<std::vector<float>>& channels, int sampleRate,
                    float quality);
inline void writeOggVorbis(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                           int sampleRate, float quality) {
    writeOggVorbis(path, {left, right}, sampleRate, quality);
}

// 16-bit PCM WAV of the same samples, for listening and inspection.
void writeWav(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
              int sampleRate);

}  // namespace Quorvel::Assets
