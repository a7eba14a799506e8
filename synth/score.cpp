#include "synth/score.h"

#include <algorithm>
#include <cmath>

namespace Quorvel::Synth {

double AutomationLane::valueAt(double beat) const {
    if (points.empty()) return 0.0;
    if (beat <= points.front().beat) return points.front().value;
    if (beat >= points.back().beat) return points.back().value;
    auto next = std::upper_bound(points.begin(), points.end(), beat,
                                 [](double b, const AutomationPoint& p) { return b < p.beat; });
    auto prev = next - 1;
    const double span = next->beat - prev->beat;
    const double t = span > 0.0 ? (beat - prev->beat) / span : 1.0;
    // Cutoff moves evenly in pitch (octaves), everything else in its own unit.
    if (parameter == "cutoff" && prev->value > 0.0 && next->value > 0.0)
        return prev->value * std::pow(next->value / prev->value, t);
    return prev->value + (next->value - prev->value) * t;
}

int Score::instrumentIndex(const std::string& name) const {
    for (size_t i = 0; i < instruments.size(); ++i)
        if (instruments[i].name == name) return int(i);
    return -1;
}

const AutomationLane* Score::lane(int target, const std::string& parameter) const {
    for (const AutomationLane& l : lanes)
        if (l.target == target && l.parameter == parameter) return &l;
    return nullptr;
}

std::vector<NoteEvent> expandEvents(const Score& score) {
    std::vector<NoteEvent> events;
    for (const Placement& p : score.placements) {
        auto it = score.patterns.find(p.pattern);
        if (it == score.patterns.end()) continue;
        const Pattern& pattern = it->second;
        for (int r = 0; r < p.repeats; ++r) {
            const double base = p.beat + r * pattern.length;
            for (const PatternNote& n : pattern.notes) {
                for (double pitch : n.pitches) {
                    events.push_back({p.instrument, base + n.beat, n.length, pitch + p.transpose,
                                      n.velocity * p.velocity});
                }
            }
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.beat < b.beat; });
    return events;
}

int64_t beatToSample(double beat, double tempo, int sampleRate) {
    return int64_t(std::llround(beat * 60.0 / tempo * sampleRate));
}

}  // namespace Quorvel::Synth
