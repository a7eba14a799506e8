// The start gate and the download: the runtime's script, the program and the data under one
// progress bar, the words on the gate when something fails (with a retry where it helps), and
// the visitor's gesture that starts the programme, at first and again after the end. It does not
// show the player bar (player.js) nor pass keys to the program while it plays.
// Usage: included after module.js; the gate opens by itself once everything has arrived, e.g.
//   state === 'ready' -> a click, a tap or a key calls begin() -> state === 'playing'
var gate = document.getElementById('gate'), say = document.getElementById('say');
var detail = document.getElementById('detail'), retry = document.getElementById('retry');
var canvas = document.getElementById('canvas');
var state = 'loading';
// tools/web.sh writes in the compressed files it ships with their sizes, e.g.
// {"index.data": {"file": "index.data.gz", "size": 11100000, "raw": 22134847}}; a site without
// them (the link's own output) is fetched as it is.
var packed = {};
// Full screen on or off, from a key's or a button's own gesture (the gate's F, the bar's button
// and F while playing); Safari and iPad's browsers know only the prefixed names.
function toggleFullScreen() {
  var d = document, root = d.documentElement, answer;
  if (d.fullscreenElement || d.webkitFullscreenElement) answer = d.exitFullscreen ? d.exitFullscreen() : d.webkitExitFullscreen();
  else answer = root.requestFullscreen ? root.requestFullscreen() : root.webkitRequestFullscreen && root.webkitRequestFullscreen();
  if (answer && answer.catch) answer.catch(function () {});
}
// The visitor's gesture, while the browser still counts it as one: audio may start only then.
// After the end the program plays again from 0, in the same page.
function begin() {
  if (state !== 'ready' && state !== 'over') return;
  state = 'playing';
  gate.style.display = 'none';
  document.body.classList.add('playing');
  canvas.focus();
  Module._qvl_web_begin();
}
// Words on the gate in place of the progress: a headline, what to do, and a retry where it helps.
function tell(headline, explanation, canRetry) {
  say.textContent = headline;
  detail.textContent = explanation || '';
  retry.hidden = !canRetry;
  document.getElementById('progress').hidden = true;
  // The keys' hint only where the demo can still play.
  document.querySelector('#gate .small').hidden = state === 'unsupported';
  showTurn();
}
// A phone held upright shows the picture as a narrow strip: the gate asks to turn it.
var portrait = window.matchMedia ? window.matchMedia('(orientation: portrait)') : null;
function showTurn() {
  document.getElementById('turn').hidden = !portrait || !portrait.matches || state === 'unsupported';
}
if (portrait) {
  if (portrait.addEventListener) portrait.addEventListener('change', showTurn); else portrait.addListener(showTurn);
  showTurn();
}
gate.addEventListener('click', begin);
// A tap starts as a click does; taking the touch keeps the click the browser would make of it
// from starting a second time. Taps on the retry button stay clicks.
gate.addEventListener('touchend', function (e) {
  if (e.target.closest && e.target.closest('button')) return;
  if (state !== 'ready' && state !== 'over') return;
  e.preventDefault();
  begin();
}, { passive: false });
// On the document, so that player.js's key handler on the window has seen the key first and
// let it be: the key that starts the programme is not also a player key.
document.addEventListener('keydown', function (e) {
  if (state === 'playing') return;
  if (e.key === 'f' || e.key === 'F') { toggleFullScreen(); return; }
  if (e.key !== 'Escape' && e.key !== 'F5' && e.key !== 'F12') begin();
}, true);
Module.print = function (text) { console.log(text); };
Module.printErr = function (text) {
  // Emscripten's notes that its GL emulation is in use are no failure of the demo.
  if (/^WARNING: using emscripten GL/.test(text)) { console.warn(text); return; }
  console.error(text);
  say.textContent = text;
  document.getElementById('progress').hidden = true;
};
Module.qvlReady = function () {
  mark('gate open');
  state = 'ready';
  document.getElementById('progress').hidden = true;
  say.textContent = 'click, tap or press a key to start';
};
Module.qvlFailed = function () { state = 'failed'; };
// The program holds the last frame; the gate comes back over it, full screen or not.
Module.qvlEnded = function () {
  state = 'over';
  document.body.classList.remove('playing');
  say.textContent = 'the end \u2014 click, tap or press a key to play again';
  gate.style.display = '';
};
Module.onExit = function (status) { if (status !== 0) { state = 'failed'; gate.style.display = ''; } };
// The gate shows its own progress; Emscripten's status lines stay off it.
Module.setStatus = function () {};

// Stages of the loading, for the browser's performance panel and the page check.
function mark(name) { if (window.performance && performance.mark) performance.mark(name); }

function webgl2() {
  try { return !!document.createElement('canvas').getContext('webgl2'); } catch (e) { return false; }
}

// The runtime's script, the program and the data come down together under one progress bar,
// and the program is compiled while the data still arrives. The script runs only once all is
// here: Emscripten's file packager asks for the data (Module.getPreloadedPackage) as it starts.
var parts = (function () {
  var inert = document.getElementById('runtime').content;
  var script = inert && inert.querySelector('script[src]'), js = script ? script.getAttribute('src') : 'index.js';
  return [js, js.replace(/\.js$/, '.wasm'), js.replace(/\.js$/, '.data')].map(function (name) {
    return { name: name, file: (packed[name] || {}).file || name, received: 0, total: 0, bytes: null, arrived: false };
  });
})();
var program = null;  // the compiled WebAssembly module, kept across retries
var stallSeconds = 20;

function showProgress() {
  var got = 0, total = 0, done = parts.every(function (part) { return part.arrived; });
  parts.forEach(function (part) {
    if (!part.total) return;  // no length known: left out rather than guessed
    got += Math.min(part.received, part.total);
    total += part.total;
  });
  if (!total) return;
  var fraction = done ? 1 : got / total;
  document.getElementById('bar').style.width = (fraction * 100).toFixed(1) + '%';
  document.getElementById('percent').textContent = Math.min(Math.floor(fraction * 100), done ? 100 : 99) + '%';
}

var checkConnection = 'Check the connection and try again.';
function DownloadError(text, advice) { this.text = text + ' ' + (advice || checkConnection); }
function Refused(error) { this.error = error; }

// Fetches one part, counting the bytes as they come, and inflates it on the way if it is gzip
// (a server may have decoded it already: the magic bytes decide, not the file name).
function download(part, mine) {
  var info = packed[part.name] || {}, file = part.file;
  var controller = window.AbortController ? new AbortController() : null;
  if (controller) mine.controllers.push(controller);
  part.received = 0;
  part.total = info.size || 0;  // until the server says
  part.lastData = Date.now();
  return fetch(file, controller ? { signal: controller.signal } : {}).then(function (response) {
    if (!response.ok) throw new DownloadError(file + ': the server answered ' + response.status + (response.statusText ? ' ' + response.statusText : '') + '.',
                                              'Try again in a while; if it keeps failing, the site is missing the file.');
    // With a Content-Encoding the body arrives decoded, so the length on the wire does not count it.
    part.total = response.headers.get('Content-Encoding') ? (info.raw || 0) :
                 (Number(response.headers.get('Content-Length')) || info.size || 0);
    var reader = response.body.getReader(), head = [], kept = [], writer = null, inflated = null;
    function take(chunk) {
      if (writer) writer.write(chunk).catch(function () {}); else kept.push(chunk);
    }
    function decide() {
      var bytes = [];
      head.forEach(function (chunk) { for (var i = 0; i < chunk.length && bytes.length < 2; i++) bytes.push(chunk[i]); });
      if (bytes[0] === 0x1f && bytes[1] === 0x8b) {
        if (!window.DecompressionStream) throw new DownloadError('This browser cannot unpack the compressed ' + file + '.', 'A current browser can.');
        var stream = new DecompressionStream('gzip');
        writer = stream.writable.getWriter();
        inflated = new Response(stream.readable).arrayBuffer();
        inflated.catch(function () {});  // answered in finish(), or dropped with an aborted attempt
      }
      var waiting = head;
      head = null;
      waiting.forEach(take);
    }
    function finish() {
      if (head) decide();
      if (!writer) return new Blob(kept).arrayBuffer();
      writer.close().catch(function () {});
      return inflated.catch(function () { throw new DownloadError(file + ' arrived damaged.'); });
    }
    function pump() {
      return reader.read().then(function (step) {
        if (mine.failed) { reader.cancel().catch(function () {}); return null; }
        if (step.done) return finish();
        part.received += step.value.length;
        part.lastData = Date.now();
        showProgress();
        if (head) {
          head.push(step.value);
          if (part.received >= 2) decide();
        } else {
          take(step.value);
        }
        return pump();
      });
    }
    return pump();
  }).then(function (bytes) {
    if (mine.failed) return;
    if (info.raw && bytes.byteLength !== info.raw) throw new DownloadError(file + ' arrived incomplete.');
    part.bytes = bytes;
    part.arrived = true;
    mark(part.name + ' arrived');
    showProgress();
  }, function (error) {
    if (error instanceof DownloadError || mine.failed) throw error;
    throw new DownloadError(file + ' did not come through (' + (error && error.message || error) + ').');
  });
}

function stop(mine) {
  mine.failed = true;
  clearInterval(mine.watchdog);
  mine.controllers.forEach(function (controller) { controller.abort(); });
}

function downloadFailed(mine, headline, explanation) {
  if (mine.failed) return;
  stop(mine);
  state = 'unreachable';
  console.warn('download: ' + explanation);
  tell(headline, explanation, true);
}

function fetchEverything() {
  var mine = { failed: false, controllers: [] };
  state = 'loading';
  tell('loading\u2026', '', false);
  document.getElementById('progress').hidden = false;
  showProgress();
  mine.watchdog = setInterval(function () {
    var now = Date.now();
    parts.forEach(function (part) {
      if (!part.arrived && now - part.lastData > stallSeconds * 1000)
        downloadFailed(mine, 'The download stalled', part.file + ': nothing arrived for ' + stallSeconds + ' seconds. ' + checkConnection);
    });
  }, 1000);
  // Parts that arrived in an earlier attempt are kept.
  var arrived = parts.map(function (part) { return part.arrived ? Promise.resolve() : download(part, mine); });
  var compiled = arrived[1].then(function () {
    if (mine.failed || program) return;
    return WebAssembly.compile(parts[1].bytes).then(function (module) { mark('program compiled'); program = module; },
                                                    function (error) { throw new Refused(error); });
  });
  Promise.all(arrived.concat([compiled])).then(function () {
    if (mine.failed) return;
    clearInterval(mine.watchdog);
    mark('runtime started');
    say.textContent = 'starting\u2026';
    run();
  }).catch(function (error) {
    if (error instanceof Refused) {
      stop(mine);
      state = 'unsupported';
      tell('This browser cannot run Taluvine', 'Its WebAssembly refused the program (' + error.error.message + '). ' +
           'A current browser, or the Windows or Linux release, will play it.', false);
    } else {
      downloadFailed(mine, 'The download failed', error instanceof DownloadError ? error.text : error + ' ' + checkConnection);
    }
  });
}

function run() {
  var data = parts[2].bytes, script = document.createElement('script');
  Module.getPreloadedPackage = function () { var bytes = data; data = null; return bytes; };
  Module.instantiateWasm = function (imports, receive) {
    WebAssembly.instantiate(program, imports).then(function (instance) { receive(instance, program); },
      function (error) { Module.printErr('the program would not start: ' + error.message); });
    return {};
  };
  script.src = URL.createObjectURL(new Blob([parts[0].bytes], { type: 'text/javascript' }));
  parts.forEach(function (part) { part.bytes = null; });
  document.body.appendChild(script);
}

retry.addEventListener('click', function (e) { e.stopPropagation(); fetchEverything(); });
function start() {
  if (!webgl2()) {
    state = 'unsupported';
    tell('This browser cannot show Taluvine',
         'The demo draws with WebGL 2, which this browser does not offer or has turned off. ' +
         'Open the page in a current browser with WebGL 2 (and hardware acceleration) turned on, ' +
         'or play the Windows or Linux release instead.', false);
  } else if (!window.fetch || !window.ReadableStream || !window.WebAssembly ||
             (!window.DecompressionStream && Object.keys(packed).length)) {
    state = 'unsupported';
    tell('This browser cannot show Taluvine', 'It is too old for the demo. Open the page in a current browser, ' +
         'or play the Windows or Linux release instead.', false);
  } else {
    fetchEverything();
  }
}
// The first WebGL context can take a while (a GPU process starting): the gate is drawn first.
// The timer covers a tab opened in the background, which draws no frames.
var starting = false;
function startOnce() { if (!starting) { starting = true; setTimeout(start, 0); } }
if (window.requestAnimationFrame) requestAnimationFrame(startOnce);
setTimeout(startOnce, 100);
