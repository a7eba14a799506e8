#include "runtime/settings.h"

namespace Quorvel {

void writeDefaultSettings(Settings& settings, bool fullscreen) {
    settings.getInt("window_width") = 1024;
    settings.getInt("window_height") = 768;
    settings.getBool("fullscreen") = fullscreen;
}

}  // namespace Quorvel
