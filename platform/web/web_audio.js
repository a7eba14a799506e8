// Emscripten's OpenAL (3.1.6) plays a source started at an offset from the right place, but
// counts its position from the start of what it scheduled, without the offset: a track played
// from 150 s reports 0 s, and a pause stores that, so a resume would play from the wrong place.
// This puts the offset back into the position it keeps while a buffer plays; every other case
// already counts from the start of the track. Called once, before any source plays.
//   qvl_web_mend_audio_offsets();
mergeInto(LibraryManager.library, {
  qvl_web_mend_audio_offsets__deps: ['$AL'],
  qvl_web_mend_audio_offsets: function() {
    if (AL.qvlOffsetsMended) return;
    AL.qvlOffsetsMended = true;
    var update = AL.updateSourceTime;
    AL.updateSourceTime = function(src) {
      var currentTime = update(src);
      // The branch that measures from the scheduled buffer: playing, not a looping static one.
      if (src.state === 0x1012 /* AL_PLAYING */ && src.audioQueue[0] && !(src.type === 0x1028 && src.looping)) {
        src.bufOffset += src.audioQueue[0]._startOffset || 0;
      }
      return currentTime;
    };
  },
});
