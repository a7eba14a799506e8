// The demo's soundtrack: "data/e5_t5.ogg" decoded whole into memory at start-up and handed to one
// OpenAL buffer and source. The decoded PCM stays in memory for the spectrum analyser.
// A missing or undecodable file ends the process at once with status 255 (-1) and one line on
// standard error. Without an audio device the track is still decoded and the demo runs silently.
// It does not stream or loop; the players (the preview, the web page) seek, pause and mute it.
//
//   MusicTrack music;      // decodes; prepares the OpenAL source
//   music.play();          // from the start
#pragma once

#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/music_file.h"

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
    // For the players (the preview, the web page): play from any second, and pause. Both do
    // nothing when silent.
    void playFrom(double seconds);
    void pause();
    // Pauses with the source at `seconds`, so that its position is the picture's while paused.
    void pauseAt(double seconds);
    // Silences the source without moving it (the players' mute); nothing when silent.
    void setMuted(bool muted);
    // Where the source is in the track, in seconds, as OpenAL reports it; -1 when silent. For
    // the web page's checks of the player: the program itself never asks.
    double playbackSeconds() const;

    ALuint buffer = 0;
    ALuint source = 0;
    ALenum format = AL_FORMAT_STEREO16;
    std::int32_t frequency = 0;
    std::vector<char> pcm;  // signed 16-bit little-endian, interleaved

    // 1 for a mono track, 2 for stereo (the only two formats the track is handed to OpenAL in).
    int channels() const { return format == AL_FORMAT_MONO16 ? 1 : 2; }
    // Number of 16-bit samples (all channels) and one of them, as the analyser reads them.
    std::size_t sampleCount() const { return pcm.size() / 2; }
    std::int16_t sample(std::size_t index) const {
        std::int16_t value;
        std::memcpy(&value, pcm.data() + 2 * index, sizeof value);  // the bytes are little-endian, as is the host
        return value;
    }

private:
    double lengthSeconds() const;
    void decode();
    [[noreturn]] void failAndExit(const char* before, const char* after);
    void releaseAudio();
    bool audible = false;
    bool muted = false;
};

}  // namespace Quorvel
