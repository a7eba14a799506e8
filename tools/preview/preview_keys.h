// The preview's keys: GLFW's key, action and modifier codes turned into the player's key table
// (runtime/player_keys.h), which the web page shares. No window.
//
//   PlayerCommand c = commandForKey(GLFW_KEY_RIGHT, GLFW_PRESS, GLFW_MOD_SHIFT);  // SeekBy, +10 s
#pragma once

#include "runtime/player_keys.h"

namespace Quorvel::Preview {

PlayerCommand commandForKey(int glfwKey, int glfwAction, int glfwMods);

}  // namespace Quorvel::Preview
