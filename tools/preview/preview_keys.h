// What a key does in the preview, from GLFW's key, action and modifier codes, with no window.
//
//   PreviewCommand c = commandForKey(GLFW_KEY_RIGHT, GLFW_PRESS, GLFW_MOD_SHIFT);  // SeekBy, +10 s
#pragma once

namespace Quorvel::Preview {

enum class PreviewAction { None, TogglePause, SeekBy, Step, GoToStart, Reload, Quit };

struct PreviewCommand {
    PreviewAction action = PreviewAction::None;
    double seconds = 0.0;  // SeekBy
    int frames = 0;        // Step
};

// Escape quits on release, as in the program; the other keys act on press, and the seek and
// step keys also on auto-repeat.
PreviewCommand commandForKey(int key, int action, int mods);

// Frame steps move by one frame of the program's 60 Hz refresh.
constexpr double kPreviewFrameSeconds = 1.0 / 60.0;

}  // namespace Quorvel::Preview
