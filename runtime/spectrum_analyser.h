// Turns a moment of the soundtrack into one line of the spectrum landscape and draws it: the
// 2048 frames of the decoded track that end at the given time (one channel value per frame, no
// window function), their FFT, 32 band heights, and a 124-entry vertex and normal array drawn
// as a quad strip with whatever program, matrices and colour are current. A window that hangs
// over either end of the track reads silence there. Storage is allocated once at construction;
// a call allocates nothing. It owns no GL object and changes no GL state but the client vertex
// and normal arrays (enabled for the draw, disabled after; the pointers stay on its arrays).
//
//   SpectrumAnalyser analyser(music);   // music outlives the analyser
//   analyser.drawSpectrum(80.0);        // the line for the 2048 frames ending at 80 s
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/music_track.h"
#include "runtime/real_fft.h"
#include "runtime/spectrum_bands.h"

namespace Quorvel {

class SpectrumAnalyser {
public:
    explicit SpectrumAnalyser(const MusicTrack& music);

    // Recomputes all four arrays for `time` (seconds into the track) and draws the line.
    void drawSpectrum(double time);
    // The same computation without any GL call (tests, benchmarks, tools).
    void compute(double time);

    const MusicTrack* track;
    std::vector<float> samples;    // the analysis window of the last call
    std::vector<float> spectrum;   // its FFT, RealFft layout
    std::vector<float> vertices;   // 124 x (x, y, z)
    std::vector<float> normals;    // 124 x (x, y, z)
    std::int32_t fftSize = 2048;
    std::int32_t bandCount = 32;
    RealFft fft;

    // Entries the strip draws: from entry 4, 104 of them (bands 1 to 27 are visible).
    static constexpr int kFirstDrawnEntry = 4;
    static constexpr int kDrawnEntries = 104;

private:
    BandWeights weights;
    std::vector<float> magnitudes;
    std::vector<float> heights;
};

}  // namespace Quorvel
