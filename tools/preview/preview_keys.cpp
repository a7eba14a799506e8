#include "tools/preview/preview_keys.h"

#include <GLFW/glfw3.h>

namespace Quorvel::Preview {

namespace {

PlayerKey playerKey(int key) {
    switch (key) {
        case GLFW_KEY_SPACE: return PlayerKey::Space;
        case GLFW_KEY_LEFT: return PlayerKey::Left;
        case GLFW_KEY_RIGHT: return PlayerKey::Right;
        case GLFW_KEY_COMMA: return PlayerKey::Comma;
        case GLFW_KEY_PERIOD: return PlayerKey::Period;
        case GLFW_KEY_HOME: return PlayerKey::Home;
        case GLFW_KEY_F: return PlayerKey::F;
        case GLFW_KEY_M: return PlayerKey::M;
        case GLFW_KEY_F5: return PlayerKey::F5;
        case GLFW_KEY_ESCAPE: return PlayerKey::Escape;
        default: return PlayerKey::Other;
    }
}

}  // namespace

PlayerCommand commandForKey(int glfwKey, int glfwAction, int glfwMods) {
    const KeyAction action = glfwAction == GLFW_PRESS    ? KeyAction::Press
                             : glfwAction == GLFW_REPEAT ? KeyAction::Repeat
                                                         : KeyAction::Release;
    return Quorvel::commandForKey(playerKey(glfwKey), action, (glfwMods & GLFW_MOD_SHIFT) != 0);
}

bool togglesTimingOverlay(int glfwKey, int glfwAction) { return glfwKey == GLFW_KEY_G && glfwAction == GLFW_PRESS; }

}  // namespace Quorvel::Preview
