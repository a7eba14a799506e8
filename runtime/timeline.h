// The programme's timeline: which scenes draw at a given demo time, and in which order.
// Scenes are added in drawing order (helix, logo, wave, tube, face), so a later scene draws over
// an earlier one in the same frame. Windows are half open: [startTime, endTime).
// The timeline does not own its scenes.
//
//   Timeline timeline;  timeline.add(&helix);  timeline.add(&logo, /*testStart=*/false);
//   timeline.dispatch(time);
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/scene.h"

namespace Quorvel {

// The demo ends with the first frame whose time is strictly above this.
constexpr float kProgrammeEnd = 172.0f;

// True once the frame at `time` is the programme's last.
inline bool programmeOver(float time) { return time > kProgrammeEnd; }

// Whether `scene` draws at `time`; the logo's start is never tested, so it draws for any time
// below its end.
bool sceneDrawsAt(const Scene& scene, double time, bool testStart);

// Called around each scene a dispatch draws, with its label (timers, the frame's own book-keeping).
struct SceneBrackets {
    std::function<void(const char* label)> begins;
    std::function<void(const char* label)> ends;
};

class Timeline {
public:
    // `label` names the scene in tool reports ("tube"); it must outlive the timeline.
    void add(Scene* scene, bool testStart = true, const char* label = "");
    // Renders every scene whose window contains `time`, in the order they were added.
    void dispatch(double time, const SceneBrackets& brackets = {}) const;
    // The times from 0 up to the programme's end at which the set of scenes drawn changes, in
    // order: the first frame of each scene set. Loading draws these frames once, out of sight.
    std::vector<double> cutTimes() const;
    // The fewest of those cuts (chosen greedily, in time order) at which every scene that draws
    // at a cut draws at least once: the frames that use each scene again after a resize.
    std::vector<double> coveringCuts() const;
    bool empty() const { return entries.empty(); }

    struct Entry {
        Scene* scene;
        bool testStart;  // false: the scene draws for any time below its end
        const char* label;
    };
    // The labels of the scenes that draw at `time`, in drawing order, joined by '+'; "none".
    std::string labelsAt(double time) const;
    // The scenes in drawing order, for checks of the programme as shipped.
    const std::vector<Entry>& drawingOrder() const { return entries; }

private:
    std::vector<Entry> entries;
};

}  // namespace Quorvel
