#include "runtime/player_keys.h"

namespace Quorvel {

PlayerCommand commandForKey(PlayerKey key, KeyAction action, bool shift) {
    if (key == PlayerKey::Escape) return {action == KeyAction::Release ? PlayerAction::Quit : PlayerAction::None};
    const bool press = action == KeyAction::Press;
    const bool pressOrRepeat = press || action == KeyAction::Repeat;
    const double jump = shift ? 10.0 : 1.0;
    auto onPress = [press](PlayerAction a) { return PlayerCommand{press ? a : PlayerAction::None}; };
    switch (key) {
        case PlayerKey::Space: return onPress(PlayerAction::TogglePause);
        case PlayerKey::Left: return {pressOrRepeat ? PlayerAction::SeekBy : PlayerAction::None, -jump};
        case PlayerKey::Right: return {pressOrRepeat ? PlayerAction::SeekBy : PlayerAction::None, jump};
        case PlayerKey::Comma: return {pressOrRepeat ? PlayerAction::Step : PlayerAction::None, 0.0, -1};
        case PlayerKey::Period: return {pressOrRepeat ? PlayerAction::Step : PlayerAction::None, 0.0, 1};
        case PlayerKey::Home: return onPress(PlayerAction::GoToStart);
        case PlayerKey::F: return onPress(PlayerAction::FullScreen);
        case PlayerKey::M: return onPress(PlayerAction::ToggleMute);
        case PlayerKey::F5: return onPress(PlayerAction::Reload);
        case PlayerKey::Escape:
        case PlayerKey::Other: break;
    }
    return {};
}

PlayerKey playerKeyFromName(std::string_view name) {
    struct Named {
        std::string_view name;
        PlayerKey key;
    };
    // Letters come in either case: Caps Lock or Shift held for a ten-second seek.
    static constexpr Named table[] = {
        {" ", PlayerKey::Space},      {"Spacebar", PlayerKey::Space}, {"ArrowLeft", PlayerKey::Left},
        {"Left", PlayerKey::Left},    {"ArrowRight", PlayerKey::Right}, {"Right", PlayerKey::Right},
        {",", PlayerKey::Comma},      {".", PlayerKey::Period},       {"Home", PlayerKey::Home},
        {"f", PlayerKey::F},          {"F", PlayerKey::F},            {"m", PlayerKey::M},
        {"M", PlayerKey::M},          {"F5", PlayerKey::F5},          {"Escape", PlayerKey::Escape},
    };
    for (const Named& n : table)
        if (n.name == name) return n.key;
    return PlayerKey::Other;
}

}  // namespace Quorvel
