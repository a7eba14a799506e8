// The player's key table, shared by the preview (GLFW keys) and the web page (the browser's key
// names): what each key does, with no window and no browser. Each front end turns its own key
// codes into a PlayerKey and acts on the command; a front end may leave a command out (the page
// leaves quitting and reloading to the browser, the preview ignores full screen).
//
//   PlayerCommand c = commandForKey(PlayerKey::Right, KeyAction::Press, /*shift=*/true);  // SeekBy +10 s
//   PlayerKey k = playerKeyFromName("ArrowLeft");                                        // PlayerKey::Left
#pragma once

#include <string_view>

namespace Quorvel {

enum class PlayerAction {
    None,
    TogglePause,
    SeekBy,       // `seconds`, negative: back
    SeekTo,       // `seconds` from the start (the page's bar)
    Step,         // `frames` while paused
    GoToStart,
    ToggleMute,
    FullScreen,   // the front end's own window or page goes full screen or back
    Reload,       // rebuild the scenes from data/ (the preview)
    Quit,
};

struct PlayerCommand {
    PlayerAction action = PlayerAction::None;
    double seconds = 0.0;  // SeekBy, SeekTo
    int frames = 0;        // Step
};

enum class PlayerKey { Other, Space, Left, Right, Comma, Period, Home, F, M, F5, Escape };
enum class KeyAction { Press, Repeat, Release };

// Escape quits on release, as in the program; the other keys act on press, and the seek and
// step keys also on auto-repeat.
PlayerCommand commandForKey(PlayerKey key, KeyAction action, bool shift);

// A key by the name a browser gives it (KeyboardEvent.key): " ", "ArrowLeft", ",", "f", "F"...
PlayerKey playerKeyFromName(std::string_view name);

// Frame steps move by one frame of the program's 60 Hz refresh.
constexpr double kPlayerFrameSeconds = 1.0 / 60.0;

}  // namespace Quorvel
