#!/usr/bin/python3
"""Opens the web page in headless Chromium through the DevTools protocol and checks it.

Serves SITE on 127.0.0.1 only, starts Chromium (SwiftShader, audio allowed without a gesture)
and, for each moment, loads the page at #t=T&hold, presses a key at the start gate and takes a
screenshot once the frame at T is drawn; then plays from 0 and from each scene's start to read
the frame rate. Every server and browser is stopped by its PID. Prints JSON on standard output.

Usage: page_check.py SITE OUT_DIR WIDTH HEIGHT T...
"""
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

site, out_dir, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
moments = [float(t) for t in sys.argv[5:]]
os.makedirs(out_dir, exist_ok=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


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


class Page:
    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=120, suppress_origin=True)
        self.next_id = 0
        self.console = []   # (type, text)
        self.errors = []    # exceptions and error log entries

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
            self.errors.append("log: " + params["entry"].get("text", ""))

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

    def open(self, url):
        self.send("Page.navigate", url="about:blank")
        self.send("Page.navigate", url=url)

    def press_key(self):
        for kind in ("keyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key="Enter", code="Enter", windowsVirtualKeyCode=13,
                      text="\r" if kind == "keyDown" else "")


port = free_port()
server = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1", "--directory", site],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
processes.append(server)
profile = tempfile.mkdtemp(prefix="qvl-chromium-")
browser = subprocess.Popen(["chromium", "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                            "--autoplay-policy=no-user-gesture-required", "--no-first-run", "--no-default-browser-check",
                            "--disable-gpu-vsync", "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
                            f"--user-data-dir={profile}", f"--window-size={width},{height}", "--force-device-scale-factor=1",
                            "--no-sandbox", "about:blank"],
                           stdout=subprocess.DEVNULL, stderr=open(os.path.join(out_dir, "chromium.log"), "w"),
                           start_new_session=True)
processes.append(browser)
try:
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
            break
        time.sleep(0.1)
    page = Page(pages[0]["webSocketDebuggerUrl"])
    for domain in ("Runtime", "Log", "Page"):
        page.send(domain + ".enable")
    # The page's own size, whatever the headless window's frame takes.
    page.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1, mobile=False)
    base = f"http://127.0.0.1:{port}/index.html"
    report = {"moments": [], "rates": []}

    # Loading: from navigation to the start gate, with the report on the console.
    started = time.monotonic()
    page.open(base)
    if not page.wait_for("typeof state !== 'undefined' && state === 'ready'", 300):
        fail("the start gate never opened: " + "; ".join(page.errors[-3:]))
    report["load_seconds"] = round(time.monotonic() - started, 2)
    report["loading_report"] = [text for kind, text in page.console if text.startswith(("loading time", "    texture"))]
    # Playing from 0: the clock must start with the music, then run.
    page.press_key()
    if not page.wait_for("Module.qvlTime > 2", 120):
        fail("the programme did not play from 0: " + "; ".join(page.errors[-3:]))
    report["audio_state"] = page.evaluate("AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'")
    report["played_to"] = page.evaluate("Module.qvlTime")

    for moment in moments:
        page.open(f"{base}#t={moment:g}&hold")
        if not page.wait_for("typeof state !== 'undefined' && state === 'ready'", 300):
            fail(f"t={moment:g}: the start gate never opened")
        page.press_key()
        # The second before the moment is drawn at 30 frames a second, then the moment itself.
        if not page.wait_for(f"Module.qvlFrames > 34 && Module.qvlTime === {moment:g}", 300):
            fail(f"t={moment:g}: the moment was never drawn")
        shot = page.send("Page.captureScreenshot", format="png")["data"]
        import base64
        path = os.path.join(out_dir, f"web_t{moment:g}.png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot))
        report["moments"].append({"time": moment, "screenshot": path})

    # Frame rate while playing, a few seconds into each moment's scene.
    for moment in moments:
        page.open(f"{base}#t={moment:g}")
        if not page.wait_for("typeof state !== 'undefined' && state === 'ready'", 300):
            fail(f"t={moment:g}: the start gate never opened")
        page.press_key()
        page.wait_for(f"Module.qvlTime > {moment + 0.5}", 60)
        frames0, time0 = page.evaluate("[Module.qvlFrames, Module.qvlTime]")
        clock0 = time.monotonic()
        time.sleep(4)
        frames1, time1 = page.evaluate("[Module.qvlFrames, Module.qvlTime]")
        report["rates"].append({"time": moment, "fps": round((frames1 - frames0) / (time.monotonic() - clock0), 1),
                                "demo_seconds": round(time1 - time0, 2)})
    report["statistics_lines"] = sum(1 for kind, text in page.console if text.startswith("Avg. frame render time"))
    report["errors"] = page.errors
    print(json.dumps(report, indent=1))
finally:
    stop_all()
