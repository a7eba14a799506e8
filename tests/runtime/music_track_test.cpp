// The music track against real Ogg Vorbis files written by the project's own encoder: formats,
// PCM sizes, every failure line and exit status, and the silent path without an audio device.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "runtime/music_track.h"
#include "runtime/vorbis_decode.h"
#include "content/vorbis_writer.h"

using namespace Quorvel;
namespace fs = std::filesystem;

namespace {

std::vector<float> tone(size_t frames, double freq) {
    std::vector<float> s(frames);
    for (size_t i = 0; i < frames; ++i) s[i] = 0.5f * float(std::sin(6.283185307 * freq * double(i) / 44100.0));
    return s;
}

// Each test runs in a fresh folder with a data/ subfolder, as the program expects.
class MusicFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
        previous = fs::current_path();
        dir = fs::temp_directory_path() / ("qvl_music_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "data");
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    void writeBytes(const std::string& bytes) { std::ofstream(kMusicFile, std::ios::binary) << bytes; }
    std::string readBytes() {
        std::ifstream in(kMusicFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path previous, dir;
};

TEST_F(MusicFolder, StereoAndMonoDecodeToSixteenBitFrames) {
    Assets::writeOggVorbis(kMusicFile, tone(44100, 440), tone(44100, 660), 44100, 0.5f);
    {
        MusicTrack track;
        EXPECT_EQ(track.format, AL_FORMAT_STEREO16);
        EXPECT_EQ(track.frequency, 44100);
        EXPECT_EQ(track.pcm.size(), 44100u * 4);  // every frame, 2 channels x 2 bytes
        track.play();
    }
    Assets::writeOggVorbis(kMusicFile, {tone(22050, 440)}, 22050, 0.4f);
    MusicTrack mono{MusicTrack::Silent{}};
    EXPECT_EQ(mono.format, AL_FORMAT_MONO16);
    EXPECT_EQ(mono.frequency, 22050);
    EXPECT_EQ(mono.pcm.size(), 22050u * 2);
    // The samples are the tone, not silence: peak near 0.5 full scale.
    int peak = 0;
    for (size_t i = 0; i < mono.sampleCount(); ++i) peak = std::max(peak, std::abs(int(mono.sample(i))));
    EXPECT_NEAR(peak, 16384, 2000);
}

TEST_F(MusicFolder, MissingFileEndsTheProcessWithItsLine) {
    EXPECT_EXIT(MusicTrack(), ::testing::ExitedWithCode(255), "^Cannot open data/e5_t5.ogg for reading...\n$");
}

TEST_F(MusicFolder, FileThatIsNotVorbisEndsTheProcessWithItsLine) {
    writeBytes("RIFF this is not an ogg stream at all, just text pretending to be audio");
    EXPECT_EXIT(MusicTrack(), ::testing::ExitedWithCode(255), "^Error opening data/e5_t5.ogg for decoding...\n$");
    writeBytes("");
    EXPECT_EXIT(MusicTrack(), ::testing::ExitedWithCode(255), "^Error opening data/e5_t5.ogg for decoding...\n$");
}

TEST_F(MusicFolder, DamagedStreamEndsTheProcessWithTheDecodingLine) {
    Assets::writeOggVorbis(kMusicFile, tone(44100 * 10, 440), tone(44100 * 10, 660), 44100, 0.5f);
    std::string bytes = readBytes();
    for (size_t at : {bytes.size() / 3, bytes.size() / 2, bytes.size() * 2 / 3})
        for (size_t i = at; i < at + 64; ++i) bytes[i] = char(bytes[i] ^ 0x5a);
    writeBytes(bytes);
    DecodedAudio audio;
    EXPECT_EQ(decodeVorbisFile(kMusicFile, audio), DecodeStatus::DecodeError);
    EXPECT_TRUE(audio.pcm.empty());  // nothing half-decoded is handed on
    EXPECT_EXIT(MusicTrack(), ::testing::ExitedWithCode(255), "^Error decoding data/e5_t5.ogg...\n$");
}

TEST_F(MusicFolder, StreamWithoutSamplesIsADecodingError) {
    Assets::writeOggVorbis(kMusicFile, std::vector<float>{}, std::vector<float>{}, 44100, 0.5f);
    DecodedAudio audio;
    EXPECT_EQ(decodeVorbisFile(kMusicFile, audio), DecodeStatus::NoSamples);
    EXPECT_EXIT(MusicTrack(), ::testing::ExitedWithCode(255), "^Error decoding data/e5_t5.ogg...\n$");
}

TEST_F(MusicFolder, WithoutAnAudioDeviceTheTrackStillDecodesAndPlaysSilently) {
    Assets::writeOggVorbis(kMusicFile, tone(4410, 440), tone(4410, 660), 44100, 0.5f);
    // A fresh process, so OpenAL Soft reads the driver list anew and finds no usable backend.
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
            {
                MusicTrack track;
                track.play();
                if (track.pcm.size() != 4410u * 4 || track.source != 0) std::exit(1);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The players move the source with the picture: paused at a time, it reports that time until it
// plays; muted, it keeps its place; past the end it stops rather than wrapping to 0.
TEST_F(MusicFolder, PausedAtATimeTheSourceIsThereAndMutingKeepsItsPlace) {
    Assets::writeOggVorbis(kMusicFile, tone(88200, 440), tone(88200, 660), 44100, 0.5f);  // 2 s
    MusicTrack track;
    ASSERT_NE(track.source, 0u) << "the test's OpenAL null device";
    track.playFrom(0.5);
    track.pauseAt(1.25);
    EXPECT_NEAR(track.playbackSeconds(), 1.25, 1e-3);
    ALint state = 0;
    alGetSourcei(track.source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PAUSED);
    track.setMuted(true);
    ALfloat gain = -1.0f;
    alGetSourcef(track.source, AL_GAIN, &gain);
    EXPECT_EQ(gain, 0.0f);
    EXPECT_NEAR(track.playbackSeconds(), 1.25, 1e-3);
    track.setMuted(false);
    alGetSourcef(track.source, AL_GAIN, &gain);
    EXPECT_EQ(gain, 1.0f);
    track.pauseAt(5.0);
    alGetSourcei(track.source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_STOPPED);
    // Back from the end: the source takes the time again and plays from it.
    track.pauseAt(0.5);
    alGetSourcei(track.source, AL_SOURCE_STATE, &state);
    EXPECT_NE(state, AL_STOPPED);
    track.playFrom(1.0);
    EXPECT_NEAR(track.playbackSeconds(), 1.0, 0.1);
    EXPECT_EQ(MusicTrack(MusicTrack::Silent{}).playbackSeconds(), -1.0);
}

}  // namespace
