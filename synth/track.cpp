#include "synth/track.h"

#include <algorithm>
#include <cmath>

#include "synth/dsp.h"

namespace Quorvel::Synth {

Track::Track(const Score& score, int instrument, int sampleRate)
    : patch_(score.instruments.at(size_t(instrument)).patch),
      tempo_(score.tempo),
      rate_(sampleRate),
      chorus_(sampleRate),
      gainLane_(score.lane(instrument, "gain")),
      cutoffLane_(score.lane(instrument, "cutoff")),
      resoLane_(score.lane(instrument, "reso")),
      panLane_(score.lane(instrument, "pan")),
      reverbLane_(score.lane(instrument, "reverb")),
      delayLane_(score.lane(instrument, "delay")) {
    for (const NoteEvent& e : expandEvents(score)) {
        if (e.instrument != instrument) continue;
        const int64_t start = beatToSample(e.beat, tempo_, rate_);
        const int64_t end = beatToSample(e.beat + e.length, tempo_, rate_);
        notes_.push_back({start, std::max<int64_t>(1, end - start), e.pitch, e.velocity});
    }
    // Already in beat order; the rounding to samples keeps that order.
    for (int i = 0; i < patch_.polyphony; ++i)
        voices_.push_back(makeVoice(patch_, rate_, uint32_t(instrument * 97 + i + 1)));
}

double Track::laneValue(const AutomationLane* lane, double beat, double fallback) const {
    return lane ? lane->valueAt(beat) : fallback;
}

void Track::trigger(const Scheduled& note) {
    Voice* chosen = nullptr;
    for (auto& v : voices_) {
        if (!v->active()) {
            chosen = v.get();
            break;
        }
    }
    if (!chosen) {
        // Steal the quietest voice; released voices count half, so they go first.
        chosen = voices_.front().get();
        for (auto& v : voices_)
            if (v->level() < chosen->level()) chosen = v.get();
    }
    chosen->start(note.pitch, note.velocity, note.gate);
}

void Track::renderVoices(int from, int to, const VoiceControl& control) {
    if (to <= from) return;
    for (auto& v : voices_)
        if (v->active()) v->render(left_ + from, right_ + from, to - from, control);
}

void Track::renderBlock(int64_t blockStart, int count) {
    std::fill(left_, left_ + count, 0.0f);
    std::fill(right_, right_ + count, 0.0f);
    const double beat = double(blockStart) / rate_ * tempo_ / 60.0;
    VoiceControl control;
    control.cutoff = float(laneValue(cutoffLane_, beat, patch_.cutoff));
    control.resonance = float(laneValue(resoLane_, beat, patch_.resonance));
    int position = 0;
    while (next_ < notes_.size() && notes_[next_].start < blockStart + count) {
        const int offset = int(std::max<int64_t>(0, notes_[next_].start - blockStart));
        renderVoices(position, offset, control);
        position = std::max(position, offset);
        trigger(notes_[next_++]);
    }
    renderVoices(position, count, control);
    chorus_.process(left_, right_, count, patch_.chorus);

    const float gain = dbToGain(float(laneValue(gainLane_, beat, patch_.gain)));
    const float pan = clampf(float(laneValue(panLane_, beat, patch_.pan)), -1.0f, 1.0f);
    // Equal-power balance, unity in the centre.
    const float angle = float((pan + 1.0) * kPi / 4.0);
    const float gl = gain * std::cos(angle) * 1.41421356f, gr = gain * std::sin(angle) * 1.41421356f;
    for (int i = 0; i < count; ++i) {
        left_[i] = sanitize(left_[i]) * gl;
        right_[i] = sanitize(right_[i]) * gr;
    }
    reverbSend_ = float(laneValue(reverbLane_, beat, patch_.reverb));
    delaySend_ = float(laneValue(delayLane_, beat, patch_.delay));
}

bool Track::idle() const {
    if (next_ < notes_.size()) return false;
    for (const auto& v : voices_)
        if (v->active()) return false;
    return true;
}

}  // namespace Quorvel::Synth
