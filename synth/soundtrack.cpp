#include "synth/soundtrack.h"

#include <sstream>
#include <stdexcept>

#include "synth/master.h"
#include "synth/mixer.h"
#include "synth/score_parser.h"

namespace Quorvel::Synth {

Score soundtrackScore() {
    std::istringstream in(soundtrackScoreText());
    ScoreParseResult result = parseScore(in);
    if (!result.errors.empty()) throw std::runtime_error("soundtrack score:\n" + formatErrors(result.errors));
    return result.score;
}

StereoBuffer renderSoundtrack() {
    const Score score = soundtrackScore();
    StereoBuffer music = renderMix(score, 0.0, score.lengthBeats);
    masterMix(music, MasterSettings{}, score.lane(-1, "gain"), score.tempo);
    return music;
}

}  // namespace Quorvel::Synth
