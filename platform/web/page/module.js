// The interface between the page and the program (web_main.cpp), written down once: Emscripten's
// `Module` object, made here, and every value and function the two pass each other. This file
// only sets what the address asks for; loader.js fills in the callbacks, display_size.js keeps
// the size current, player.js and watch.js call the program.
// Usage: the page reads what the program wrote and calls what it exports, e.g.
//   if (!Module.qvlPaused) Module._qvl_web_set_paused(1);
//
// page -> program, set before the program starts:
//   qvlStartTime   seconds: where the programme starts (#t=T in the address; 0 without)
//   qvlHold        bool: #t=T&hold, the checks' mode: no bar, no frame-rate guard, silent, the
//                  clock held at T
//   qvlFull        bool: #full, the frame-rate guard keeps every pixel
// page -> program, kept current (display_size.js):
//   qvlDisplaySize [w, h]: the canvas's displayed size in device pixels, which is the 16:9
//                  picture box (the letterbox bars are the page's); the program sizes the
//                  drawing buffer to it before every frame
// page -> program, calls (exported C functions):
//   _qvl_web_begin()            the visitor's gesture at the gate: starts the sound and the
//                               programme; after the end, plays it again from 0
//   ccall('qvl_web_key', 'number', ['string', 'number', 'number'], [key, repeat, shift])
//                               every keydown (repeat 0 or 1) and keyup (repeat -1) while
//                               playing; answers 0 not a player key (the browser's), 1 handled
//                               (preventDefault), 2 toggle full screen (the page does it, in the
//                               same handler). Space pause, arrows seek 1 s (Shift: 10 s),
//                               , and . a frame while paused, Home the start, F full screen, M mute
//   _qvl_web_seek(seconds)      jump to a demo time (clamped to 0..qvlLength), paused or running
//   _qvl_web_set_paused(flag)   1 pause, 0 resume: music and clock together
//   _qvl_web_set_muted(flag)    1 mute, 0 sound
//   _qvl_web_context_lost()     the canvas lost its WebGL context: the program pauses
//   _qvl_web_context_restored() the context is back: the program rebuilds its GL objects and
//                               resumes if it was playing before
// program -> page, updated with every frame drawn:
//   qvlTime        seconds: the demo time of the latest frame
//   qvlFrames      frames drawn
//   qvlPaused, qvlMuted   bool
//   qvlMusicTime   seconds or null: the music's position as the audio library reports it
//   qvlDrawingSize [w, h]: the drawing buffer
//   qvlScale       0.5..1: the frame-rate guard's scale per side (1: every pixel)
//   qvlSamples     multisampling of the frame (for the checks)
// program -> page, set once before qvlReady():
//   qvlLength      seconds: the programme's length (172)
//   qvlChapters    [[name, start], ...]: the scenes, each until the next one's start
// program -> page, callbacks (loader.js):
//   qvlReady()     the program is loaded: the gate may start it
//   qvlFailed()    the program could not start (it said why through printErr)
//   qvlEnded()     the programme reached its end and holds the last frame, paused
//   qvlLost(), qvlRestored()   optional: the program stopped drawing for a lost GL context, and
//                  drew again after making its objects anew (the page listens to the canvas's
//                  own events for its words; these say when the program itself acted)
var Module = (function () {
  var hash = qvlTimeline.readHash(location.hash);
  return {
    canvas: document.getElementById('canvas'),
    qvlStartTime: hash.startTime,
    qvlHold: hash.hold,
    qvlFull: hash.full,
    // Files are named relative to the page, wherever the runtime's script came from.
    locateFile: function (path) { return path; },
  };
})();
