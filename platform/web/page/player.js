// The player bar over the picture and the keys while the programme plays. The bar shows on
// pointer movement, a tap or a key, and fades 2.5 s after the last while playing; it reads the
// program's values in its own animation-frame loop and touches the DOM only when a shown value
// changes. It never draws in the picture, and in #t=T&hold (the checks' mode) it shows nothing.
// It does not start the programme (loader.js): it works while `state` is 'playing'.
// Usage: included after loader.js. A click on #play calls Module._qvl_web_set_paused(1), and
//        the next frame's Module.qvlPaused turns its label to "Play".
(function () {
  var T = qvlTimeline, hold = Module.qvlHold, fadeSeconds = 2.5;
  function byId(id) { return document.getElementById(id); }
  var player = byId('player'), timeline = byId('timeline'), chapters = byId('chapters'), knob = byId('knob');
  var playButton = byId('play'), muteButton = byId('mute'), fullButton = byId('fullscreen');
  var elapsed = byId('elapsed'), scene = byId('scene'), drawing = byId('drawing'), note = byId('note'), link = byId('link');
  var length = 172, segments = [], fadeTimer = 0, noteTimer = 0, hovering = false;
  var drag = null;        // the seek under way: {pointer, time}; its time is shown until the program's frames catch up
  var settling = -1;      // qvlFrames before which the last seek's time is still shown
  var handled = {};       // keys whose keydown the program took: their keyup is kept from the browser too
  var pressed = {};       // keys pressed while the programme plays: a key held since the gate does not repeat into it

  function playing() { return state === 'playing'; }
  function shown() { return player.classList.contains('shown'); }
  function setShown(on) {
    player.classList.toggle('shown', on);
    document.body.classList.toggle('idle', !on && playing() && !hold);
  }
  // Shows the bar and starts the fade over; the bar stays while paused, hovered, dragged or
  // holding the keyboard's focus.
  function show() {
    if (!playing() || hold) return;
    setShown(true);
    clearTimeout(fadeTimer);
    fadeTimer = setTimeout(fade, fadeSeconds * 1000);
  }
  function fade() {
    var focused = false;
    try { focused = !!player.querySelector(':focus-visible'); } catch (e) {}
    if (!Module.qvlPaused && !(drag && drag.pointer !== null) && !hovering && !focused) setShown(false);
  }
  function togglePaused() { Module._qvl_web_set_paused(Module.qvlPaused ? 0 : 1); }

  // Keys go to the program while it plays; before that, the gate has them (loader.js, on the
  // document, after this). Emscripten's GLFW takes Tab from the browser, and ends the programme
  // on Escape as the desktop does; on the page Escape only leaves full screen (the browser's own,
  // whatever the page does): neither reaches GLFW.
  function key(e) {
    if (e.key === 'Tab' || e.key === 'Escape') e.stopImmediatePropagation();
    var up = e.type === 'keyup';
    if (!up) show();
    if (!playing() || e.ctrlKey || e.metaKey || e.altKey || e.target === link) return;
    if (up) delete pressed[e.key]; else if (!e.repeat) pressed[e.key] = true; else if (!pressed[e.key]) return;
    var answer = Module.ccall('qvl_web_key', 'number', ['string', 'number', 'number'],
                              [e.key, up ? -1 : e.repeat ? 1 : 0, e.shiftKey ? 1 : 0]);
    if (answer || (up && handled[e.key])) e.preventDefault();
    if (up) delete handled[e.key]; else if (answer) handled[e.key] = true;
    if (answer === 2 && !up) toggleFullScreen();
  }
  window.addEventListener('keydown', key, true);
  window.addEventListener('keyup', key, true);

  if (hold) { player.hidden = true; return; }

  // The pointer: movement shows the bar. A click on the picture pauses or resumes; a tap does so
  // only while the bar shows, and otherwise brings it.
  var down = null, lastX = -1, lastY = -1;
  window.addEventListener('pointermove', function (e) {
    // Browsers also send a move, without one, when what lies under a still pointer changes.
    if (e.clientX === lastX && e.clientY === lastY) return;
    lastX = e.clientX;
    lastY = e.clientY;
    show();
  });
  // The picture or the bars beside it; not the bar, the gate or the lost context's words.
  var picture = [Module.canvas, byId('stage'), document.body, document.documentElement];
  window.addEventListener('pointerdown', function (e) {
    down = playing() && e.button <= 0 && picture.indexOf(e.target) >= 0 ?
      { pointer: e.pointerId, x: e.clientX, y: e.clientY, toggles: e.pointerType === 'mouse' || shown() } : null;
  });
  window.addEventListener('pointerup', function (e) {
    var was = down;
    down = null;
    if (!was || was.pointer !== e.pointerId || !playing() || Math.abs(e.clientX - was.x) + Math.abs(e.clientY - was.y) > 20) return;
    if (was.toggles) togglePaused();
    show();
  });
  player.addEventListener('pointerenter', function (e) { if (e.pointerType === 'mouse') hovering = true; });
  player.addEventListener('pointerleave', function () { hovering = false; show(); });
  player.addEventListener('focusin', show);

  // The timeline: a press or a drag seeks, with the pointer captured so it may leave the track.
  function seek(e) {
    if (!playing()) return;  // the end's gate came up under a drag
    var box = chapters.getBoundingClientRect();
    drag.time = T.timeAt(e.clientX, box.left, box.width, length);
    Module._qvl_web_seek(drag.time);
    show();
  }
  timeline.addEventListener('pointerdown', function (e) {
    if (e.button > 0 || !playing()) return;
    timeline.setPointerCapture(e.pointerId);
    timeline.classList.add('held');
    drag = { pointer: e.pointerId, time: 0 };
    seek(e);
  });
  timeline.addEventListener('pointermove', function (e) { if (drag && drag.pointer === e.pointerId) seek(e); });
  function release(e) {
    if (!drag || drag.pointer !== e.pointerId) return;
    settling = (Module.qvlFrames || 0) + 2;
    timeline.classList.remove('held');
    drag.pointer = null;
    show();
  }
  ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) { timeline.addEventListener(type, release); });

  playButton.addEventListener('click', togglePaused);
  muteButton.addEventListener('click', function () { Module._qvl_web_set_muted(Module.qvlMuted ? 0 : 1); });
  fullButton.addEventListener('click', toggleFullScreen);
  var root = document.documentElement;
  fullButton.hidden = !root.requestFullscreen && !root.webkitRequestFullscreen;  // an iPhone has none
  function tellNote(words) {
    note.textContent = words;
    clearTimeout(noteTimer);
    noteTimer = setTimeout(function () { note.textContent = ''; }, 2500);
  }
  // The address at the second shown; where the clipboard is not allowed, the link stands
  // selected in a field for the visitor to copy.
  byId('share').addEventListener('click', function () {
    var address = window.qvlSharedLink = T.linkAt(location.href, Module.qvlTime);
    function field() {
      link.value = address;
      link.hidden = false;
      link.focus();
      link.select();
    }
    if (navigator.clipboard && navigator.clipboard.writeText)
      navigator.clipboard.writeText(address).then(function () { tellNote('link copied'); }, field);
    else
      field();
  });
  link.addEventListener('blur', function () { link.hidden = true; });

  function buildChapters() {
    length = Module.qvlLength || length;
    segments = T.segments(Module.qvlChapters || [['', 0]], length);
    timeline.setAttribute('aria-valuemax', length);
    chapters.innerHTML = '';
    segments.forEach(function (segment) {
      var box = segment.box = document.createElement('div'), name = document.createElement('span');
      box.className = 'chapter';
      box.style.left = segment.start / length * 100 + '%';
      box.style.width = (segment.end - segment.start) / length * 100 + '%';
      box.title = name.textContent = segment.name;
      box.appendChild(name);
      box.appendChild(document.createElement('i')).appendChild(segment.fill = document.createElement('b'));
      chapters.appendChild(box);
    });
    fitNames();
  }
  // A name wider than its chapter is left out rather than run into the next one's.
  function fitNames() {
    segments.forEach(function (segment) {
      var name = segment.box.firstChild;
      name.classList.remove('tight');
      name.classList.toggle('tight', name.scrollWidth > name.clientWidth + 1);
    });
  }
  window.addEventListener('resize', fitNames);
  if (document.fonts && document.fonts.ready) document.fonts.ready.then(fitNames);

  // What the bar last showed; a value is written to the page only when it changes.
  var last = {};
  function put(what, value, write) {
    if (last[what] === value) return;
    var before = last[what];
    last[what] = value;
    write(value, before);
  }
  function label(button, on, onWords, offWords) {
    button.classList.toggle('alt', !on);
    button.setAttribute('aria-label', on ? onWords : offWords);
  }
  function frame() {
    requestAnimationFrame(frame);
    if (!playing()) {
      if (shown() || document.body.classList.contains('idle')) setShown(false);
      return;
    }
    if (!segments.length) buildChapters();
    var time = drag && (drag.pointer !== null || (Module.qvlFrames || 0) < settling) ? drag.time : Module.qvlTime || 0;
    if (drag && drag.pointer === null && (Module.qvlFrames || 0) >= settling) drag = null;
    put('second', Math.floor(time), function (second) {
      elapsed.textContent = T.clock(second) + ' / ' + T.clock(length);
      timeline.setAttribute('aria-valuenow', second);
      timeline.setAttribute('aria-valuetext', T.clock(second));
    });
    put('place', Math.round(time / length * 2000), function () {
      knob.style.left = Math.min(time / length, 1) * 100 + '%';
      segments.forEach(function (s) {
        s.fill.style.transform = 'scaleX(' + Math.min(Math.max((time - s.start) / (s.end - s.start), 0), 1) + ')';
      });
    });
    put('scene', T.segmentAt(segments, time), function (now, before) {
      if (before) before.box.classList.remove('now');
      now.box.classList.add('now');
      scene.textContent = now.name;
    });
    put('paused', !!Module.qvlPaused, function (paused, before) {
      label(playButton, !paused, 'Pause', 'Play');
      if (before !== undefined) show();
    });
    put('muted', !!Module.qvlMuted, function (muted) { label(muteButton, !muted, 'Mute', 'Unmute'); });
    put('full', !!(document.fullscreenElement || document.webkitFullscreenElement), function (full) {
      label(fullButton, !full, 'Full screen', 'Leave full screen');
    });
    var drawn = Module.qvlDrawingSize, display = Module.qvlDisplaySize;
    put('drawing', Module.qvlScale < 1 && drawn && display ?
        drawn[0] + ' x ' + drawn[1] + ' of ' + display[0] + ' x ' + display[1] : '', function (words) {
      drawing.textContent = words;
      drawing.hidden = !words;
    });
  }
  requestAnimationFrame(frame);
})();
