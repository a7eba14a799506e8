// Reads the text score. One statement per line, '#' starts a comment:
//
//   tempo 130
//   length 372.75                                 # beats
//   instrument pad poly wave=saw unison=5 detune=0.15 attack=1.2 reverb=0.5
//   define Am A3+C4+E4                            # a chord name usable wherever notes go
//   pattern chords 16                             # name, length in beats; lines below until 'end'
//     0  Am  4  0.8                               # beat, notes, length in beats, velocity
//     steps 1/4 x...x...X...x-..  A2 at=4         # one character per step: X x o hit, - hold, . rest
//     arp 4 4 1/4 F3+A3+C4 updown 0.5 0.7         # start, length, rate, notes, order, gate, velocity
//   end
//   play pad 96 chords x4 transpose=-12 vel=0.9   # track, beat, pattern, repeats, options
//   auto pad cutoff 0 400 28 2500                 # target, parameter, then beat/value pairs
//
// Beats are numbers, fractions or sums of both: 2.5, 1/3, 160+1/3.
// Bad lines are reported with their line number and skipped; parsing goes on.
//
//   ScoreParseResult r = parseScore(stream);
//   if (!r.errors.empty()) std::cerr << formatErrors(r.errors);
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "synth/score.h"

namespace Quorvel::Synth {

struct ScoreError {
    int line;
    std::string message;
};

struct ScoreParseResult {
    Score score;
    std::vector<ScoreError> errors;
};

ScoreParseResult parseScore(std::istream& in);

// "line N: message" lines.
std::string formatErrors(const std::vector<ScoreError>& errors);

// Exposed for tests: "160+1/3" → 160.333…; false for anything else than number[+fraction].
bool parseBeat(const std::string& text, double& beat);
// "A4" → 69, "C#3" → 49, "Bb2" → 46; false when not a note name.
bool parseNoteName(const std::string& text, double& note);

}  // namespace Quorvel::Synth
