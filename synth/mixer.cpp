#include "synth/mixer.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "synth/compressor.h"
#include "synth/delay.h"
#include "synth/dsp.h"
#include "synth/reverb.h"
#include "synth/track.h"

namespace Quorvel::Synth {
namespace {

constexpr int kBlock = Track::kMaxBlock;
constexpr int kChunkBlocks = 128;  // ~0.74 s: tracks render a chunk in parallel, then it is mixed
constexpr float kReverbReturn = 2.2f;
constexpr float kDelayReturn = 0.8f;
constexpr float kReturnDuck = 0.6f;  // the tails pump a little with the kick too

bool isKey(const Patch& p) { return p.kind == VoiceKind::Kick && p.duck == 0.0f; }

// One track's share of a chunk: its samples and its send levels per block.
struct TrackChunk {
    std::vector<float> left, right, reverb, delay;
    bool silent = true;
};

void renderTrackChunk(Track& track, TrackChunk& out, int64_t chunkStart, int64_t end) {
    out.silent = track.idle();
    if (out.silent) return;
    for (int b = 0; b < kChunkBlocks; ++b) {
        const int64_t blockStart = chunkStart + int64_t(b) * kBlock;
        if (blockStart >= end) break;
        const int count = int(std::min<int64_t>(kBlock, end - blockStart));
        track.renderBlock(blockStart, count);
        std::copy(track.left(), track.left() + count, out.left.begin() + b * kBlock);
        std::copy(track.right(), track.right() + count, out.right.begin() + b * kBlock);
        out.reverb[size_t(b)] = track.reverbSend();
        out.delay[size_t(b)] = track.delaySend();
    }
}

// Renders every track's part of the chunk; each track is touched by exactly one thread, so the
// samples are the same whichever thread takes it.
void renderChunk(std::vector<std::unique_ptr<Track>>& tracks, std::vector<TrackChunk>& outs, int64_t chunkStart,
                 int64_t end) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i; (i = next.fetch_add(1)) < tracks.size();) renderTrackChunk(*tracks[i], outs[i], chunkStart, end);
    };
    std::thread helper(worker);
    worker();
    helper.join();
}

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
    // Kicks first: their sum is the side-chain key for everything after them.
    std::stable_partition(tracks.begin(), tracks.end(), [](const auto& t) { return isKey(t->patch()); });
    std::vector<TrackChunk> chunks(tracks.size());
    for (TrackChunk& c : chunks) {
        c.left.resize(size_t(kChunkBlocks) * kBlock);
        c.right.resize(c.left.size());
        c.reverb.resize(kChunkBlocks);
        c.delay.resize(kChunkBlocks);
    }

    Reverb reverb(0.86f, 0.45f, sampleRate);
    PingPongDelay echo(0.75 * score.secondsPerBeat(), 0.42f, sampleRate);
    Compressor sideChain(-24.0f, 6.0f, 0.001, 0.16, sampleRate);

    float mixL[kBlock], mixR[kBlock], keyL[kBlock], keyR[kBlock], duckGain[kBlock];
    float revL[kBlock], revR[kBlock], dlyL[kBlock], dlyR[kBlock];
    for (int64_t chunkStart = 0; chunkStart < last; chunkStart += int64_t(kChunkBlocks) * kBlock) {
        renderChunk(tracks, chunks, chunkStart, last);
        for (int b = 0; b < kChunkBlocks; ++b) {
            const int64_t blockStart = chunkStart + int64_t(b) * kBlock;
            if (blockStart >= last) break;
            const int count = int(std::min<int64_t>(kBlock, last - blockStart));
            const size_t at = size_t(b) * kBlock;
            std::fill(mixL, mixL + count, 0.0f), std::fill(mixR, mixR + count, 0.0f);
            std::fill(keyL, keyL + count, 0.0f), std::fill(keyR, keyR + count, 0.0f);
            std::fill(revL, revL + count, 0.0f), std::fill(revR, revR + count, 0.0f);
            std::fill(dlyL, dlyL + count, 0.0f), std::fill(dlyR, dlyR + count, 0.0f);
            bool keyDone = false;
            for (size_t t = 0; t < tracks.size(); ++t) {
                const Patch& p = tracks[t]->patch();
                if (!keyDone && !isKey(p)) {
                    sideChain.computeGain(keyL, keyR, duckGain, count);
                    keyDone = true;
                }
                const TrackChunk& c = chunks[t];
                if (c.silent) continue;
                const float* l = c.left.data() + at;
                const float* r = c.right.data() + at;
                const float rs = c.reverb[size_t(b)], ds = c.delay[size_t(b)];
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
                const int64_t to = blockStart + i - first;
                if (to < 0) continue;
                out.left[size_t(to)] = sanitize(mixL[i]);
                out.right[size_t(to)] = sanitize(mixR[i]);
            }
        }
    }
    return out;
}

}  // namespace Quorvel::Synth
