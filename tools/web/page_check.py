#!/usr/bin/python3
"""Opens the web page in headless Chromium through the DevTools protocol and checks it.

Serves SITE on 127.0.0.1 only (a plain static server, no compression) and starts Chromium
(SwiftShader, audio allowed without a gesture), then:
  - loads the page once with the cache off, counting the bytes the server sends and the time to
    the start gate, and reads the drawing buffer, the displayed size and the multisampling;
  - plays from 0 with a key, then makes the window 1920x1080 while playing;
  - for each moment T, loads #t=T&hold, presses a key and takes a screenshot of the frame at T;
  - loads at device pixel ratio 2, starts with a tap, and goes to ratio 1 at 1280x720 while playing;
  - reads the gate's percentage during a throttled download;
  - loads without WebGL 2, and with the data failing (HTTP 404, then a network error) before
    the retry button gets it through;
  - plays the page as a player (check_player): the bar with the pointer, Space, frame steps, a
    click on the bar (its frame is left as web_seek.png, its time in the report, for the native
    capture to compare), ten hides behind another tab, a lost and restored WebGL context, the
    link to a moment, the frame-rate guard at 1920x1080 with and without #full, and a phone held
    upright and turned (screenshots for the record).
QVL_WEB_RATES=1 instead plays a few seconds into each moment's scene at 960x540 and 1920x1080
and reads the frame rates (SwiftShader draws on the CPU: the figures say nothing of a GPU).
Every server and browser is stopped by its PID. Prints JSON on standard output.

Usage: page_check.py SITE OUT_DIR WIDTH HEIGHT T...
"""
import base64
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

import websocket

processes = []


def stop_all():
    for p in reversed(processes):
        if p.poll() is None:
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()


def fail(message):
    print(json.dumps({"fatal": message}))
    stop_all()
    sys.exit(1)


def serve(site):
    """A plain static server for SITE on 127.0.0.1; returns its port."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    processes.append(subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1",
                                       "--directory", site], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                      start_new_session=True))
    for _ in range(100):
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return port
        time.sleep(0.1)
    fail("the static server did not start")


def chromium(width, height, log_path):
    """Starts headless Chromium; returns the DevTools web socket address of its page."""
    profile = tempfile.mkdtemp(prefix="qvl-chromium-")
    processes.append(subprocess.Popen(
        ["chromium", "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--autoplay-policy=no-user-gesture-required", "--no-first-run", "--no-default-browser-check",
         "--disable-gpu-vsync", "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
         f"--user-data-dir={profile}", f"--window-size={width},{height}", "--force-device-scale-factor=1",
         "--no-sandbox", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=open(log_path, "w"), start_new_session=True))
    active = os.path.join(profile, "DevToolsActivePort")
    for _ in range(300):
        if os.path.exists(active) and open(active).read().strip():
            break
        time.sleep(0.1)
    else:
        fail("Chromium did not open its DevTools port")
    devtools_port = int(open(active).read().split()[0])
    for _ in range(100):
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{devtools_port}/json/list"))
        pages = [t for t in targets if t.get("type") == "page"]
        if pages:
            return pages[0]["webSocketDebuggerUrl"]
        time.sleep(0.1)
    fail("Chromium opened no page")


class Page:
    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=120, suppress_origin=True)
        self.next_id = 0
        self.console = []   # (type, text)
        self.errors = []    # exceptions and error log entries
        # While a check fails the download on purpose, the browser's own reports of the failed
        # request are expected; anything else is still an error.
        self.network_failures_expected = False
        self.urls = {}      # request id: address
        self.sent = {}      # address: bytes received over HTTP since the last open()
        self.paused = []    # Fetch.requestPaused events not yet answered
        self.requests = []  # (monotonic seconds, address) of every request the page made
        self.target_id = self.send("Target.getTargetInfo")["targetInfo"]["targetId"]
        self.other_tab = None   # the tab put in front to hide this one
        self.hiding = None      # how hide() hides the page, once it has
        self.pointer_moves = 0

    def send(self, method, **params):
        self.next_id += 1
        mine = self.next_id
        self.ws.send(json.dumps({"id": mine, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == mine:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self.event(message)

    def event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params.get("args", []))
            self.console.append((params.get("type"), text))
            if params.get("type") in ("error", "assert"):
                self.errors.append("console.error: " + text)
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            self.errors.append("exception: " + details.get("exception", {}).get("description", details.get("text", "")))
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            entry = params["entry"]
            if not (self.network_failures_expected and entry.get("source") == "network"):
                self.errors.append("log: " + entry.get("text", ""))
        elif method == "Network.requestWillBeSent":
            self.urls[params["requestId"]] = params["request"]["url"]
            self.requests.append((time.monotonic(), params["request"]["url"]))
        elif method == "Network.loadingFinished":
            url = self.urls.get(params["requestId"], "")
            if url.startswith("http"):  # not the blob: and data: addresses the page makes itself
                self.sent[url] = self.sent.get(url, 0) + int(params.get("encodedDataLength", 0))
        elif method == "Fetch.requestPaused":
            self.paused.append(params)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")

    def wait_for(self, expression, seconds, interval=0.2):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(interval)
        return None

    def next_paused(self, seconds):
        deadline = time.monotonic() + seconds
        while not self.paused and time.monotonic() < deadline:
            self.evaluate("0")  # reads the events that came meanwhile
            time.sleep(0.1)
        return self.paused.pop(0) if self.paused else None

    def open(self, url):
        self.send("Page.navigate", url="about:blank")
        self.sent = {}
        self.send("Page.navigate", url=url)

    def metrics(self, width, height, scale=1):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=scale, mobile=False)

    def press_key(self):
        self.key("Enter", "Enter", 13, "\r")

    def key(self, key, code, key_code, text=""):
        for kind in ("keyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key=key, code=code, windowsVirtualKeyCode=key_code,
                      text=text if kind == "keyDown" else "")

    def centre(self, element_id):
        return self.evaluate(f"(function () {{ var e = document.getElementById('{element_id}'); if (!e) return null;"
                             " var r = e.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()")

    def move_pointer(self, x, y):
        self.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)

    def click_at(self, x, y):
        self.move_pointer(x, y)
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def click(self, element_id):
        point = self.centre(element_id)
        if point:
            self.click_at(*point)
        return bool(point)

    def tap(self, element_id):
        point = self.centre(element_id)
        if not point:
            return False
        x, y = point
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        return True

    def ready(self, seconds=300):
        return self.wait_for("typeof state !== 'undefined' && state === 'ready'", seconds)

    def screenshot(self, path, clip=None):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.send("Page.captureScreenshot", format="png",
                                               **({"clip": clip} if clip else {}))["data"]))

    def picture(self, path):
        """A screenshot of the canvas alone. The bar is the page's, drawn over the canvas, so a
        clip cannot leave it out: it is made invisible for the screenshot."""
        box = self.evaluate("(function () { var p = document.getElementById('player');"
                            " if (p) p.style.visibility = 'hidden';"
                            " var r = document.getElementById('canvas').getBoundingClientRect();"
                            " return [r.left, r.top, r.width, r.height]; })()")
        try:
            self.screenshot(path, dict(x=box[0], y=box[1], width=box[2], height=box[3], scale=1))
        finally:
            self.evaluate("(function () { var p = document.getElementById('player');"
                          " if (p) p.style.visibility = ''; })()")

    def clock(self):
        """What the program last published: demo time, music position, frames drawn, paused."""
        return self.evaluate("({time: Module.qvlTime, music: Module.qvlMusicTime === undefined ? null : Module.qvlMusicTime,"
                             " frames: Module.qvlFrames || 0, paused: !!Module.qvlPaused})")

    def audio_state(self):
        return self.evaluate("typeof AL !== 'undefined' && AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'")

    def bar(self):
        """The player bar as a viewer sees it: whether it has the class `shown` and its opacity
        now (mid-fade as it is drawn); no bar, or one not displayed, is opacity 0."""
        state = self.evaluate("(function () { var p = document.getElementById('player'); if (!p) return [false, 0];"
                              " var s = getComputedStyle(p), visible = p.getClientRects().length > 0 &&"
                              " s.visibility !== 'hidden'; return [p.classList.contains('shown'),"
                              " visible ? parseFloat(s.opacity) : 0]; })()")
        return {"shown": bool(state and state[0]), "opacity": state[1] if state else 0}

    def wait_bar(self, shown, seconds):
        """Polls until the bar is there (shown, opacity over 0.5) or gone (neither, opacity under
        0.1); the bar's state then, and how long it took."""
        start = time.monotonic()
        while True:
            state = self.bar()
            there = state["shown"] and state["opacity"] > 0.5
            gone = not state["shown"] and state["opacity"] < 0.1
            if (there if shown else gone) or time.monotonic() - start >= seconds:
                return dict(state, seconds=round(time.monotonic() - start, 2))
            time.sleep(0.1)

    def wake_bar(self):
        """Moves the pointer over the upper middle of the page, a pixel aside from the last
        move so that the browser reports a move."""
        self.pointer_moves += 1
        width, height = self.evaluate("[innerWidth, innerHeight]")
        self.move_pointer(width / 2 + self.pointer_moves % 2, height / 3)

    # The two ways the check hides the page, the first tried first.
    REAL_HIDE = "another tab in front"
    SENT_HIDE = "visibilitychange sent by the check"

    def hide(self):
        """Puts another tab in front, as a viewer switching tabs does: the page is hidden for real
        (visibilitychange, and no animation frames while hidden). Where the browser does not
        hide it so, the check tells the page itself: it overrides document.visibilityState and
        document.hidden and sends visibilitychange, and the page's frames go on. Returns which
        of the two it took."""
        if self.hiding != self.SENT_HIDE:
            if not self.other_tab:
                self.other_tab = self.send("Target.createTarget", url="about:blank", background=True)["targetId"]
            self.send("Target.activateTarget", targetId=self.other_tab)
            if self.wait_for("document.visibilityState === 'hidden'", 3, 0.05):
                self.hiding = self.REAL_HIDE
                return self.hiding
            self.send("Target.activateTarget", targetId=self.target_id)
        self.hiding = self.SENT_HIDE
        self.evaluate("""(function () {
            Object.defineProperty(document, 'visibilityState', { configurable: true, get: function () { return 'hidden'; } });
            Object.defineProperty(document, 'hidden', { configurable: true, get: function () { return true; } });
            document.dispatchEvent(new Event('visibilitychange')); })()""")
        return self.hiding

    def show(self):
        if self.hiding == self.REAL_HIDE:
            self.send("Target.activateTarget", targetId=self.target_id)
        else:
            self.evaluate("""(function () { delete document.visibilityState; delete document.hidden;
                document.dispatchEvent(new Event('visibilitychange')); })()""")
        return self.wait_for("document.visibilityState === 'visible'", 3, 0.05)

    def close_other_tab(self):
        if self.other_tab:
            self.send("Target.closeTarget", targetId=self.other_tab)
            self.other_tab = None

    def start_at(self, base, moment, hold=False, full=False):
        """Opens the page at #t=MOMENT (held there with `hold`, every pixel with `full`) and
        starts it with a key."""
        self.open(f"{base}#t={moment:g}" + ("&hold" if hold else "") + ("&full" if full else ""))
        if not self.ready():
            fail(f"t={moment:g}: the start gate never opened")
        self.press_key()

    def hold_at(self, base, moment):
        """Starts the page held at MOMENT and waits until the frame at MOMENT is drawn: the
        second before it at 30 frames a second, then the moment itself."""
        self.start_at(base, moment, hold=True)
        if not self.wait_for(f"Module.qvlFrames > 34 && Module.qvlTime === {moment:g}", 300):
            fail(f"t={moment:g}: the moment was never drawn")

    def sizes(self):
        """The drawing buffer and the displayed size the page reports, in device pixels."""
        return self.evaluate("[[canvas.width, canvas.height], Module.qvlDisplaySize || null]")

    def gate_words(self):
        return self.evaluate("say.textContent + ' / ' + detail.textContent")


def buffer_report(page, width, height, scale):
    buffer, shown = page.sizes()
    want = [width * scale, height * scale]
    return {"want": want, "buffer": buffer, "display_size": shown, "ok": buffer == want and shown == want}


def check_page(page, base, out_dir, width, height, moments, report):
    # Loading: from navigation to the start gate, with the report on the console; every byte
    # comes from the server (no cache).
    page.send("Network.setCacheDisabled", cacheDisabled=True)
    started = time.monotonic()
    # #full: the drawing buffer must follow the displayed size here, and SwiftShader is slow
    # enough for the frame-rate guard to draw fewer pixels (check_guard() checks the guard).
    page.open(base + "#full")
    if not page.ready():
        fail("the start gate never opened: " + "; ".join(page.errors[-3:] or [str(page.gate_words())]))
    report["load_seconds"] = round(time.monotonic() - started, 2)
    report["loading_report"] = [text for kind, text in page.console if text.startswith(("loading time", "    texture"))]
    page.evaluate("0")
    report["bytes_sent"] = page.sent
    report["at_load"] = buffer_report(page, width, height, 1)
    report["samples"] = page.evaluate("Module.qvlSamples === undefined ? null : Module.qvlSamples")

    # Playing from 0: the clock must start with the music, then run; a larger window while
    # playing gets a larger drawing buffer, and the clock and the sound carry on.
    page.press_key()
    if not page.wait_for("Module.qvlTime > 2", 120):
        fail("the programme did not play from 0: " + "; ".join(page.errors[-3:]))
    report["audio_state"] = page.evaluate("AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'")
    report["played_to"] = page.evaluate("Module.qvlTime")
    before = page.evaluate("Module.qvlTime")
    page.metrics(1920, 1080)
    page.wait_for("canvas.width === 1920 && canvas.height === 1080", 10)
    report["resized"] = buffer_report(page, 1920, 1080, 1)
    # A frame this size takes SwiftShader a while: a second of demo time is enough to see it run on.
    page.wait_for(f"Module.qvlTime > {before + 1}", 30)
    report["resized"].update(clock=[before, page.evaluate("Module.qvlTime")],
                             audio_state=page.evaluate("AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'"))
    page.metrics(width, height)

    for moment in moments:
        page.hold_at(base, moment)
        path = os.path.join(out_dir, f"web_t{moment:g}.png")
        page.screenshot(path)
        if moment == moments[0]:
            # The checks' mode has no bar, whatever the pointer does.
            page.wake_bar()
            report["hold_bar"] = page.wait_bar(True, 1)

    # Twice the device pixels for the same CSS size; a tap starts it; back to ratio 1 while playing.
    page.metrics(width, height, 2)
    page.open(base + "#full")
    if not page.ready():
        fail("at device pixel ratio 2: the start gate never opened")
    report["ratio_2"] = buffer_report(page, width, height, 2)
    page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
    page.tap("gate")
    report["tap"] = {"played_to": page.wait_for("state === 'playing' && Module.qvlTime > 1 && Module.qvlTime", 60)}
    page.send("Emulation.setTouchEmulationEnabled", enabled=False)
    # DevTools' emulation changes the ratio without the events a real change of screen or zoom
    # brings (resolution media queries, the device-pixel box), so the CSS size changes with it.
    page.metrics(1280, 720)
    page.wait_for("canvas.width === 1280 && canvas.height === 720", 10)
    report["ratio_back"] = buffer_report(page, 1280, 720, 1)
    page.metrics(width, height)

    # Progress while the data comes at about 3 MB/s.
    page.send("Network.emulateNetworkConditions", offline=False, latency=0, downloadThroughput=3e6,
              uploadThroughput=3e6)
    page.open(base)
    page.wait_for("typeof state !== 'undefined'", 30)
    shown, deadline = [], time.monotonic() + 30
    while time.monotonic() < deadline and page.evaluate("state") == "loading":
        text = page.evaluate("document.getElementById('percent') ? document.getElementById('percent').textContent : ''")
        if text and (not shown or shown[-1] != text):
            shown.append(text)
        time.sleep(0.25)
    report["progress"] = shown
    page.send("Network.emulateNetworkConditions", offline=False, latency=0, downloadThroughput=-1, uploadThroughput=-1)

    # No WebGL 2: words on the gate, and nothing downloaded.
    script = page.send("Page.addScriptToEvaluateOnNewDocument", source="""
        (function () { var get = HTMLCanvasElement.prototype.getContext;
          HTMLCanvasElement.prototype.getContext = function (kind) {
            return kind === 'webgl2' ? null : get.apply(this, arguments); }; })();""")["identifier"]
    page.open(base)
    report["no_webgl2"] = {"state": page.wait_for("typeof state !== 'undefined' && state !== 'loading' && state", 30),
                           "words": page.gate_words()}
    time.sleep(1)
    page.evaluate("0")
    report["no_webgl2"]["downloaded"] = sorted(page.sent)
    page.send("Page.removeScriptToEvaluateOnNewDocument", identifier=script)

    # The data fails, first with an HTTP error, then with a network error; the retry button
    # then gets it through.
    page.network_failures_expected = True
    page.send("Fetch.enable", patterns=[{"urlPattern": "*index.data*", "requestStage": "Request"}])
    page.open(base)
    failures = []
    for answer in ("404", "network"):
        paused = page.next_paused(60)
        if not paused:
            fail("the page never asked for the data")
        if answer == "404":
            page.send("Fetch.fulfillRequest", requestId=paused["requestId"], responseCode=404,
                      responseHeaders=[{"name": "Content-Type", "value": "text/plain"}], body="")
        else:
            page.send("Fetch.failRequest", requestId=paused["requestId"], errorReason="ConnectionReset")
        state = page.wait_for("state !== 'loading' && state", 30)
        failures.append({"answer": answer, "state": state, "words": page.gate_words(),
                         "retry_shown": page.evaluate("!retry.hidden")})
        if failures[-1]["retry_shown"]:
            page.click("retry")
    page.send("Fetch.disable")
    report["failed_download"] = {"failures": failures, "ready_after_retry": bool(page.ready(120))}
    page.network_failures_expected = False

    check_player(page, base, out_dir, report)


# The page as a player. Times are demo seconds; the chapters and the length are the programme's.
LENGTH = 172
SEEK_TO = 150      # the face, in the bar's last chapter
SHARE_AT = 150.7   # a fraction over a half: a link floored and one rounded differ
FRAME = 1 / 60


def music_offsets(page, count=8, seconds=15):
    """Music position minus picture time for COUNT frames in a row while playing: the program
    publishes both together after each frame."""
    offsets, frames = [], page.clock()["frames"]
    deadline = time.monotonic() + seconds
    while len(offsets) < count and time.monotonic() < deadline:
        now = page.clock()
        if now["frames"] > frames:
            frames = now["frames"]
            if now["music"] is not None:
                offsets.append(round(now["music"] - now["time"], 4))
        time.sleep(0.02)
    return offsets


def new_frame(page, frames, seconds=10, condition="true"):
    """Waits for a frame after the FRAMES-th one (and CONDITION); the clock then."""
    page.wait_for(f"(Module.qvlFrames || 0) > {frames} && ({condition})", seconds, 0.05)
    return page.clock()


def check_bar_and_pause(page, base, out_dir, player):
    """Plays from 0 at 960x540: the bar with the pointer, Space, a frame step each way, a click
    on the bar, the link to the moment, Space again."""
    # Every pixel (#full): the frame after the seek is compared with the native capture's.
    page.open(base + "#full")
    if not page.ready():
        fail("player: the start gate never opened")
    page.press_key()
    if not page.wait_for("Module.qvlTime > 1", 60):
        fail("player: the programme did not play from 0")
    player["audio_state"] = page.audio_state()

    # While playing the bar comes with the pointer and goes a while after it stops.
    page.wake_bar()
    moved = time.monotonic()
    player["bar_playing"] = page.wait_bar(True, 2)
    page.screenshot(os.path.join(out_dir, "player_playing.png"))
    player["bar_gone"] = dict(page.wait_bar(False, 5 - (time.monotonic() - moved)))
    player["bar_gone"]["seconds"] = round(time.monotonic() - moved, 2)
    player["offsets_playing"] = music_offsets(page)

    # Space pauses: nothing moves for 2 s, and the bar stays.
    page.wake_bar()
    page.key(" ", "Space", 32, " ")
    last_input = time.monotonic()
    page.wait_for("Module.qvlPaused === true", 5, 0.05)
    before = page.clock()
    page.picture(os.path.join(out_dir, "paused_a.png"))
    time.sleep(2)
    after = page.clock()
    page.picture(os.path.join(out_dir, "paused_b.png"))
    player["pause"] = {"before": before, "after": after}
    time.sleep(max(0.0, last_input + 4.2 - time.monotonic()))
    player["bar_paused"] = dict(page.bar(), seconds=round(time.monotonic() - last_input, 2))
    page.screenshot(os.path.join(out_dir, "player_paused.png"))

    # One frame forward, one back, while paused.
    steps = []
    for key, code, key_code in ((".", "Period", 190), (",", "Comma", 188)):
        before = page.clock()
        page.key(key, code, key_code, key)
        steps.append({"key": key, "before": before, "after": new_frame(page, before["frames"])})
    player["steps"] = steps

    # A click on the bar at SEEK_TO, still paused: one frame is drawn, at that time.
    track = page.evaluate("(function () { var t = document.getElementById('timeline'); if (!t) return null;"
                          " var r = t.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()")
    seek = {"track": track, "drawn": False}
    if track:
        frames = page.clock()["frames"]
        x, y = track[0] + track[2] * SEEK_TO / LENGTH, track[1] + track[3] / 2
        page.move_pointer(x, y)
        page.click_at(x, y)
        seek["drawn"] = bool(page.wait_for(f"Module.qvlFrames > {frames} && Math.abs(Module.qvlTime - {SEEK_TO}) < 0.5",
                                           10, 0.05))
        time.sleep(0.3)  # a press and a release may each seek: the frame of the last one
        seek.update(page.clock(), audio_state=page.audio_state())
        page.picture(os.path.join(out_dir, "web_seek.png"))
    player["seek"] = seek

    # To the very end and back while paused: the music, stopped at its end, comes back with the
    # picture.
    frames = page.clock()["frames"]
    page.evaluate(f"Module._qvl_web_seek({LENGTH}), 0")
    new_frame(page, frames, 10, f"Module.qvlTime === {LENGTH}")
    frames = page.clock()["frames"]
    page.evaluate("Module._qvl_web_seek(100), 0")
    player["end_and_back"] = new_frame(page, frames, 10, "Module.qvlTime === 100")

    # The link to this moment, made at SHARE_AT.
    frames = page.clock()["frames"]
    page.evaluate(f"Module._qvl_web_seek({SHARE_AT}), 0")
    share = {"time": new_frame(page, frames, 10, f"Math.abs(Module.qvlTime - {SHARE_AT}) < 1e-3")["time"]}
    page.wake_bar()
    page.wait_bar(True, 2)
    share["clicked"] = page.click("share")
    share["link"] = page.wait_for("window.qvlSharedLink", 5, 0.1)
    share["field_shown"] = page.evaluate("(function () { var l = document.getElementById('link'); return !!l && !l.hidden; })()")
    player["share"] = share
    # Where the clipboard was refused the link stands selected in a field, whose keys are its
    # own; a viewer leaves it before using the player's keys.
    page.evaluate("document.activeElement && document.activeElement.id === 'link' && document.activeElement.blur(), 0")

    # Space again plays on (the focus is on #share now, as after a viewer's click).
    before = page.clock()
    page.key(" ", "Space", 32, " ")
    page.wait_for(f"!Module.qvlPaused && Module.qvlTime > {before['time'] + 0.3}", 15, 0.1)
    player["resume"] = {"before": before, "after": page.clock(), "offsets": music_offsets(page, 5)}


def check_hidden(page, player):
    """Ten times hidden and shown while playing: each hide pauses, each show goes on from there."""
    cycles = []
    for _ in range(10):
        before = page.clock()
        method = page.hide()
        at_hide = page.clock()
        state = page.evaluate("document.visibilityState")
        # A page that played on while hidden would be this much further on.
        time.sleep(1)
        during = page.clock()
        page.show()
        after = new_frame(page, during["frames"], 15)
        cycles.append({"method": method, "state": state, "before": before, "at_hide": at_hide,
                       "during": during, "after": after, "hidden_seconds": 1})
    page.close_other_tab()
    player["hidden"] = {"cycles": cycles, "offsets_after": music_offsets(page)}


def check_lost_context(page, base, out_dir, player):
    """The WebGL context taken away while playing, then given back."""
    lost = {}
    errors = len(page.errors)
    mark = time.monotonic()
    lost["extension"] = page.evaluate(
        "(function () { window.qvlLoseContext = document.getElementById('canvas').getContext('webgl2')"
        ".getExtension('WEBGL_lose_context'); if (!window.qvlLoseContext) return false;"
        " window.qvlLoseContext.loseContext(); return true; })()")
    shown = ("(function () { var l = document.getElementById('lost'); return !!l && l.getClientRects().length > 0"
             " && getComputedStyle(l).visibility !== 'hidden'; })()")
    lost["shown"] = bool(page.wait_for(f"{shown} && Module.qvlPaused", 10, 0.05))
    lost["words"] = page.evaluate("(function () { var l = document.getElementById('lost'); return l ? l.textContent.trim() : ''; })()")
    lost["at_loss"] = page.clock()
    page.evaluate("window.qvlLoseContext && window.qvlLoseContext.restoreContext(), 0")
    restored = time.monotonic()
    lost["back"] = bool(page.wait_for(f"!{shown} && Module.qvlFrames > {lost['at_loss']['frames']}", 30, 0.05))
    lost["first"] = page.clock()
    # Anything the page fetched again, or complained of, comes within a few seconds.
    time.sleep(max(0.0, restored + 3 - time.monotonic()))
    lost["later"] = page.clock()
    origin = base.split("/index.html")[0]
    lost["requests"] = [url for at, url in page.requests if at >= mark and url.startswith(origin)]
    lost["errors"] = page.errors[errors:]
    page.picture(os.path.join(out_dir, "restored.png"))
    player["lost"] = lost


def check_link(page, player):
    """The copied link, opened and started: it plays from its second."""
    link = player["share"].get("link")
    if not link:
        return
    page.open(link)
    if not page.ready():
        fail("the copied link: the start gate never opened")
    page.press_key()
    player["link_start"] = new_frame(page, 0, 60, "Module.qvlTime !== undefined")
    player["link_start"]["offsets"] = music_offsets(page, 5)


def check_end(page, base, player):
    """Near the end the programme runs out: the gate comes back, and a key plays it again from
    the start in the same page, with nothing downloaded again."""
    end = {}
    page.evaluate(f"Module._qvl_web_seek({LENGTH - 1.5}), 0")
    end["over"] = bool(page.wait_for("state === 'over' && Module.qvlPaused", 30, 0.1))
    end["at_end"] = page.clock()
    mark = time.monotonic()
    page.press_key()
    end["again"] = bool(page.wait_for("state === 'playing' && !Module.qvlPaused && Module.qvlTime < 5", 30, 0.1))
    end["after"] = page.clock()
    origin = base.split("/index.html")[0]
    end["requests"] = [url for at, url in page.requests if at >= mark and url.startswith(origin)]
    player["end"] = end


def check_guard(page, base, player):
    """At 1920x1080 SwiftShader cannot keep up: the guard draws fewer pixels, soon, and keeps
    to its scale; with #full it draws them all."""
    page.metrics(1920, 1080)
    sample = ("(function () { var c = document.getElementById('canvas'), r = c.getBoundingClientRect();"
              " return [Module.qvlScale, c.width, c.height, r.width, r.height, Module.qvlFrames, Module.qvlTime]; })()")
    page.start_at(base, 20)
    guard = {"played": bool(page.wait_for("Module.qvlTime > 20", 60, 0.1))}
    started = time.monotonic()
    guard["first_frames"] = page.evaluate("Module.qvlFrames")
    # Wanted within about 6 s; polled longer only to tell how late it comes.
    guard["lowered"] = page.wait_for(f"Module.qvlScale < 1 && canvas.width < 1920 && {sample}", 20, 0.1)
    guard["lowered_after"] = round(time.monotonic() - started, 2)
    samples, first = [], time.monotonic()
    if guard["lowered"]:
        for i in range(21):  # every 0.5 s for 10 s
            time.sleep(max(0.0, first + 0.5 * i - time.monotonic()))
            samples.append(page.evaluate(sample))
        guard["fps"] = round((samples[-1][5] - samples[0][5]) / (time.monotonic() - first), 2)
    guard["samples"] = samples
    player["guard"] = guard

    # The same 8 s with every pixel; its rate over the second half.
    page.start_at(base, 20, full=True)
    page.wait_for("Module.qvlTime > 20", 60, 0.1)
    time.sleep(4)
    frames, counted = page.clock()["frames"], time.monotonic()
    time.sleep(4)
    now = page.evaluate(sample)
    player["full"] = {"sample": now, "fps": round((now[5] - frames) / (time.monotonic() - counted), 2)}


def check_phones(page, base, out_dir, player):
    """A phone held upright, then turned: screenshots for the record, and the picture's box."""
    phone = {}
    page.send("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=3, mobile=True,
              screenOrientation={"type": "portraitPrimary", "angle": 0})
    page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    # #full: the buffer must be the picture's box, which the guard would make smaller here. From
    # the helix, so that the screenshots show a picture rather than the logo's dark start.
    page.open(base + "#t=20&full")
    if not page.ready():
        fail("on a phone: the start gate never opened")
    phone["turn"] = bool(page.wait_for("(function () { var t = document.getElementById('turn');"
                                       " return !!t && t.getClientRects().length > 0; })()", 5))
    page.screenshot(os.path.join(out_dir, "phone_portrait_gate.png"))
    page.tap("gate")
    page.wait_for("Module.qvlFrames > 2", 60, 0.1)
    page.wait_for("Math.abs(canvas.width - 1170) <= 1 && Math.abs(canvas.height - 658) <= 1", 10)
    phone["portrait"] = page.sizes()
    page.screenshot(os.path.join(out_dir, "phone_portrait.png"))

    page.send("Emulation.setDeviceMetricsOverride", width=844, height=390, deviceScaleFactor=3, mobile=True,
              screenOrientation={"type": "landscapePrimary", "angle": 90})
    page.wait_for("canvas.height > 1000", 10)
    page.tap("canvas")
    # Frames this size take SwiftShader seconds, and the tap waits for the frame under way.
    landscape = {"sizes": page.sizes(), "bar": page.wait_bar(True, 8), "bar_by": "a tap"}
    if not landscape["bar"]["shown"]:
        page.wake_bar()
        landscape.update(bar=page.wait_bar(True, 2), bar_by="the pointer")
    landscape["paused"] = page.clock()["paused"]
    # The bar fades 2.5 s after the tap, sooner than a frame this size reaches a screenshot
    # here: for the record, a pointer resting on the bar keeps it.
    point = page.centre("elapsed")
    if point:
        page.move_pointer(*point)
        page.wait_bar(True, 8)
        page.move_pointer(point[0] + 1, point[1])
    page.screenshot(os.path.join(out_dir, "phone_landscape.png"))
    phone["landscape"] = landscape
    player["phone"] = phone
    page.send("Emulation.setTouchEmulationEnabled", enabled=False)


def check_player(page, base, out_dir, report):
    """The page as a player: the bar, pausing and stepping, a seek on the bar (its frame and
    time left in the report for the native capture to compare), a hidden page, a lost WebGL
    context, the link to a moment, the frame-rate guard and phones."""
    player = report["player"] = {"seconds": {}}
    size = page.evaluate("[innerWidth, innerHeight]")
    for name, part in (("bar and pause", lambda: check_bar_and_pause(page, base, out_dir, player)),
                       ("hidden", lambda: check_hidden(page, player)),
                       ("lost context", lambda: check_lost_context(page, base, out_dir, player)),
                       ("link", lambda: check_link(page, player)),
                       ("end", lambda: check_end(page, base, player)),
                       ("guard", lambda: check_guard(page, base, player)),
                       ("phones", lambda: check_phones(page, base, out_dir, player))):
        started = time.monotonic()
        part()
        player["seconds"][name] = round(time.monotonic() - started, 1)
    page.metrics(*size)


def measure_rates(page, base, moments, report):
    for width, height in ((960, 540), (1920, 1080)):
        page.metrics(width, height)
        for moment in moments:
            # Every pixel: the guard would otherwise draw fewer where the rate is low.
            page.start_at(base, moment, full=True)
            page.wait_for(f"Module.qvlTime > {moment + 0.5}", 60)
            frames0, time0 = page.evaluate("[Module.qvlFrames, Module.qvlTime]")
            clock0 = time.monotonic()
            time.sleep(4)
            frames1, time1 = page.evaluate("[Module.qvlFrames, Module.qvlTime]")
            report["rates"].append({"size": f"{width}x{height}", "time": moment,
                                    "fps": round((frames1 - frames0) / (time.monotonic() - clock0), 1),
                                    "demo_seconds": round(time1 - time0, 2)})


def main():
    site, out_dir, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    moments = [float(t) for t in sys.argv[5:]]
    os.makedirs(out_dir, exist_ok=True)
    try:
        port = serve(site)
        page = Page(chromium(width, height, os.path.join(out_dir, "chromium.log")))
        for domain in ("Runtime", "Log", "Page", "Network"):
            page.send(domain + ".enable")
        # The page's own size, whatever the headless window's frame takes.
        page.metrics(width, height)
        base = f"http://127.0.0.1:{port}/index.html"
        report = {"rates": []}
        if os.environ.get("QVL_WEB_RATES") == "1":
            measure_rates(page, base, moments, report)
        else:
            check_page(page, base, out_dir, width, height, moments, report)
        report["statistics_lines"] = sum(1 for kind, text in page.console if text.startswith("Avg. frame render time"))
        report["multisample_missing"] = [text for kind, text in page.console
                                         if text.startswith("multisample:") and "missing" in text]
        report["errors"] = page.errors
        print(json.dumps(report, indent=1))
    finally:
        stop_all()


if __name__ == "__main__":
    main()
