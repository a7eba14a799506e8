// The player over the demo: a PlayerClock and the music's state, moved by commands (keys, a
// bar, a hidden page) and kept together, so that after every command the front end knows the
// demo time and what the music must do to be at the same position. Pure: the wall-clock time
// comes in with each call, the music's orders go out as values; cueMusic() carries them out.
// It does not quit, reload or go full screen: those are the front end's own.
//
//   Player player(95.0, kProgrammeEnd, now);
//   cueMusic(track, player.apply({PlayerAction::SeekBy, -10.0}, now));
#pragma once

#include "runtime/player_clock.h"
#include "runtime/player_keys.h"

namespace Quorvel {

class MusicTrack;

// What the music must do after a command.
struct MusicCue {
    enum class Kind { Keep, Pause, PlayFrom };
    Kind kind = Kind::Keep;
    double from = 0.0;   // seconds into the track, the demo time: where it plays from or pauses at
    bool muted = false;  // the mute state to apply, whatever the kind
};

class Player {
public:
    // Running from `start`, sound on; the music is not cued (the front end starts it).
    Player(double start, double end, double wallNow);

    // Carries out a clock or sound command; FullScreen, Reload and Quit change nothing here.
    MusicCue apply(const PlayerCommand& command, double wallNow);
    // Holds the last frame once the end is reached while running (the music stops with it);
    // Keep otherwise. Called before each frame.
    MusicCue holdAtEnd(double wallNow);

    MusicCue pause(double wallNow) { return setPaused(true, wallNow); }
    // Pauses on the picture on the screen, drawn at `shownTime`, rather than at the moment between
    // two frames the pause came at; the music waits at the same time. Keep when paused already.
    MusicCue pauseOn(double shownTime, double wallNow);
    MusicCue resume(double wallNow) { return setPaused(false, wallNow); }

    double time(double wallNow) const { return clock.time(wallNow); }
    bool paused() const { return clock.paused(); }
    bool muted() const { return isMuted; }
    bool atEnd(double wallNow) const { return clock.time(wallNow) >= clock.end(); }

private:
    MusicCue setPaused(bool paused, double wallNow);
    MusicCue cue(MusicCue::Kind kind, double wallNow) const;
    // After a move of the clock: the music plays from the new time, or stays paused.
    MusicCue follow(double wallNow) const;

    PlayerClock clock;
    bool isMuted = false;
};

// Carries out a cue on the track (nothing for a silent track).
void cueMusic(MusicTrack& track, const MusicCue& cue);

}  // namespace Quorvel
