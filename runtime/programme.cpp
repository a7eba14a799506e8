#include "runtime/programme.h"

namespace Quorvel {

Programme::Programme(std::int32_t viewportWidth, std::int32_t viewportHeight, const MusicTrack& music) {
    (void)viewportWidth;
    (void)viewportHeight;
    (void)music;
    // Drawing order, not construction order: helix, logo (start not tested), wave, tube, face.
}

void Programme::load() {
    // Loading order: logo, helix, tube, wave, face.
}

}  // namespace Quorvel
