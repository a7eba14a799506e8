// libFuzzer entry point for the soundtrack's decode path: any bytes as the music file must
// decode or fail with a status, never crash; decoded audio is whole 16-bit frames, and the
// spectrum analyser's window reads stay inside it at any demo time.
//
//   build-fuzz/qvl_fuzz_soundtrack /tmp/fuzz-soundtrack build-fuzz/fuzz-seeds/soundtrack   (see fuzz/README.md)
#include "runtime/spectrum_bands.h"
#include "runtime/vorbis_decode.h"

#include <cstddef>
#include <cstdint>

namespace {
void require(bool condition) {
    if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Quorvel::DecodedAudio audio;
    const Quorvel::DecodeStatus status = Quorvel::decodeVorbisMemory(data, size, audio);
    if (status != Quorvel::DecodeStatus::Ok) {
        require(audio.pcm.empty());
        return 0;
    }
    require(audio.channels >= 1 && audio.rate > 0);
    require(audio.pcm.size() % (2 * std::size_t(audio.channels)) == 0);
    // The music track plays anything but mono as stereo; the analyser reads it the same way.
    const int channels = audio.channels == 1 ? 1 : 2;
    static float window[2048];
    for (double time : {0.0, 0.01, 1.0, 171.9, 1e9, -5.0}) {
        const std::int64_t start = Quorvel::windowStart(audio.rate, time, 2048, channels);
        Quorvel::gatherWindow(audio.pcm.data(), audio.pcm.size() / 2, start, channels, 2048, window);
    }
    return 0;
}
