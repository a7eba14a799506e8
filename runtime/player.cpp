#include "runtime/player.h"

#include "runtime/music_track.h"

namespace Quorvel {

Player::Player(double start, double end, double wallNow) : clock(start, end, wallNow) {}

MusicCue Player::cue(MusicCue::Kind kind, double wallNow) const { return {kind, clock.time(wallNow), isMuted}; }

MusicCue Player::follow(double wallNow) const {
    return cue(clock.paused() ? MusicCue::Kind::Pause : MusicCue::Kind::PlayFrom, wallNow);
}

MusicCue Player::setPaused(bool paused, double wallNow) {
    if (paused == clock.paused()) return cue(MusicCue::Kind::Keep, wallNow);
    // Resuming at the end would play nothing: the end resumes from the start, as a video does.
    if (!paused && atEnd(wallNow)) clock.seekTo(0.0, wallNow);
    if (paused)
        clock.pause(wallNow);
    else
        clock.resume(wallNow);
    return follow(wallNow);
}

MusicCue Player::pauseOn(double shownTime, double wallNow) {
    if (clock.paused()) return cue(MusicCue::Kind::Keep, wallNow);
    clock.pause(wallNow);
    clock.seekTo(shownTime, wallNow);
    return follow(wallNow);
}

MusicCue Player::apply(const PlayerCommand& c, double wallNow) {
    switch (c.action) {
        case PlayerAction::TogglePause: return setPaused(!clock.paused(), wallNow);
        case PlayerAction::SeekBy: clock.seekBy(c.seconds, wallNow); return follow(wallNow);
        case PlayerAction::SeekTo: clock.seekTo(c.seconds, wallNow); return follow(wallNow);
        case PlayerAction::GoToStart: clock.seekTo(0.0, wallNow); return follow(wallNow);
        case PlayerAction::Step:
            if (!clock.paused()) break;
            clock.step(c.frames, kPlayerFrameSeconds, wallNow);
            return follow(wallNow);
        case PlayerAction::ToggleMute: isMuted = !isMuted; break;
        case PlayerAction::FullScreen:
        case PlayerAction::Reload:
        case PlayerAction::Quit:
        case PlayerAction::None: break;
    }
    return cue(MusicCue::Kind::Keep, wallNow);
}

MusicCue Player::holdAtEnd(double wallNow) {
    if (clock.paused() || !atEnd(wallNow)) return cue(MusicCue::Kind::Keep, wallNow);
    clock.pause(wallNow);
    return cue(MusicCue::Kind::Pause, wallNow);
}

void cueMusic(MusicTrack& track, const MusicCue& cue) {
    track.setMuted(cue.muted);
    switch (cue.kind) {
        case MusicCue::Kind::Pause: track.pauseAt(cue.from); break;
        case MusicCue::Kind::PlayFrom: track.playFrom(cue.from); break;
        case MusicCue::Kind::Keep: break;
    }
}

}  // namespace Quorvel
