// What the scene GL tests share: one GL context per test program (Mesa keeps a little memory
// per context it has made), the program's per-frame state at a small viewport, the decoded
// soundtrack for the landscape's analyser, and a frame's brightness figures.
//
//   class MyGl : public SceneGlTest {};
//   startSceneFrame(); scene.render(t); Brightness b = brightness(gl.readPixels());
#pragma once

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/music_track.h"
#include "runtime/window.h"
#include "tests/support/gl_context.h"

constexpr int kSceneWidth = 256, kSceneHeight = 144;

// The program's fixed state, its per-frame clear and matrices, on the whole test window.
inline void startSceneFrame() {
    glViewport(0, 0, kSceneWidth, kSceneHeight);
    Quorvel::applyFixedGlState();
    Quorvel::beginGlFrame();
}

// Mean and standard deviation of the brightness (r + g + b) of RGBA bytes.
struct Brightness {
    double mean = 0.0, spread = 0.0;
};
inline Brightness brightness(const std::vector<std::uint8_t>& rgba) {
    double sum = 0.0, squares = 0.0;
    const size_t n = rgba.size() / 4;
    for (size_t i = 0; i < n; ++i) {
        const double v = rgba[4 * i] + rgba[4 * i + 1] + rgba[4 * i + 2];
        sum += v;
        squares += v * v;
    }
    const double mean = sum / double(n);
    return {mean, std::sqrt(std::max(0.0, squares / double(n) - mean * mean))};
}

// The build folder's soundtrack, decoded once per test program.
inline Quorvel::MusicTrack& decodedSoundtrack() {
    static Quorvel::MusicTrack track{Quorvel::MusicTrack::Silent{}};
    return track;
}

class SceneGlTest : public ::testing::Test {
protected:
    static GlContext& context() {
        static GlContext shared(kSceneWidth, kSceneHeight);
        return shared;
    }
    GlContext& gl = context();
};
