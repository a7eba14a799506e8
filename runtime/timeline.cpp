#include "runtime/timeline.h"

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

void Timeline::drawEachOnce() const {
    for (const Entry& e : entries) e.scene->render(e.testStart ? e.scene->startTime : 0.0);
}

void Timeline::dispatch(double time) const {
    for (const Entry& e : entries)
        if (sceneDrawsAt(*e.scene, time, e.testStart)) e.scene->render(time);
}

}  // namespace Quorvel
