// What the page does for the program when the browser takes something away or asks how to play:
// a hidden tab pauses the programme (and showing it again resumes it, only if this paused it),
// a lost WebGL context is told to the program and shown as words until it comes back, and a
// phone plays the sound as media, ringer switch or not. It does not start anything (loader.js).
// Usage: included after module.js and loader.js; e.g. a tab hidden while playing calls
//        Module._qvl_web_set_paused(1), and _qvl_web_set_paused(0) when it shows again.
(function () {
  var canvas = Module.canvas, lost = document.getElementById('lost'), pausedWhileHidden = false;
  // iOS silences the web's audio with the ringer switch unless the page says it plays media.
  if (navigator.audioSession) {
    try { navigator.audioSession.type = 'playback'; } catch (e) {}
  }
  document.addEventListener('visibilitychange', function () {
    if (state !== 'playing' || Module.qvlHold) { pausedWhileHidden = false; return; }
    if (document.hidden) {
      if (!Module.qvlPaused && !pausedWhileHidden) {
        Module._qvl_web_set_paused(1);
        pausedWhileHidden = true;
      }
    } else if (pausedWhileHidden) {
      pausedWhileHidden = false;
      Module._qvl_web_set_paused(0);
    }
  });
  // Without preventDefault the browser would not try to give the context back.
  canvas.addEventListener('webglcontextlost', function (e) {
    e.preventDefault();
    if (Module._qvl_web_context_lost) Module._qvl_web_context_lost();
    lost.hidden = false;
  });
  canvas.addEventListener('webglcontextrestored', function () {
    if (Module._qvl_web_context_restored) Module._qvl_web_context_restored();
    lost.hidden = true;
  });
})();
