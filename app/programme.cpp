#include "app/programme.h"

namespace Quorvel {

Programme::Programme(std::int32_t viewportWidth, std::int32_t viewportHeight, const MusicTrack& music,
                     const FrameTarget& target)
    : analyser(music),
      logo(viewportWidth, viewportHeight),
      helix(viewportWidth, viewportHeight),
      tube(viewportWidth, viewportHeight),
      wave(viewportWidth, viewportHeight, &analyser),
      face(viewportWidth, viewportHeight) {
    // Drawing order, not construction order: helix, logo (start not tested), wave, tube, face.
    scenes.add(&helix, true, "helix");
    scenes.add(&logo, /*testStart=*/false, "logo");
    scenes.add(&wave, true, "landscape");
    scenes.add(&tube, true, "tube");
    scenes.add(&face, true, "face");
    for (const Timeline::Entry& entry : scenes.drawingOrder()) entry.scene->frameTarget = target;
}

void Programme::load() {
    // Loading order: logo, helix, tube, wave, face.
    logo.load();
    helix.load();
    tube.load();
    wave.load();
    face.load();
}

void Programme::resize(std::int32_t viewportWidth, std::int32_t viewportHeight, const FrameTarget& target) {
    for (const Timeline::Entry& entry : scenes.drawingOrder()) entry.scene->resize(viewportWidth, viewportHeight, target);
}

}  // namespace Quorvel
