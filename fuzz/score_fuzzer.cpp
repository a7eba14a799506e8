// libFuzzer entry point for the score parser: any text must parse without crashing; every
// error names a line of the input, and what was read is a score the synthesizer can take
// (a finite, positive tempo, placements of instruments that exist, notes at finite beats).
//
//   build-fuzz/qvl_fuzz_score /tmp/fuzz-score fuzz/corpus/score   (see fuzz/README.md)
#include "synth/score_parser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {
void require(bool condition) {
    if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    const Quorvel::Synth::ScoreParseResult result = Quorvel::Synth::parseScore(text);
    const long lines = 1 + static_cast<long>(std::count(data, data + size, '\n'));
    for (const Quorvel::Synth::ScoreError& e : result.errors) require(e.line >= 1 && e.line <= lines);
    (void)Quorvel::Synth::formatErrors(result.errors);
    const Quorvel::Synth::Score& score = result.score;
    require(std::isfinite(score.tempo) && score.tempo > 0.0);
    require(std::isfinite(score.lengthBeats) && score.lengthBeats >= 0.0);
    for (const Quorvel::Synth::Placement& p : score.placements) {
        require(p.instrument >= 0 && p.instrument < int(score.instruments.size()));
        require(std::isfinite(p.beat) && p.repeats >= 0);
    }
    for (const auto& [name, pattern] : score.patterns)
        for (const Quorvel::Synth::PatternNote& n : pattern.notes) require(std::isfinite(n.beat) && std::isfinite(n.length));
    return 0;
}
