// The five scenes of the programme and the spectrum analyser the landscape draws with, built and loaded the same way by the program and by the
// frame capture tool. Scenes are held by value: constructed in the order logo, helix, tube, wave,
// face (so destroyed in reverse), loaded in that order, and drawn by the timeline in the order
// helix, logo, wave, tube, face.
//
//   Programme programme(vw, vh, music, target);   // no GL, no files
//   programme.load();                             // GL context current
//   programme.timeline().dispatch(time);
//   programme.resize(vw, vh, target);             // between frames: a new viewport size
#pragma once

#include <cstdint>

#include "runtime/music_track.h"
#include "runtime/spectrum_analyser.h"
#include "runtime/timeline.h"
#include "scenes/face_scene.h"
#include "scenes/helix_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/tube_scene.h"
#include "scenes/wave_scene.h"

namespace Quorvel {

class Programme {
public:
    // Every scene draws its frame into `target` (the window unless the start-up multisamples).
    Programme(std::int32_t viewportWidth, std::int32_t viewportHeight, const MusicTrack& music,
              const FrameTarget& target = {});
    Programme(const Programme&) = delete;
    Programme& operator=(const Programme&) = delete;

    // Loads every scene once; scenes raise error texts on fatal problems.
    void load();
    // Hands every scene the new viewport size and frame target; the scenes rebuild what has the
    // viewport's size and nothing else.
    void resize(std::int32_t viewportWidth, std::int32_t viewportHeight, const FrameTarget& target);
    const Timeline& timeline() const { return scenes; }

private:
    // The analyser outlives the scenes: built before them, destroyed after them.
    SpectrumAnalyser analyser;
    // Scenes in construction order (logo, helix, tube, wave, face).
    Ostrel::LogoScene logo;
    Ostrel::HelixScene helix;
    Ostrel::TubeScene tube;
    Ostrel::WaveScene wave;
    Ostrel::FaceScene face;
    Timeline scenes;
};

}  // namespace Quorvel
