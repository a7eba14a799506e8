#include "tools/capture/soundtrack_cut.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quorvel::Capture {

std::int64_t soundtrackStart(int rate, double from) { return std::llround(from * rate); }

std::int64_t soundtrackLength(int rate, long frames, long fpsNumerator, long fpsDenominator) {
    // Integer arithmetic: 60000/1001 fps must not drift a sample over a long video.
    const std::int64_t numerator = std::int64_t(frames) * fpsDenominator * rate;
    return (numerator + fpsNumerator / 2) / fpsNumerator;
}

std::vector<char> cutSoundtrack(const std::vector<char>& pcm, int channels, int rate, double from, long frames,
                                long fpsNumerator, long fpsDenominator) {
    const std::size_t frameBytes = std::size_t(2 * channels);
    const std::int64_t start = soundtrackStart(rate, from);
    const std::int64_t length = soundtrackLength(rate, frames, fpsNumerator, fpsDenominator);
    std::vector<char> cut(std::size_t(length) * frameBytes, 0);
    const std::int64_t available = std::int64_t(pcm.size() / frameBytes);
    const std::int64_t first = std::clamp<std::int64_t>(start, 0, available);
    const std::int64_t last = std::clamp<std::int64_t>(start + length, 0, available);
    if (last > first)
        std::memcpy(cut.data() + (first - start) * std::int64_t(frameBytes), pcm.data() + first * std::int64_t(frameBytes),
                    std::size_t(last - first) * frameBytes);
    return cut;
}

}  // namespace Quorvel::Capture
