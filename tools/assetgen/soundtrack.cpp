// The soundtrack family: "e5_t5.ogg". Until the score lands this is a click track at the
// programme's tempo, with louder clicks on the helix beats, so picture/sound sync can be checked.
#include <cmath>
#include <vector>

#include "tools/assetgen/asset_list.h"
#include "tools/assetgen/vorbis_writer.h"

namespace Quorvel::Assets {
namespace {

constexpr int kSampleRate = 44100;
constexpr double kSeconds = 172.0;
constexpr double kBeat = 60.0 / 130.0;
constexpr double kPi = 3.14159265358979323846;
constexpr int kAccentBeats[] = {96, 104, 105, 112, 120, 124, 128, 136, 137, 144, 152, 156};

void addClick(std::vector<float>& left, std::vector<float>& right, double at, double freq, float gain) {
    const size_t begin = static_cast<size_t>(std::lround(at * kSampleRate));
    const size_t length = kSampleRate / 20;  // 50 ms
    for (size_t i = 0; i < length && begin + i < left.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const float s = gain * float(std::sin(2.0 * kPi * freq * t) * std::exp(-t * 60.0));
        left[begin + i] += s;
        right[begin + i] += s * 0.9f;  // not identical channels
    }
}

}  // namespace

void writeSoundtrack(const std::string& dataDir) {
    const size_t frames = static_cast<size_t>(kSeconds * kSampleRate);
    std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
    for (int beat = 0; beat * kBeat < kSeconds; ++beat) {
        bool accent = false;
        for (int a : kAccentBeats) accent = accent || a == beat;
        addClick(left, right, beat * kBeat, accent ? 1760.0 : 880.0, accent ? 0.8f : 0.25f);
    }
    writeOggVorbis(dataDir + "/e5_t5.ogg", left, right, kSampleRate, 0.5f);
}

}  // namespace Quorvel::Assets
