// qvl_accent_table [--drop | --raw] [--score FILE]
// Prints how the accents on the helix beat table stand out in the drop: each accent's onset in
// the treble and in the bass against the median of the drop's plain beats, and the level of the
// plain beats next to the accents (what a limiter pushed by the accents would pull down).
// Renders the whole soundtrack as shipped; --drop renders and masters the drop alone, as the
// synth tests do, to see how far that stand-in is from the real thing; --raw leaves the drop
// unmastered, which shows what the master's compressor and limiter take off the accents.
// --score reads a score file instead of the built-in one, to try a change without a rebuild.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <set>
#include <stdexcept>

#include "synth/master.h"
#include "synth/mixer.h"
#include "synth/onset_meter.h"
#include "synth/score_parser.h"
#include "synth/soundtrack.h"

using namespace Quorvel::Synth;

namespace {

const std::vector<double> kAccents = {96, 104, 105, 112, 120, 124, 128, 136, 137, 144, 152, 156};
constexpr double kDropStart = 96.0, kDropEnd = 160.0;
const OnsetBand kTreble{2000.0, 16000.0}, kBass{40.0, 250.0}, kFull{20.0, 20000.0};

void printTable(const StereoBuffer& music, double startBeat, double tempo) {
    std::vector<double> beats;
    for (double b = kDropStart; b < kDropEnd; b += 1.0) beats.push_back(b);
    const std::vector<BeatOnset> treble = measureOnsets(music, startBeat, beats, tempo, kTreble);
    const std::vector<BeatOnset> bass = measureOnsets(music, startBeat, beats, tempo, kBass);
    const std::vector<AccentContrast> t = contrastAccents(beats, treble, kAccents);
    const std::vector<AccentContrast> l = contrastAccents(beats, bass, kAccents);
    std::printf("beat   treble onset  over plain  level over | bass onset  over plain  level over   (dB)\n");
    for (size_t i = 0; i < t.size(); ++i)
        std::printf("%4.0f   %11.1f  %10.1f  %10.1f | %10.1f  %10.1f  %10.1f\n", t[i].beat, t[i].onsetDb,
                    t[i].onsetExcessDb, t[i].levelExcessDb, l[i].onsetDb, l[i].onsetExcessDb, l[i].levelExcessDb);

    // The plain beats' level over the whole beat: those right after an accent would sink if the
    // limiter, still recovering from the accent, held them down.
    const std::set<double> accents(kAccents.begin(), kAccents.end());
    const std::vector<BeatOnset> whole = measureOnsets(music, startBeat, beats, tempo, kFull, {0.05, 0.45});
    std::vector<double> plain, after;
    for (size_t i = 0; i < beats.size(); ++i) {
        if (accents.count(beats[i])) continue;
        plain.push_back(whole[i].levelDb);
        if (accents.count(beats[i] - 1.0)) after.push_back(whole[i].levelDb);
    }
    std::vector<double> plainTreble, plainBass;
    for (size_t i = 0; i < beats.size(); ++i)
        if (!accents.count(beats[i])) plainTreble.push_back(treble[i].onsetDb), plainBass.push_back(bass[i].onsetDb);
    std::printf("plain beats: median onset treble %.1f dB, bass %.1f dB\n", medianOf(plainTreble), medianOf(plainBass));
    std::printf("plain beats: median level %.2f dB; right after an accent %.2f dB (%zu beats)\n", medianOf(plain),
                medianOf(after), after.size());
}

// A score being worked on, before it is built in; the same checks as the built-in one.
Score readScore(const char* path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    ScoreParseResult result = parseScore(in);
    if (!result.errors.empty()) throw std::runtime_error(std::string(path) + ":\n" + formatErrors(result.errors));
    return result.score;
}

}  // namespace

int main(int argc, char** argv) {
    bool raw = false, dropOnly = false;
    const char* scoreFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--raw") == 0) raw = dropOnly = true;
        else if (std::strcmp(argv[i], "--drop") == 0) dropOnly = true;
        else if (std::strcmp(argv[i], "--score") == 0 && i + 1 < argc) scoreFile = argv[++i];
        else {
            std::cerr << "usage: qvl_accent_table [--drop | --raw] [--score FILE]\n";
            return 2;
        }
    }
    try {
        const Score score = scoreFile ? readScore(scoreFile) : soundtrackScore();
        if (dropOnly) {
            StereoBuffer drop = renderMix(score, kDropStart - 4.0, kDropEnd + 2.0);
            if (!raw) masterMix(drop, MasterSettings{}, nullptr, score.tempo);
            printTable(drop, kDropStart - 4.0, score.tempo);
        } else {
            StereoBuffer music = renderMix(score, 0.0, score.lengthBeats);
            masterMix(music, MasterSettings{}, score.lane(-1, "gain"), score.tempo);
            printTable(music, 0.0, score.tempo);
        }
    } catch (const std::exception& e) {
        std::cerr << "accent table: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
