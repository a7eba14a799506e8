#include "synth/mixer.h"

#include <algorithm>
#include <memory>

#include "synth/compressor.h"
#include "synth/delay.h"
#include "synth/dsp.h"
#include "synth/reverb.h"
#include "synth/track.h"

namespace Quorvel::Synth {
namespace {

constexpr int kBlock = Track::kMaxBlock;
constexpr float kReverbReturn = 2.2f;
constexpr float kDelayReturn = 0.8f;
constexpr float kReturnDuck = 0.6f;  // the tails pump a little with the kick too

bool isKey(const Patch& p) { return p.kind == VoiceKind::Kick && p.duck == 0.0f; }

}  // namespace

StereoBuffer renderMix(const Score& score, double startBeat, double endBeat, int sampleRate) {
    const int64_t first = beatToSample(std::max(0.0, startBeat), score.tempo, sampleRate);
    const int64_t last = std::max(first, beatToSample(endBeat, score.tempo, sampleRate));
    StereoBuffer out;
    out.sampleRate = sampleRate;
    out.left.assign(size_t(last - first), 0.0f);
    out.right.assign(size_t(last - first), 0.0f);

    std::vector<std::unique_ptr<Track>> tracks;
    for (size_t i = 0; i < score.instruments.size(); ++i)
        tracks.push_back(std::make_unique<Track>(score, int(i), sampleRate));
    // Kicks first: their block is the side-chain key for everything after them.
    std::stable_partition(tracks.begin(), tracks.end(), [](const auto& t) { return isKey(t->patch()); });

    Reverb reverb(0.86f, 0.45f, sampleRate);
    PingPongDelay echo(0.75 * score.secondsPerBeat(), 0.42f, sampleRate);
    Compressor sideChain(-24.0f, 6.0f, 0.001, 0.16, sampleRate);

    float mixL[kBlock], mixR[kBlock], keyL[kBlock], keyR[kBlock], duckGain[kBlock];
    float revL[kBlock], revR[kBlock], dlyL[kBlock], dlyR[kBlock];
    for (int64_t blockStart = 0; blockStart < last; blockStart += kBlock) {
        const int count = int(std::min<int64_t>(kBlock, last - blockStart));
        std::fill(mixL, mixL + count, 0.0f), std::fill(mixR, mixR + count, 0.0f);
        std::fill(keyL, keyL + count, 0.0f), std::fill(keyR, keyR + count, 0.0f);
        std::fill(revL, revL + count, 0.0f), std::fill(revR, revR + count, 0.0f);
        std::fill(dlyL, dlyL + count, 0.0f), std::fill(dlyR, dlyR + count, 0.0f);
        bool keyDone = false;
        for (auto& track : tracks) {
            if (track->idle()) continue;
            track->renderBlock(blockStart, count);
            const Patch& p = track->patch();
            if (!keyDone && !isKey(p)) {
                sideChain.computeGain(keyL, keyR, duckGain, count);
                keyDone = true;
            }
            const float* l = track->left();
            const float* r = track->right();
            const float rs = track->reverbSend(), ds = track->delaySend();
            for (int i = 0; i < count; ++i) {
                const float g = isKey(p) ? 1.0f : 1.0f - p.duck * (1.0f - duckGain[i]);
                const float sl = l[i] * g, sr = r[i] * g;
                mixL[i] += sl, mixR[i] += sr;
                revL[i] += sl * rs, revR[i] += sr * rs;
                dlyL[i] += sl * ds, dlyR[i] += sr * ds;
                if (isKey(p)) keyL[i] += l[i], keyR[i] += r[i];
            }
        }
        if (!keyDone) sideChain.computeGain(keyL, keyR, duckGain, count);
        // Echoes feed the hall, so repeats sit in the same space as the notes.
        echo.process(dlyL, dlyR, count);
        for (int i = 0; i < count; ++i) revL[i] += 0.3f * dlyL[i], revR[i] += 0.3f * dlyR[i];
        reverb.process(revL, revR, count);
        for (int i = 0; i < count; ++i) {
            const float g = 1.0f - kReturnDuck * (1.0f - duckGain[i]);
            mixL[i] += g * (kReverbReturn * revL[i] + kDelayReturn * dlyL[i]);
            mixR[i] += g * (kReverbReturn * revR[i] + kDelayReturn * dlyR[i]);
        }
        for (int i = 0; i < count; ++i) {
            const int64_t at = blockStart + i - first;
            if (at < 0) continue;
            out.left[size_t(at)] = sanitize(mixL[i]);
            out.right[size_t(at)] = sanitize(mixR[i]);
        }
    }
    return out;
}

}  // namespace Quorvel::Synth
