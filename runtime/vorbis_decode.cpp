#include "runtime/vorbis_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Quorvel {

namespace {

// Decodes an opened stream to its end and clears the handle.
DecodeStatus decodeOpened(OggVorbis_File& vorbisFile, DecodedAudio& out) {
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

struct MemoryStream {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t at;
};

std::size_t readMemory(void* to, std::size_t itemSize, std::size_t items, void* source) {
    MemoryStream& s = *static_cast<MemoryStream*>(source);
    if (itemSize == 0) return 0;
    const std::size_t count = std::min(items, (s.size - s.at) / itemSize);
    if (count > 0) std::memcpy(to, s.bytes + s.at, count * itemSize);
    s.at += count * itemSize;
    return count;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    MemoryStream& s = *static_cast<MemoryStream*>(source);
    const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(s.at) : ogg_int64_t(s.size);
    if (offset < -base || base + offset > ogg_int64_t(s.size)) return -1;
    s.at = std::size_t(base + offset);
    return 0;
}

long tellMemory(void* source) { return long(static_cast<MemoryStream*>(source)->at); }

}  // namespace

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
    return decodeOpened(vorbisFile, out);
}

DecodeStatus decodeVorbisMemory(const unsigned char* bytes, std::size_t size, DecodedAudio& out) {
    out = DecodedAudio();
    MemoryStream stream{bytes, size, 0};
    const ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    OggVorbis_File vorbisFile;
    if (ov_open_callbacks(&stream, &vorbisFile, nullptr, 0, callbacks) != 0) return DecodeStatus::NotVorbis;
    return decodeOpened(vorbisFile, out);
}

}  // namespace Quorvel
