// The score as data: instruments (one track each), patterns of notes in beats, placements of
// patterns on tracks, and automation lanes. Positions are beats from the start of the piece
// (fractions allowed, so triplets land exactly). The text form is read by score_parser.h.
//
//   Score s = parseScore(stream).score;
//   for (const NoteEvent& e : expandEvents(s)) ...
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "synth/patch.h"

namespace Quorvel::Synth {

struct Instrument {
    std::string name;
    Patch patch;
};

struct PatternNote {
    double beat = 0.0;    // from the pattern's start
    double length = 1.0;  // beats
    std::vector<double> pitches;  // MIDI notes; a chord has several
    float velocity = 1.0f;
};

struct Pattern {
    std::string name;
    double length = 4.0;  // beats; a repeat starts after this
    std::vector<PatternNote> notes;
};

struct Placement {
    int instrument = 0;
    std::string pattern;
    double beat = 0.0;
    int repeats = 1;
    double transpose = 0.0;
    float velocity = 1.0f;
};

struct AutomationPoint {
    double beat;
    double value;
};

// A parameter moving over time: linear between points, held before the first and after the last.
// Targets: an instrument index, or -1 for the master (only "gain").
struct AutomationLane {
    int target = -1;
    std::string parameter;  // gain (dB), cutoff (Hz, moves in octaves), reso, pan, reverb, delay
    std::vector<AutomationPoint> points;
    double valueAt(double beat) const;
};

struct Score {
    double tempo = 130.0;
    double lengthBeats = 16.0;
    std::vector<Instrument> instruments;
    std::map<std::string, Pattern> patterns;
    std::vector<Placement> placements;
    std::vector<AutomationLane> lanes;

    double secondsPerBeat() const { return 60.0 / tempo; }
    int instrumentIndex(const std::string& name) const;  // -1 when absent
    // The lane for (target, parameter), or null.
    const AutomationLane* lane(int target, const std::string& parameter) const;
};

// One note to play, with its position in beats.
struct NoteEvent {
    int instrument = 0;
    double beat = 0.0;
    double length = 0.0;
    double pitch = 60.0;
    float velocity = 1.0f;
};

// Every note of every placement, sorted by beat (ties keep score order).
std::vector<NoteEvent> expandEvents(const Score& score);

// The sample at which a beat starts: round(beat × 60 / tempo × rate).
int64_t beatToSample(double beat, double tempo, int sampleRate);

}  // namespace Quorvel::Synth
