#include "runtime/programme.h"

namespace Quorvel {

Programme::Programme(std::int32_t viewportWidth, std::int32_t viewportHeight, const MusicTrack& music)
    : logo(viewportWidth, viewportHeight), helix(viewportWidth, viewportHeight) {
    (void)music;
    // Drawing order, not construction order: helix, logo (start not tested), wave, tube, face.
    scenes.add(&helix);
    scenes.add(&logo, /*testStart=*/false);
}

void Programme::load() {
    // Loading order: logo, helix, tube, wave, face.
    logo.load();
    helix.load();
}

}  // namespace Quorvel
