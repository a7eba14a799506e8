#include "runtime/vorbis_decode.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace Quorvel {

DecodeStatus decodeVorbisFile(const char* path, DecodedAudio& out) {
    out = DecodedAudio();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return DecodeStatus::CannotOpen;

    OggVorbis_File vorbisFile;
    if (ov_open(file, &vorbisFile, nullptr, 0) != 0) {
        std::fclose(file);  // on failure vorbisfile leaves the file to its caller
        return DecodeStatus::NotVorbis;
    }
    // From here the vorbisfile handle owns the file and closes it in ov_clear.
    const vorbis_info* info = ov_info(&vorbisFile, -1);
    out.channels = info->channels;
    out.rate = static_cast<int>(info->rate);

    char chunk[32768];
    int bitstream = 0;
    for (;;) {
        const long n = ov_read(&vorbisFile, chunk, sizeof chunk, 0, 2, 1, &bitstream);
        if (n < 0) {
            ov_clear(&vorbisFile);
            out.pcm.clear();
            return DecodeStatus::DecodeError;
        }
        if (n == 0) break;
        out.pcm.insert(out.pcm.end(), chunk, chunk + n);
    }
    ov_clear(&vorbisFile);
    return out.pcm.empty() ? DecodeStatus::NoSamples : DecodeStatus::Ok;
}

}  // namespace Quorvel
