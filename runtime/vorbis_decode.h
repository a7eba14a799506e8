// Decodes a whole Ogg Vorbis file into 16-bit signed little-endian PCM, channels interleaved.
// It reports what went wrong instead of printing or exiting; the music track decides what to say.
//
//   DecodedAudio audio;
//   if (decodeVorbisFile("data/e5_t5.ogg", audio) == DecodeStatus::Ok) use(audio.pcm);
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Quorvel {

enum class DecodeStatus {
    Ok,
    CannotOpen,   // the file could not be opened for reading
    NotVorbis,    // not an Ogg Vorbis stream
    DecodeError,  // a damaged page or packet part-way through
    NoSamples,    // a valid stream that holds no audio at all
};

struct DecodedAudio {
    int channels = 0;   // of the first logical stream
    int rate = 0;       // Hz, of the first logical stream
    std::vector<char> pcm;
};

DecodeStatus decodeVorbisFile(const char* path, DecodedAudio& out);
// The same for a whole file already in memory (never CannotOpen).
DecodeStatus decodeVorbisMemory(const unsigned char* bytes, std::size_t size, DecodedAudio& out);

}  // namespace Quorvel
