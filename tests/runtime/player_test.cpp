// The player shared by the preview and the web page: its clock, the music cues that keep the
// sound at the picture's time, and the key table with the browser's key names. No window.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/player.h"

using namespace Quorvel;

namespace {

TEST(PlayerClock, RunsPausesAndSeeksWithinTheProgramme) {
    PlayerClock clock(95.0, 172.0, 10.0);  // demo 95 s at wall 10 s
    EXPECT_DOUBLE_EQ(clock.time(12.5), 97.5);
    clock.pause(12.5);
    EXPECT_DOUBLE_EQ(clock.time(20.0), 97.5);  // paused: wall time passes, demo time does not
    clock.resume(20.0);
    EXPECT_DOUBLE_EQ(clock.time(21.0), 98.5);
    clock.seekBy(-10.0, 21.0);
    EXPECT_DOUBLE_EQ(clock.time(21.0), 88.5);
    EXPECT_FALSE(clock.paused());
    clock.seekBy(-1000.0, 22.0);  // clamps at 0 and keeps running from there
    EXPECT_DOUBLE_EQ(clock.time(22.0), 0.0);
    EXPECT_DOUBLE_EQ(clock.time(23.0), 1.0);
    clock.seekBy(1000.0, 23.0);
    EXPECT_DOUBLE_EQ(clock.time(23.0), 172.0);
    EXPECT_DOUBLE_EQ(clock.time(30.0), 172.0);  // never beyond the end
    EXPECT_DOUBLE_EQ(PlayerClock(-3.0).time(0.0), 0.0);
    clock.seekTo(std::nan(""), 31.0);  // a page's bad number lands at the start, not nowhere
    EXPECT_DOUBLE_EQ(clock.time(31.0), 0.0);
}

TEST(PlayerClock, FrameStepsOnlyWhilePaused) {
    PlayerClock clock(10.0, 172.0, 0.0);
    clock.step(1, 1.0 / 60.0, 0.0);
    EXPECT_DOUBLE_EQ(clock.time(0.0), 10.0);  // running: ignored
    clock.pause(0.0);
    clock.step(1, 1.0 / 60.0, 5.0);
    clock.step(1, 1.0 / 60.0, 6.0);
    EXPECT_NEAR(clock.time(7.0), 10.0 + 2.0 / 60.0, 1e-12);
    EXPECT_TRUE(clock.paused());
    clock.seekTo(0.0, 8.0);
    clock.step(-1, 1.0 / 60.0, 8.0);
    EXPECT_DOUBLE_EQ(clock.time(8.0), 0.0);  // no frame before 0
    clock.togglePause(9.0);
    EXPECT_DOUBLE_EQ(clock.time(10.0), 1.0);
}

TEST(Player, PauseHoldsDemoTimeAndMusicTogether) {
    Player player(40.0, 172.0, 100.0);
    MusicCue cue = player.apply({PlayerAction::TogglePause}, 102.0);
    EXPECT_EQ(cue.kind, MusicCue::Kind::Pause);
    EXPECT_DOUBLE_EQ(cue.from, 42.0);  // the music waits where the picture stopped
    EXPECT_DOUBLE_EQ(player.time(150.0), 42.0);
    // Resuming plays the music from where the picture stopped, not from where the wall clock is.
    cue = player.apply({PlayerAction::TogglePause}, 150.0);
    EXPECT_EQ(cue.kind, MusicCue::Kind::PlayFrom);
    EXPECT_DOUBLE_EQ(cue.from, 42.0);
    EXPECT_DOUBLE_EQ(player.time(151.0), 43.0);
    // Asking for the state it is in already leaves the music alone (a hidden page paused twice).
    EXPECT_EQ(player.resume(152.0).kind, MusicCue::Kind::Keep);
    EXPECT_EQ(player.pause(152.0).kind, MusicCue::Kind::Pause);
    EXPECT_EQ(player.pause(153.0).kind, MusicCue::Kind::Keep);
    EXPECT_DOUBLE_EQ(player.time(160.0), 44.0);
}

// A slow renderer shows a frame for a while: a pause holds that frame, and the music at its time.
TEST(Player, PausesOnThePictureShown) {
    Player player(60.0, 172.0, 0.0);
    const MusicCue cue = player.pauseOn(60.5, 0.8);  // the frame on screen was drawn at 60.5 s
    EXPECT_EQ(cue.kind, MusicCue::Kind::Pause);
    EXPECT_DOUBLE_EQ(cue.from, 60.5);
    EXPECT_DOUBLE_EQ(player.time(5.0), 60.5);
    EXPECT_EQ(player.pauseOn(61.0, 6.0).kind, MusicCue::Kind::Keep);  // paused already: stays put
    EXPECT_DOUBLE_EQ(player.time(6.0), 60.5);
}

TEST(Player, SeeksMoveTheMusicWithThePictureAndClamp) {
    Player player(10.0, 172.0, 0.0);
    MusicCue cue = player.apply({PlayerAction::SeekTo, 150.0}, 1.0);
    EXPECT_EQ(cue.kind, MusicCue::Kind::PlayFrom);
    EXPECT_DOUBLE_EQ(cue.from, 150.0);
    EXPECT_DOUBLE_EQ(player.time(1.0), 150.0);
    cue = player.apply({PlayerAction::SeekTo, 500.0}, 2.0);
    EXPECT_DOUBLE_EQ(cue.from, 172.0);
    cue = player.apply({PlayerAction::SeekBy, -1000.0}, 3.0);
    EXPECT_DOUBLE_EQ(cue.from, 0.0);
    cue = player.apply({PlayerAction::SeekBy, 10.0}, 3.0);
    EXPECT_DOUBLE_EQ(cue.from, 10.0);
    // A seek while paused stays paused: the music is told to stay quiet at the new time.
    player.pause(4.0);
    cue = player.apply({PlayerAction::SeekTo, 94.0}, 5.0);
    EXPECT_EQ(cue.kind, MusicCue::Kind::Pause);
    EXPECT_DOUBLE_EQ(cue.from, 94.0);
    EXPECT_DOUBLE_EQ(player.time(9.0), 94.0);
    cue = player.apply({PlayerAction::GoToStart}, 9.0);
    EXPECT_DOUBLE_EQ(player.time(9.0), 0.0);
    EXPECT_TRUE(player.paused());
}

TEST(Player, StepsAreOneFrameOfSixtyHertzWhilePaused) {
    Player player(20.0, 172.0, 0.0);
    EXPECT_EQ(player.apply({PlayerAction::Step, 0.0, 1}, 0.5).kind, MusicCue::Kind::Keep);  // running: ignored
    EXPECT_DOUBLE_EQ(player.time(0.5), 20.5);
    player.pause(1.0);
    player.apply({PlayerAction::Step, 0.0, 1}, 2.0);
    player.apply({PlayerAction::Step, 0.0, 1}, 3.0);
    EXPECT_NEAR(player.time(4.0), 21.0 + 2.0 / 60.0, 1e-12);
    player.apply({PlayerAction::Step, 0.0, -3}, 4.0);
    EXPECT_NEAR(player.time(4.0), 21.0 - 1.0 / 60.0, 1e-12);
}

TEST(Player, HoldsTheLastFrameAndPlaysAgainFromTheStart) {
    Player player(170.0, 172.0, 0.0);
    EXPECT_EQ(player.holdAtEnd(1.0).kind, MusicCue::Kind::Keep);
    EXPECT_EQ(player.holdAtEnd(2.5).kind, MusicCue::Kind::Pause);
    EXPECT_TRUE(player.paused());
    EXPECT_DOUBLE_EQ(player.time(10.0), 172.0);
    EXPECT_EQ(player.holdAtEnd(11.0).kind, MusicCue::Kind::Keep);
    const MusicCue again = player.resume(12.0);
    EXPECT_EQ(again.kind, MusicCue::Kind::PlayFrom);
    EXPECT_DOUBLE_EQ(again.from, 0.0);
    EXPECT_DOUBLE_EQ(player.time(13.0), 1.0);
}

TEST(Player, MuteRidesOnEveryCueAndMovesNothing) {
    Player player(30.0, 172.0, 0.0);
    MusicCue cue = player.apply({PlayerAction::ToggleMute}, 1.0);
    EXPECT_EQ(cue.kind, MusicCue::Kind::Keep);  // no restart of the sound for a mute
    EXPECT_TRUE(cue.muted);
    EXPECT_TRUE(player.apply({PlayerAction::SeekBy, 1.0}, 2.0).muted);
    EXPECT_FALSE(player.apply({PlayerAction::ToggleMute}, 3.0).muted);
    EXPECT_DOUBLE_EQ(player.time(3.0), 34.0);
    // The front ends' own commands leave the player as it is.
    for (PlayerAction own : {PlayerAction::FullScreen, PlayerAction::Reload, PlayerAction::Quit})
        EXPECT_EQ(player.apply({own}, 4.0).kind, MusicCue::Kind::Keep);
    EXPECT_FALSE(player.paused());
}

TEST(PlayerKeys, TheTableForBothFrontEnds) {
    EXPECT_EQ(commandForKey(PlayerKey::Space, KeyAction::Press, false).action, PlayerAction::TogglePause);
    EXPECT_EQ(commandForKey(PlayerKey::Space, KeyAction::Repeat, false).action, PlayerAction::None);
    EXPECT_EQ(commandForKey(PlayerKey::Left, KeyAction::Repeat, false).seconds, -1.0);
    EXPECT_EQ(commandForKey(PlayerKey::Right, KeyAction::Press, true).seconds, 10.0);
    EXPECT_EQ(commandForKey(PlayerKey::Right, KeyAction::Release, false).action, PlayerAction::None);
    EXPECT_EQ(commandForKey(PlayerKey::Comma, KeyAction::Press, false).frames, -1);
    EXPECT_EQ(commandForKey(PlayerKey::Period, KeyAction::Repeat, false).frames, 1);
    EXPECT_EQ(commandForKey(PlayerKey::Escape, KeyAction::Press, false).action, PlayerAction::None);
    EXPECT_EQ(commandForKey(PlayerKey::Escape, KeyAction::Release, false).action, PlayerAction::Quit);
    EXPECT_EQ(commandForKey(PlayerKey::F, KeyAction::Press, false).action, PlayerAction::FullScreen);
    EXPECT_EQ(commandForKey(PlayerKey::M, KeyAction::Press, false).action, PlayerAction::ToggleMute);
    EXPECT_EQ(commandForKey(PlayerKey::M, KeyAction::Repeat, false).action, PlayerAction::None);
}

TEST(PlayerKeys, TheBrowsersKeyNames) {
    EXPECT_EQ(playerKeyFromName(" "), PlayerKey::Space);
    EXPECT_EQ(playerKeyFromName("ArrowLeft"), PlayerKey::Left);
    EXPECT_EQ(playerKeyFromName("ArrowRight"), PlayerKey::Right);
    EXPECT_EQ(playerKeyFromName(","), PlayerKey::Comma);
    EXPECT_EQ(playerKeyFromName("."), PlayerKey::Period);
    EXPECT_EQ(playerKeyFromName("Home"), PlayerKey::Home);
    EXPECT_EQ(playerKeyFromName("F"), PlayerKey::F);  // Caps Lock
    EXPECT_EQ(playerKeyFromName("m"), PlayerKey::M);
    EXPECT_EQ(playerKeyFromName("Escape"), PlayerKey::Escape);
    EXPECT_EQ(playerKeyFromName("Enter"), PlayerKey::Other);
    EXPECT_EQ(playerKeyFromName(""), PlayerKey::Other);
    EXPECT_EQ(playerKeyFromName("ArrowLeftX"), PlayerKey::Other);
}

}  // namespace
