// One instrument of the score as it plays: its voice pool, its notes in samples, its automation
// and its chorus insert. Renders block by block with sample-accurate note starts; the mixer
// decides where the block goes (buses, sends, side-chain).
//
//   Track t(score, 2, 44100);
//   t.renderBlock(blockStart, 256);   // then read t.left(), t.right(), t.reverbSend() ...
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "synth/chorus.h"
#include "synth/score.h"
#include "synth/voice.h"

namespace Quorvel::Synth {

class Track {
public:
    static constexpr int kMaxBlock = 256;

    // Takes this instrument's notes from the score; events must outlive nothing (copied).
    Track(const Score& score, int instrument, int sampleRate);
    // Renders [blockStart, blockStart + count) into the track's own block, after gain and pan.
    void renderBlock(int64_t blockStart, int count);
    const float* left() const { return left_; }
    const float* right() const { return right_; }
    float reverbSend() const { return reverbSend_; }
    float delaySend() const { return delaySend_; }
    const Patch& patch() const { return patch_; }
    // True once no note is left to start and every voice has finished.
    bool idle() const;

private:
    struct Scheduled {
        int64_t start;
        int64_t gate;
        double pitch;
        float velocity;
    };
    void renderVoices(int from, int to, const VoiceControl& control);
    void trigger(const Scheduled& note);
    double laneValue(const AutomationLane* lane, double beat, double fallback) const;

    Patch patch_;
    double tempo_;
    int rate_;
    std::vector<Scheduled> notes_;
    size_t next_ = 0;
    std::vector<std::unique_ptr<Voice>> voices_;
    Chorus chorus_;
    const AutomationLane *gainLane_, *cutoffLane_, *resoLane_, *panLane_, *reverbLane_, *delayLane_;
    float left_[kMaxBlock], right_[kMaxBlock];
    float reverbSend_ = 0.0f, delaySend_ = 0.0f;
};

}  // namespace Quorvel::Synth
