// The preview's keys: GLFW's key, action and modifier codes turned into the player's key table
// (runtime/player_keys.h), which the web page shares, and the preview's own key beyond it (G,
// the timing overlay). No window.
//
//   PlayerCommand c = commandForKey(GLFW_KEY_RIGHT, GLFW_PRESS, GLFW_MOD_SHIFT);  // SeekBy, +10 s
//   if (togglesTimingOverlay(GLFW_KEY_G, GLFW_PRESS)) shown = !shown;
#pragma once

#include "runtime/player_keys.h"

namespace Quorvel::Preview {

PlayerCommand commandForKey(int glfwKey, int glfwAction, int glfwMods);

// G shows or hides the timing overlay, on press only: a held key does not flicker it.
bool togglesTimingOverlay(int glfwKey, int glfwAction);

}  // namespace Quorvel::Preview
