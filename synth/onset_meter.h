// How strongly a beat starts in one frequency band: the band's energy in a short window right
// after the beat against the window just before it. Comparing an accent's onset with the median
// of the plain beats around it tells whether the accent is heard as one, in the top end (the
// snap of a stab or a cymbal) and in the low end (the weight of a hit) separately.
//
//   OnsetBand treble{2000.0, 16000.0};
//   std::vector<BeatOnset> o = measureOnsets(mix, 96.0, beats, 130.0, treble);
//   std::vector<AccentContrast> c = contrastAccents(allBeats, onsetsOfAllBeats, accentBeats);
#pragma once

#include <vector>

#include "synth/stereo_buffer.h"

namespace Quorvel::Synth {

struct OnsetBand {
    double lowHz, highHz;
};

struct OnsetWindows {
    double before = 0.05;  // seconds of the "just before" window, ending on the beat
    double after = 0.05;   // seconds of the "right after" window, starting on the beat
};

struct BeatOnset {
    double levelDb = -200.0;  // band energy right after the beat (mean square, dB)
    double onsetDb = 0.0;     // after over before, dB: how much the band jumps on the beat
};

// Onsets of `beats` (in beats of `tempo`) in `audio`, whose first sample is at `audioStartBeat`.
// The band is a fourth-order high pass and low pass pair run over the whole buffer, both
// channels, so window edges see settled filters. Beats whose windows leave the buffer get the
// default (silent, no onset).
std::vector<BeatOnset> measureOnsets(const StereoBuffer& audio, double audioStartBeat, const std::vector<double>& beats,
                                     double tempo, OnsetBand band, OnsetWindows windows = {});

struct AccentContrast {
    double beat = 0.0;
    double onsetDb = 0.0;      // the accent's own onset
    double onsetExcessDb = 0.0;  // its onset over the median onset of the plain beats
    double levelExcessDb = 0.0;  // its level over the median level of the plain beats
};

// For every beat of `accents` found in `beats`: how it compares with the median of the other
// (plain) beats. `onsets` is parallel to `beats`. Empty if there are no plain beats.
std::vector<AccentContrast> contrastAccents(const std::vector<double>& beats, const std::vector<BeatOnset>& onsets,
                                            const std::vector<double>& accents);

// Median of the values (the mean of the middle pair for an even count); 0 for none.
double medianOf(std::vector<double> values);

}  // namespace Quorvel::Synth
