#include "runtime/music_track.h"

#include <AL/alc.h>

#include <cstdlib>
#include <iostream>

#include "runtime/vorbis_decode.h"

namespace Quorvel {

MusicTrack::MusicTrack() {
    ALCdevice* device = alcOpenDevice(nullptr);
    // Without a device there is no context to make current; every al* call below would be
    // ignored by OpenAL Soft anyway, but skipping them keeps the silent path explicit.
    if (device) {
        ALCcontext* context = alcCreateContext(device, nullptr);
        if (context && alcMakeContextCurrent(context)) {
            audible = true;
        } else {
            if (context) alcDestroyContext(context);
            alcCloseDevice(device);
        }
    }
    if (audible) {
        alGenBuffers(1, &buffer);
        alGenSources(1, &source);
        alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    decode();
    if (audible) {
        alBufferData(buffer, format, pcm.data(), static_cast<ALsizei>(pcm.size()), frequency);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    }
}

MusicTrack::MusicTrack(Silent) { decode(); }

void MusicTrack::failAndExit(const char* before, const char* after) {
    std::cerr << before << kMusicFile << after << std::endl;
    // The demo cannot run without its soundtrack. The audio device is closed first only so that
    // OpenAL does not add its own complaint about an open device to the one line above.
    releaseAudio();
    std::exit(-1);
}

void MusicTrack::decode() {
    DecodedAudio audio;
    switch (decodeVorbisFile(kMusicFile, audio)) {
        case DecodeStatus::CannotOpen: failAndExit("Cannot open ", " for reading...");
        case DecodeStatus::NotVorbis: failAndExit("Error opening ", " for decoding...");
        // A stream without samples would hand OpenAL no data and the analyser nothing to read.
        case DecodeStatus::NoSamples:
        case DecodeStatus::DecodeError: failAndExit("Error decoding ", "...");
        case DecodeStatus::Ok: break;
    }
    format = audio.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    frequency = audio.rate;
    pcm.swap(audio.pcm);
}

void MusicTrack::play() {
    if (!audible) return;
    alSourcef(source, AL_SEC_OFFSET, 0.0f);
    alSourcePlay(source);
}

double MusicTrack::lengthSeconds() const {
    return frequency > 0 ? double(pcm.size()) / (2.0 * channels() * frequency) : 0.0;
}

void MusicTrack::playFrom(double seconds) {
    if (!audible) return;
    alSourceStop(source);
    if (seconds < 0.0 || seconds >= lengthSeconds()) return;  // past the end: silence, not a restart at 0
    // Offsets are applied to a playing source at once.
    alSourcePlay(source);
    alSourcef(source, AL_SEC_OFFSET, static_cast<ALfloat>(seconds));
}

void MusicTrack::pause() {
    if (audible) alSourcePause(source);
}

void MusicTrack::pauseAt(double seconds) {
    if (!audible) return;
    if (seconds < 0.0 || seconds >= lengthSeconds()) {
        alSourceStop(source);
        return;
    }
    // A source that played to its end (or was stopped there) takes no new offset in every
    // library (the browser's throws): rewound, it does, and keeps it until it plays.
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) alSourceRewind(source);
    alSourcePause(source);
    // A paused source takes a new offset at once and keeps it until it plays.
    alSourcef(source, AL_SEC_OFFSET, static_cast<ALfloat>(seconds));
}

void MusicTrack::setMuted(bool mute) {
    if (!audible || mute == muted) return;
    muted = mute;
    alSourcef(source, AL_GAIN, mute ? 0.0f : 1.0f);
}

double MusicTrack::playbackSeconds() const {
    if (!audible) return -1.0;
    ALfloat seconds = 0.0f;
    alGetSourcef(source, AL_SEC_OFFSET, &seconds);
    return seconds;
}

MusicTrack::~MusicTrack() { releaseAudio(); }

void MusicTrack::releaseAudio() {
    if (!audible) return;
    audible = false;
    alDeleteSources(1, &source);  // the source first, so the buffer is detached when deleted
    alDeleteBuffers(1, &buffer);
    ALCcontext* context = alcGetCurrentContext();
    ALCdevice* device = alcGetContextsDevice(context);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

}  // namespace Quorvel
