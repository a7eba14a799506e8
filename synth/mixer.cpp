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

// The buses one block is mixed through: the tracks' sum, the side-chain key and its gain, and
// the echo and reverb sends with their returns.
class BlockMixer {
public:
    BlockMixer(const Score& score, int sampleRate)
        : reverb(0.86f, 0.45f, sampleRate),
          echo(0.75 * score.secondsPerBeat(), 0.42f, sampleRate),
          sideChain(-24.0f, 6.0f, 0.001, 0.16, sampleRate) {}

    // Mixes block `b` of the chunk: the key tracks (first in `tracks`) key the side-chain that
    // ducks every later track, then the sends come back through their buses.
    void mix(const std::vector<std::unique_ptr<Track>>& tracks, const std::vector<TrackChunk>& chunks, int b,
             int count) {
        clear(count);
        sumTracks(tracks, chunks, b, count);
        addReturns(count);
    }
    const float* left() const { return mixL; }
    const float* right() const { return mixR; }

private:
    void clear(int count) {
        std::fill(mixL, mixL + count, 0.0f), std::fill(mixR, mixR + count, 0.0f);
        std::fill(keyL, keyL + count, 0.0f), std::fill(keyR, keyR + count, 0.0f);
        std::fill(revL, revL + count, 0.0f), std::fill(revR, revR + count, 0.0f);
        std::fill(dlyL, dlyL + count, 0.0f), std::fill(dlyR, dlyR + count, 0.0f);
    }

    void sumTracks(const std::vector<std::unique_ptr<Track>>& tracks, const std::vector<TrackChunk>& chunks, int b,
                   int count) {
        const size_t at = size_t(b) * kBlock;
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
    }

    void addReturns(int count) {
        // Echoes feed the hall, so repeats sit in the same space as the notes.
        echo.process(dlyL, dlyR, count);
        for (int i = 0; i < count; ++i) revL[i] += 0.3f * dlyL[i], revR[i] += 0.3f * dlyR[i];
        reverb.process(revL, revR, count);
        for (int i = 0; i < count; ++i) {
            const float g = 1.0f - kReturnDuck * (1.0f - duckGain[i]);
            mixL[i] += g * (kReverbReturn * revL[i] + kDelayReturn * dlyL[i]);
            mixR[i] += g * (kReverbReturn * revR[i] + kDelayReturn * dlyR[i]);
        }
    }

    Reverb reverb;
    PingPongDelay echo;
    Compressor sideChain;
    float mixL[kBlock], mixR[kBlock], keyL[kBlock], keyR[kBlock], duckGain[kBlock];
    float revL[kBlock], revR[kBlock], dlyL[kBlock], dlyR[kBlock];
};

// One track per instrument, the key tracks (kicks) first: their sum keys the side-chain.
std::vector<std::unique_ptr<Track>> makeTracks(const Score& score, int sampleRate) {
    std::vector<std::unique_ptr<Track>> tracks;
    for (size_t i = 0; i < score.instruments.size(); ++i)
        tracks.push_back(std::make_unique<Track>(score, int(i), sampleRate));
    std::stable_partition(tracks.begin(), tracks.end(), [](const auto& t) { return isKey(t->patch()); });
    return tracks;
}

std::vector<TrackChunk> makeChunks(size_t count) {
    std::vector<TrackChunk> chunks(count);
    for (TrackChunk& c : chunks) {
        c.left.resize(size_t(kChunkBlocks) * kBlock);
        c.right.resize(c.left.size());
        c.reverb.resize(kChunkBlocks);
        c.delay.resize(kChunkBlocks);
    }
    return chunks;
}

// The mixed block into the output, which starts at sample `first`; earlier samples are dropped.
void copyBlockOut(const BlockMixer& mixer, int64_t blockStart, int count, int64_t first, StereoBuffer& out) {
    for (int i = 0; i < count; ++i) {
        const int64_t to = blockStart + i - first;
        if (to < 0) continue;
        out.left[size_t(to)] = sanitize(mixer.left()[i]);
        out.right[size_t(to)] = sanitize(mixer.right()[i]);
    }
}

}  // namespace

StereoBuffer renderMix(const Score& score, double startBeat, double endBeat, int sampleRate) {
    const int64_t first = beatToSample(std::max(0.0, startBeat), score.tempo, sampleRate);
    const int64_t last = std::max(first, beatToSample(endBeat, score.tempo, sampleRate));
    StereoBuffer out;
    out.sampleRate = sampleRate;
    out.left.assign(size_t(last - first), 0.0f);
    out.right.assign(size_t(last - first), 0.0f);

    std::vector<std::unique_ptr<Track>> tracks = makeTracks(score, sampleRate);
    std::vector<TrackChunk> chunks = makeChunks(tracks.size());
    auto mixer = std::make_unique<BlockMixer>(score, sampleRate);
    for (int64_t chunkStart = 0; chunkStart < last; chunkStart += int64_t(kChunkBlocks) * kBlock) {
        renderChunk(tracks, chunks, chunkStart, last);
        for (int b = 0; b < kChunkBlocks; ++b) {
            const int64_t blockStart = chunkStart + int64_t(b) * kBlock;
            if (blockStart >= last) break;
            const int count = int(std::min<int64_t>(kBlock, last - blockStart));
            mixer->mix(tracks, chunks, b, count);
            copyBlockOut(*mixer, blockStart, count, first, out);
        }
    }
    return out;
}

}  // namespace Quorvel::Synth
