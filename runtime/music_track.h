// The demo's soundtrack: "data/e5_t5.ogg" decoded whole into memory at start-up and handed to one
// OpenAL buffer and source. The decoded PCM stays in memory for the spectrum analyser.
// A missing or undecodable file ends the process at once with status 255 (-1) and one line on
// standard error. Without an audio device the track is still decoded and the demo runs silently.
// It does not stream, loop, or report the playback position.
//
//   MusicTrack music;      // decodes; prepares the OpenAL source
//   music.play();          // from the start
#pragma once

#include <AL/al.h>

#include <cstdint>
#include <vector>

namespace Quorvel {

class MusicTrack {
public:
    // Decodes and prepares playback on the default OpenAL device.
    MusicTrack();
    // Decodes only; no OpenAL object is created and play() does nothing (frame capture, tests).
    struct Silent {};
    explicit MusicTrack(Silent);
    ~MusicTrack();
    MusicTrack(const MusicTrack&) = delete;
    MusicTrack& operator=(const MusicTrack&) = delete;

    // Starts playback from 0 seconds.
    void play();

    ALuint buffer = 0;
    ALuint source = 0;
    ALenum format = AL_FORMAT_STEREO16;
    std::int32_t frequency = 0;
    std::vector<char> pcm;  // signed 16-bit little-endian, interleaved

    // The decoded samples, as the analyser reads them.
    const std::int16_t* samples() const { return reinterpret_cast<const std::int16_t*>(pcm.data()); }

private:
    void decode();
    [[noreturn]] void failAndExit(const char* before, const char* after);
    void releaseAudio();
    bool audible = false;
};

// The track's file name, relative to the working directory.
extern const char* const kMusicFile;

}  // namespace Quorvel
