// The arithmetic of the spectrum line, apart from GL, the FFT and the music track: where the
// analysis window starts, how a spectrum becomes 32 band heights, and how the heights become
// the 124-entry vertex and normal arrays the line shader turns into a glowing band. The float
// and double steps are the ones the landscape was designed with; tests pin them.
//
//   float heights[32]; bandHeights(spectrum, 2048, 32, heights);
//   writeLineArrays(heights, 32, vertices, normals);   // 372 floats each
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Quorvel {

// First sample index (all channels counted) of the `size`-frame window that ends at `time`:
// (rate * time - size) * channels, truncated toward zero. Far-off or non-finite times give a
// start so far outside any track that the whole window reads as silence.
std::int64_t windowStart(double rate, double time, int size, int channels);

// Fills `window` with `size` values, one per frame from sample start + i * channels of `pcm`
// (`count` signed 16-bit little-endian samples), scaled by 1/16384; samples outside [0, count)
// read as 0 (a window hanging over either end of the track).
void gatherWindow(const char* pcm, std::size_t count, std::int64_t start, int channels, int size,
                  float* window);

// The per-band factors of the heights, worked out once: ln(1 + i / bands) and the fourth root
// of 1.5 for band 0, of 0.8 for the others.
struct BandWeights {
    explicit BandWeights(int bands);
    std::vector<double> level;
    std::vector<double> weight;
};

// Band heights from a spectrum in the RealFft layout: the magnitudes of the first size/2 bins
// (written to `magnitudes`), summed in equal groups in increasing order, each group's mean
// times its level, 1.2 and its weight.
void bandHeights(const float* spectrum, int size, const BandWeights& weights, float* magnitudes, float* heights);

// x of band i, from -1 (band 0) to +1 (band bands-1), and its mirror from -1 to -3.
float bandX(int i, int bands);
float bandXMirror(int i, int bands);

// Writes 4 * (bands - 1) entries of 3 floats to each array (y left untouched): per segment s,
// two coincident vertices at each end, the normals carrying the other end and the mirrored end.
void writeLineArrays(const float* heights, int bands, float* vertices, float* normals);

}  // namespace Quorvel
