// The landscape and tube scenes drawn for real (Xvfb + Mesa) with the build's data/: frames
// that show a designed picture, the names at their times, a landscape that moves with the
// music, a greeting that stands upright and unmirrored, and the state each scene leaves.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/program_build.h"
#include "runtime/spectrum_analyser.h"
#include "runtime/window.h"
#include "scenes/data_files.h"
#include "scenes/tube_scene.h"
#include "scenes/wave_scene.h"
#include "tests/scenes/scene_frames.h"
#include "tests/scenes/scratch_data.h"
#include "tests/support/gl_context.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

namespace {

constexpr int kWidth = kSceneWidth, kHeight = kSceneHeight;

class WaveTubeGl : public SceneGlTest {
protected:
    static MusicTrack& music() { return decodedSoundtrack(); }
};

}  // namespace

TEST_F(WaveTubeGl, LandscapeFramesAreDesignedPictures) {
    REQUIRE_GL(gl);
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    wave.load();
    ASSERT_GT(wave.skyTexture->width, 0u) << "is data/ built (qvl_data)?";
    for (double time : {75.0, 80.0, 88.0, 99.0}) {
        startSceneFrame();
        wave.render(time);
        const auto [mean, spread] = brightness(gl.readPixels());
        EXPECT_GT(mean, 25.0) << "at " << time;
        EXPECT_GT(spread, 25.0) << "at " << time;
    }
}

namespace {

// A w x h picture of one colour inside a transparent border (a marker for a name or a sky).
std::vector<unsigned char> markerPicture(unsigned w, unsigned h, unsigned char r, unsigned char g, unsigned char b,
                                         unsigned border) {
    std::vector<unsigned char> rgba(size_t(w) * h * 4, 0);
    for (unsigned y = border; y < h - border; ++y)
        for (unsigned x = border; x < w - border; ++x) {
            unsigned char* p = &rgba[(size_t(y) * w + x) * 4];
            p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
        }
    return rgba;
}

// Pixels of one marker colour in one quarter of the frame (rows bottom first).
int markerPixels(const std::vector<std::uint8_t>& rgba, bool top, bool right, bool green) {
    int count = 0;
    for (int y = top ? kHeight / 2 : 0; y < (top ? kHeight : kHeight / 2); ++y)
        for (int x = right ? kWidth / 2 : 0; x < (right ? kWidth : kWidth / 2); ++x) {
            const std::uint8_t* p = &rgba[size_t(4 * (y * kWidth + x))];
            if (green ? p[1] > 200 && p[0] < 60 && p[2] < 60 : p[0] > 200 && p[2] > 200 && p[1] < 60) ++count;
        }
    return count;
}

// Sum of absolute channel differences between two frames.
double frameDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

}  // namespace

TEST_F(WaveTubeGl, EachNameShowsWhereAndWhenItsFadeSays) {
    REQUIRE_GL(gl);
    ScratchData data;
    data.writePng(DataFiles::kSecondName, markerPicture(600, 200, 255, 0, 255, 8), 600, 200);  // magenta
    data.writePng(DataFiles::kFirstName, markerPicture(600, 200, 0, 255, 0, 8), 600, 200);       // green
    data.enter();
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    wave.load();
    data.leave();
    struct Expected {
        double time;
        int tornwickTopRight, pelmoTopLeft;  // at least this many, or none when 0
    };
    for (const Expected e : {Expected{74.5, 0, 0}, Expected{78.5, 200, 0}, Expected{86.5, 0, 200},
                             Expected{92.5, 0, 0}}) {
        startSceneFrame();
        wave.render(e.time);
        const std::vector<std::uint8_t> frame = gl.readPixels();
        const int tornwick = markerPixels(frame, true, true, false), pelmo = markerPixels(frame, true, false, true);
        EXPECT_EQ(tornwick > e.tornwickTopRight, e.tornwickTopRight > 0) << tornwick << " at " << e.time;
        EXPECT_EQ(tornwick == 0, e.tornwickTopRight == 0) << tornwick << " at " << e.time;
        EXPECT_EQ(pelmo > e.pelmoTopLeft, e.pelmoTopLeft > 0) << pelmo << " at " << e.time;
        EXPECT_EQ(pelmo == 0, e.pelmoTopLeft == 0) << pelmo << " at " << e.time;
        EXPECT_EQ(markerPixels(frame, false, false, false) + markerPixels(frame, false, true, true), 0);
    }
}

TEST_F(WaveTubeGl, LinesFollowTheMusicAndFlowOnTheGrid) {
    REQUIRE_GL(gl);
    // A black sky and invisible names: what is left of the frame is the lines.
    ScratchData data;
    data.writePng(DataFiles::kSkyPicture, markerPicture(4, 4, 0, 0, 0, 0), 4, 4);
    data.writePng(DataFiles::kSecondName, markerPicture(4, 4, 0, 0, 0, 4), 4, 4);
    data.writePng(DataFiles::kFirstName, markerPicture(4, 4, 0, 0, 0, 4), 4, 4);
    data.enter();
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    wave.load();
    data.leave();
    auto frameAt = [&](double time) {
        startSceneFrame();
        wave.render(time);
        return gl.readPixels();
    };
    const std::vector<std::uint8_t> now = frameAt(80.0);
    int linePixels = 0;
    for (size_t i = 0; i < now.size(); i += 4) linePixels += now[i + 2] > 120 && now[i + 2] > now[i] + 40;
    EXPECT_GT(linePixels, 300);
    // Music only from 85 to 86 s: the lines at 80 s (moments 78.4-81.6 s) lie as flat as in
    // silence, those at 85 s (83.4-86.6 s) rise. Same times, same turn of the world.
    MusicTrack& track = music();
    const std::vector<char> saved = track.pcm;
    std::fill(track.pcm.begin(), track.pcm.end(), 0);
    const std::vector<std::uint8_t> silent80 = frameAt(80.0), silent85 = frameAt(85.0);
    const size_t from = size_t(85.0 * 44100) * 4, to = size_t(86.0 * 44100) * 4;
    std::copy(saved.begin() + std::ptrdiff_t(from), saved.begin() + std::ptrdiff_t(to),
              track.pcm.begin() + std::ptrdiff_t(from));
    const std::vector<std::uint8_t> burst80 = frameAt(80.0), burst85 = frameAt(85.0);
    track.pcm = saved;
    EXPECT_EQ(burst80, silent80);
    EXPECT_GT(frameDifference(burst85, silent85), 20000.0);
    EXPECT_GT(frameDifference(now, silent80), 20000.0);
    // One grid step later the picture moves on.
    EXPECT_NE(frameAt(80.08), now);
}

TEST_F(WaveTubeGl, TheStripShowsBandsOneTo27Only) {
    REQUIRE_GL(gl);
    Shader* vertexShader = nullptr;
    Shader* fragmentShader = nullptr;
    ShaderProgram* program = nullptr;
    buildProgram("data/wave_line.vert", "data/wave_line.frag", vertexShader, fragmentShader, program);
    MusicTrack& track = music();
    const std::vector<char> saved = track.pcm;
    const ALenum savedFormat = track.format;
    // A tone on one bin of a band, in the first channel of the window ending at 1 s.
    auto toneInBin = [&](int bin) {
        std::vector<std::int16_t> samples(2 * 44100, 0);
        for (size_t n = 0; n < 44100; ++n)
            samples[2 * n] = std::int16_t(8000.0 * std::sin(2.0 * 3.14159265358979 * bin * double(n) / 2048.0));
        track.pcm.assign(reinterpret_cast<const char*>(samples.data()),
                         reinterpret_cast<const char*>(samples.data() + samples.size()));
        track.format = AL_FORMAT_STEREO16;
    };
    SpectrumAnalyser analyser(track);
    // Identity camera, heights turned to point up the screen.
    auto raisedPixels = [&](int bin) {
        toneInBin(bin);
        startSceneFrame();
        glLoadIdentity();
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        glScalef(0.9f, 1.0f, 0.2f);
        glUseProgram(program->name);
        analyser.drawSpectrum(1.0);
        glUseProgram(0);
        const std::vector<std::uint8_t> frame = gl.readPixels();
        int count = 0;
        for (int y = kHeight / 2 + kHeight / 10; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) count += frame[size_t(4 * (y * kWidth + x)) + 2] > 100;
        return count;
    };
    EXPECT_GT(raisedPixels(170), 5);   // band 5: drawn
    EXPECT_EQ(raisedPixels(940), 0);   // band 29: computed, not drawn
    track.pcm = saved;
    track.format = savedFormat;
    delete program;
    delete fragmentShader;
    delete vertexShader;
}

TEST_F(WaveTubeGl, LandscapeLeavesTheStateItsOverlayNeeds) {
    REQUIRE_GL(gl);
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    startSceneFrame();
    glViewport(3, 5, 200, 100);
    const std::vector<std::uint8_t> before = gl.readPixels();
    wave.render(80.0);  // not loaded: nothing drawn
    EXPECT_EQ(gl.readPixels(), before);
    wave.load();
    wave.render(80.0);
    GLint value = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, analyser.vertices.data());
    glGetPointerv(GL_NORMAL_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, analyser.normals.data());
    GLfloat matrix[16], colour[4];
    for (GLenum which : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
        glGetFloatv(which, matrix);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[3], 0.0f);  // at 80 s (u = 6) the second name is not shown yet
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[3], 100);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaveTubeGl, TubeFramesFadeInOverTheLandscapeAndShowTheVein) {
    REQUIRE_GL(gl);
    SpectrumAnalyser analyser(music());
    WaveScene wave(kWidth, kHeight, &analyser);
    TubeScene tube(kWidth, kHeight);
    wave.load();
    tube.load();
    ASSERT_EQ(tube.greetings.size(), 9u);
    ASSERT_EQ(tube.frameBuffer->width, std::uint32_t(kWidth));
    double previousRed = -1e18;
    for (double time : {95.0, 98.0, 100.6, 104.3, 120.0, 134.5}) {
        startSceneFrame();
        if (time < 100.0) wave.render(time);
        tube.render(time);
        const std::vector<std::uint8_t> frame = gl.readPixels();
        const auto [mean, spread] = brightness(frame);
        EXPECT_GT(mean, 25.0) << "at " << time;
        EXPECT_GT(spread, 15.0) << "at " << time;
        // The vein's red takes over as the tube fades in.
        double red = 0.0;
        for (size_t i = 0; i < frame.size(); i += 4) red += frame[i] - 0.5 * (frame[i + 1] + frame[i + 2]);
        if (time <= 100.6) {
            EXPECT_GT(red, previousRed) << "at " << time;
        }
        previousRed = red;
    }
}

TEST_F(WaveTubeGl, TubeRestoresTheViewportAndLeavesItsState) {
    REQUIRE_GL(gl);
    TubeScene tube(kWidth, kHeight);
    tube.load();
    startSceneFrame();
    glViewport(3, 5, 200, 100);
    tube.render(110.0);
    GLint value = -1;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[1], 5);
    EXPECT_EQ(viewport[2], 200);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(value, 0);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat matrix[16];
    for (GLenum which : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
        glGetFloatv(which, matrix);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaveTubeGl, GreetingStandsUprightAndUnmirrored) {
    REQUIRE_GL(gl);
    // A data folder whose first greeting is a marker: green top-left, red top-right, blue below.
    std::vector<unsigned char> marker(size_t(1920) * 820 * 4, 0);
    for (int y = 60; y < 760; ++y)
        for (int x = 60; x < 1860; ++x) {
            unsigned char* p = &marker[(size_t(y) * 1920 + size_t(x)) * 4];
            const bool top = y < 400, left = x < 960;
            p[0] = top && !left ? 255 : 0;
            p[1] = top && left ? 255 : 0;
            p[2] = top ? 0 : 255;
            p[3] = 255;
        }
    ScratchData data;
    data.writePng(DataFiles::kGreetings[0], marker, 1920, 820);
    data.enter();
    TubeScene tube(kWidth, kHeight);
    tube.load();
    data.leave();

    startSceneFrame();
    tube.render(100.6);  // greeting 0 at opacity 0.95
    auto at = [&](int x, int y) {  // y from the top of the frame
        const std::uint32_t p = gl.pixel(x, kHeight - 1 - y);
        return std::array<int, 3>{int(p >> 24), int((p >> 16) & 0xff), int((p >> 8) & 0xff)};
    };
    const auto topLeft = at(kWidth / 4, kHeight / 4), topRight = at(3 * kWidth / 4, kHeight / 4);
    const auto bottom = at(kWidth / 2, 3 * kHeight / 4);
    EXPECT_GT(topLeft[1], topLeft[0] + 60);
    EXPECT_GT(topRight[0], topRight[1] + 60);
    EXPECT_GT(bottom[2], bottom[0] + 60);
}
