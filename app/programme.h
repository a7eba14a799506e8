// The five scenes of the programme and the spectrum analyser the landscape draws with, built and loaded the same way by the program and by the
// frame capture tool. Scenes are held by value: constructed in the order logo, helix, tube, wave,
// face (so destroyed in reverse), loaded in that order, and drawn by the timeline in the order
// helix, logo, wave, tube, face.
//
//   Programme programme(vw, vh, music);   // no GL, no files
//   programme.load();                     // GL context current
//   programme.timeline().dispatch(time);
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
    Programme(std::int32_t viewportWidth, std::int32_t viewportHeight, const MusicTrack& music);
    Programme(const Programme&) = delete;
    Programme& operator=(const Programme&) = delete;

    // Loads every scene once; scenes raise error texts on fatal problems.
    void load();
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
