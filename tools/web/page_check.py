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
    the retry button gets it through.
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
        elif method == "Network.loadingFinished":
            url = self.urls.get(params["requestId"], "")
            if url.startswith("http"):  # not the blob: and data: addresses the page makes itself
                self.sent[url] = self.sent.get(url, 0) + int(params.get("encodedDataLength", 0))
        elif method == "Fetch.requestPaused":
            self.paused.append(params)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")

    def wait_for(self, expression, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.2)
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
        for kind in ("keyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key="Enter", code="Enter", windowsVirtualKeyCode=13,
                      text="\r" if kind == "keyDown" else "")

    def centre(self, element_id):
        return self.evaluate(f"(function () {{ var r = document.getElementById('{element_id}').getBoundingClientRect();"
                             " return [r.left + r.width / 2, r.top + r.height / 2]; })()")

    def click(self, element_id):
        x, y = self.centre(element_id)
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def tap(self, element_id):
        x, y = self.centre(element_id)
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def ready(self, seconds=300):
        return self.wait_for("typeof state !== 'undefined' && state === 'ready'", seconds)

    def screenshot(self, path):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"]))

    def start_at(self, base, moment, hold=False):
        """Opens the page at #t=MOMENT (held there with `hold`) and starts it with a key."""
        self.open(f"{base}#t={moment:g}" + ("&hold" if hold else ""))
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
    page.open(base)
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

    # Twice the device pixels for the same CSS size; a tap starts it; back to ratio 1 while playing.
    page.metrics(width, height, 2)
    page.open(base)
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


def measure_rates(page, base, moments, report):
    for width, height in ((960, 540), (1920, 1080)):
        page.metrics(width, height)
        for moment in moments:
            page.start_at(base, moment)
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
