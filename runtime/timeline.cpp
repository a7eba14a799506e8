#include "runtime/timeline.h"

#include <algorithm>

namespace Quorvel {

bool sceneDrawsAt(const Scene& scene, double time, bool testStart) {
    return (!testStart || scene.startTime <= time) && time < scene.endTime;
}

void Timeline::add(Scene* scene, bool testStart, const char* label) { entries.push_back({scene, testStart, label}); }

std::string Timeline::labelsAt(double time) const {
    std::string labels;
    for (const Entry& e : entries) {
        if (!sceneDrawsAt(*e.scene, time, e.testStart)) continue;
        if (!labels.empty()) labels += '+';
        labels += e.label;
    }
    return labels.empty() ? "none" : labels;
}

std::vector<double> Timeline::cutTimes() const {
    std::vector<double> candidates = {0.0};
    for (const Entry& e : entries) {
        if (e.testStart) candidates.push_back(e.scene->startTime);
        candidates.push_back(e.scene->endTime);
    }
    std::sort(candidates.begin(), candidates.end());
    auto drawnAt = [this](double t) {
        std::vector<bool> drawn;
        for (const Entry& e : entries) drawn.push_back(sceneDrawsAt(*e.scene, t, e.testStart));
        return drawn;
    };
    std::vector<double> cuts;
    std::vector<bool> previous;
    for (double t : candidates) {
        if (t < 0.0 || t > double(kProgrammeEnd) || (!cuts.empty() && t == cuts.back())) continue;
        std::vector<bool> now = drawnAt(t);
        if (cuts.empty() || now != previous) cuts.push_back(t);
        previous = std::move(now);
    }
    return cuts;
}

std::vector<double> Timeline::coveringCuts() const {
    const std::vector<double> cuts = cutTimes();
    std::vector<bool> covered(entries.size(), false);
    std::vector<double> chosen;
    for (;;) {
        std::size_t bestGain = 0;
        double best = 0.0;
        for (double t : cuts) {
            std::size_t gain = 0;
            for (std::size_t i = 0; i < entries.size(); ++i)
                gain += !covered[i] && sceneDrawsAt(*entries[i].scene, t, entries[i].testStart);
            if (gain > bestGain) {
                bestGain = gain;
                best = t;
            }
        }
        if (bestGain == 0) break;
        chosen.push_back(best);
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (sceneDrawsAt(*entries[i].scene, best, entries[i].testStart)) covered[i] = true;
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

void Timeline::dispatch(double time, const SceneBrackets& brackets) const {
    for (const Entry& e : entries) {
        if (!sceneDrawsAt(*e.scene, time, e.testStart)) continue;
        if (brackets.begins) brackets.begins(e.label);
        e.scene->render(time);
        if (brackets.ends) brackets.ends(e.label);
    }
}

}  // namespace Quorvel
