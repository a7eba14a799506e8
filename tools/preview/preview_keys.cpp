#include "tools/preview/preview_keys.h"

#include <GLFW/glfw3.h>

namespace Quorvel::Preview {

PreviewCommand commandForKey(int key, int action, int mods) {
    if (key == GLFW_KEY_ESCAPE) return {action == GLFW_RELEASE ? PreviewAction::Quit : PreviewAction::None};
    const bool press = action == GLFW_PRESS;
    const bool pressOrRepeat = press || action == GLFW_REPEAT;
    const double jump = (mods & GLFW_MOD_SHIFT) ? 10.0 : 1.0;
    switch (key) {
        case GLFW_KEY_SPACE: return {press ? PreviewAction::TogglePause : PreviewAction::None};
        case GLFW_KEY_LEFT: return {pressOrRepeat ? PreviewAction::SeekBy : PreviewAction::None, -jump};
        case GLFW_KEY_RIGHT: return {pressOrRepeat ? PreviewAction::SeekBy : PreviewAction::None, jump};
        case GLFW_KEY_COMMA: return {pressOrRepeat ? PreviewAction::Step : PreviewAction::None, 0.0, -1};
        case GLFW_KEY_PERIOD: return {pressOrRepeat ? PreviewAction::Step : PreviewAction::None, 0.0, 1};
        case GLFW_KEY_HOME: return {press ? PreviewAction::GoToStart : PreviewAction::None};
        case GLFW_KEY_F5: return {press ? PreviewAction::Reload : PreviewAction::None};
        default: return {};
    }
}

}  // namespace Quorvel::Preview
