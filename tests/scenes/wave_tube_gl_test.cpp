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
#include "runtime/spectrum_bands.h"
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

namespace {

// One landscape line drawn on its own into an offscreen 16:9 picture of the given height, with
// the strip exactly as the analyser draws it but from chosen band heights. The line runs
// across the picture, one unit in front of the eye: x as the band's x times 0.9, the squeezed height up the picture times
// `rise`. Returns RGBA, bottom row first.
class LinePicture {
public:
    explicit LinePicture(int height) : width(height * 16 / 9), height(height) {
        glGenFramebuffersEXT(1, &frame);
        glGenRenderbuffersEXT(2, buffers);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, buffers[0]);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, buffers[1]);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frame);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, buffers[0]);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, buffers[1]);
        complete = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    }
    ~LinePicture() {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteRenderbuffersEXT(2, buffers);
        glDeleteFramebuffersEXT(1, &frame);
    }

    std::vector<std::uint8_t> draw(GLuint program, const std::vector<float>& heights, float rise, GLenum depthTest) {
        std::vector<float> vertices(372, 0.0f), normals(372, 0.0f);
        writeLineArrays(heights.data(), 32, vertices.data(), normals.data());
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frame);
        glViewport(0, 0, width, height);
        applyFixedGlState();
        beginGlFrame();
        glClear(GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(depthTest);
        glDisable(GL_TEXTURE_2D);
        // Seen through a lens from one unit away, so the picture is as with identity matrices
        // but the depth behind the line means something, as in the landscape.
        glMatrixMode(GL_PROJECTION);
        glFrustum(-0.5, 0.5, -0.5, 0.5, 0.5, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(0.0f, 0.0f, -1.0f);
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        glScalef(0.9f, 1.0f, rise);
        glUseProgram(program);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertices.data());
        glNormalPointer(GL_FLOAT, 0, normals.data());
        glDrawArrays(GL_QUAD_STRIP, SpectrumAnalyser::kFirstDrawnEntry, SpectrumAnalyser::kDrawnEntries);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glUseProgram(0);
        glDepthFunc(GL_LESS);
        std::vector<std::uint8_t> rgba(size_t(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        return rgba;
    }

    // Green at a point in normalised device coordinates, between the four nearest pixels.
    int greenAt(const std::vector<std::uint8_t>& rgba, double x, double y) const {
        const double px = (x + 1.0) * 0.5 * width - 0.5, py = (y + 1.0) * 0.5 * height - 0.5;
        const int x0 = std::clamp(int(std::floor(px)), 0, width - 2), y0 = std::clamp(int(std::floor(py)), 0, height - 2);
        const double fx = std::clamp(px - x0, 0.0, 1.0), fy = std::clamp(py - y0, 0.0, 1.0);
        auto g = [&](int i, int j) { return double(rgba[size_t(4 * ((y0 + j) * width + x0 + i)) + 1]); };
        return int(std::lround((1 - fy) * ((1 - fx) * g(0, 0) + fx * g(1, 0)) + fy * ((1 - fx) * g(0, 1) + fx * g(1, 1))));
    }

    const int width, height;
    bool complete = false;

private:
    GLuint frame = 0;
    GLuint buffers[2] = {0, 0};
};

// The line's squeezed height, as the line shader squeezes it.
double squeezed(double h) { return 2.6 * (1.0 - std::exp(-1.4 * std::max(h, 0.0) / 2.6)); }

class LineRibbonGl : public WaveTubeGl {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        buildProgram("data/wave_line.vert", "data/wave_line.frag", vertexShader, fragmentShader, program);
        ASSERT_NE(program, nullptr);
    }
    void TearDown() override {
        delete program;
        delete fragmentShader;
        delete vertexShader;
    }
    Shader* vertexShader = nullptr;
    Shader* fragmentShader = nullptr;
    ShaderProgram* program = nullptr;
};

}  // namespace

TEST_F(LineRibbonGl, WidthIsAShareOfThePictureNotOfPixels) {
    // A flat line along the middle: the light summed down a column is the ribbon's width times
    // its brightness, so it doubles when the picture's height doubles.
    const std::vector<float> flat(32, 0.0f);
    auto columnLight = [&](int height) {
        LinePicture picture(height);
        EXPECT_TRUE(picture.complete);
        const std::vector<std::uint8_t> rgba = picture.draw(program->name, flat, 0.3f, GL_LESS);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        double light = 0.0;
        int lit = 0, peak = 0;
        for (int y = 0; y < height; ++y) {
            const int g = rgba[size_t(4 * (y * picture.width + picture.width / 2)) + 1];
            light += g / 255.0;
            lit += g > 20;
            peak = std::max(peak, g);
        }
        EXPECT_GT(peak, 200) << "a bright core at " << height;
        EXPECT_GT(lit, height / 200) << "wider than a hairline at " << height;
        return light;
    };
    const double small = columnLight(360), large = columnLight(720), largest = columnLight(1440);
    EXPECT_NEAR(large / small, 2.0, 0.3);
    EXPECT_NEAR(largest / large, 2.0, 0.3);
}

TEST_F(LineRibbonGl, JoinsAreUnbrokenAndNotBrighterWhicheverDepthTest) {
    // A sharp zig-zag: every join is a bend of about 140 degrees. Walking along the middle of
    // the line, from the first drawn band to the last, the core never dips (no break where
    // segments meet) nor flares (no knot where they overlap); just outside each peak, the join
    // is filled like the side of a segment is.
    std::vector<float> heights(32, 0.0f);
    for (int i = 0; i < 32; i += 2) heights[size_t(i)] = 1.0f;
    const float rise = 0.3f;
    for (GLenum depthTest : {GLenum(GL_LESS), GLenum(GL_LEQUAL)}) {
        LinePicture picture(1440);
        ASSERT_TRUE(picture.complete);
        const std::vector<std::uint8_t> rgba = picture.draw(program->name, heights, rise, depthTest);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        auto at = [&](int band) { return std::array<double, 2>{0.9 * bandX(band, 32), rise * squeezed(heights[size_t(band)])}; };
        std::vector<int> path;
        for (int band = 1; band < 27; ++band) {
            const auto a = at(band), b = at(band + 1);
            for (int k = 0; k < 40; ++k) {
                const double t = k / 40.0;
                path.push_back(picture.greenAt(rgba, a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])));
            }
        }
        std::vector<int> sorted = path;
        std::sort(sorted.begin(), sorted.end());
        const int median = sorted[sorted.size() / 2];
        EXPECT_GT(median, 200) << depthTest;
        EXPECT_GE(sorted.front(), median * 85 / 100) << "a break, depth test " << depthTest;
        EXPECT_LE(sorted.back(), median * 115 / 100 + 3) << "a knot, depth test " << depthTest;

        // Outside a peak (straight up from it) against beside the middle of a segment, both at
        // the same distance from the line's middle, well inside the ribbon's half-width.
        const double reach = 0.006;
        for (int band = 2; band < 27; band += 2) {
            const auto peak = at(band), next = at(band + 1);
            const double mx = 0.5 * (peak[0] + next[0]), my = 0.5 * (peak[1] + next[1]);
            double nx = -(next[1] - peak[1]), ny = (next[0] - peak[0]) * 16.0 / 9.0;  // across, square pixels
            const double norm = std::hypot(nx, ny);
            nx /= norm, ny /= norm;
            if (ny < 0.0) nx = -nx, ny = -ny;
            const int outside = picture.greenAt(rgba, peak[0], peak[1] + reach);
            const int beside = picture.greenAt(rgba, mx + nx * reach * 9.0 / 16.0, my + ny * reach);
            EXPECT_GT(outside, beside / 2) << "join at band " << band << ", depth test " << depthTest;
        }
    }
}
