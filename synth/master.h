// Mastering of a whole rendered mix: DC removal, a gentle high shelf, glue compression, gain to a
// loudness target, a look-ahead limiter under a ceiling, then the master gain automation (the
// fade) and a last guard against non-finite samples. Offline only: it needs the whole track.
//
//   MasterSettings m; m.targetLufs = -13.5;
//   masterMix(buffer, m, score.lane(-1, "gain"), score.tempo);
#pragma once

#include "synth/score.h"
#include "synth/stereo_buffer.h"

namespace Quorvel::Synth {

struct MasterSettings {
    double targetLufs = -13.5;   // integrated loudness aimed for after limiting
    float ceilingDb = -2.2f;     // sample peak ceiling; leaves room for codec overshoot
    double airCornerHz = 9000.0; // high shelf: the synthesized noise and saws are bright enough
    float airGainDb = -3.0f;     // level at the top of the band after the shelf (0 = off)
    bool normalize = true;       // off: only DC, glue, limiter and fade
};

// Masters in place; `fade` (may be null) is a gain lane in dB over beats at `tempo`.
void masterMix(StereoBuffer& buffer, const MasterSettings& settings, const AutomationLane* fade, double tempo);

}  // namespace Quorvel::Synth
