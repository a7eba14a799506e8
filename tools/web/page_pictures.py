#!/usr/bin/python3
"""Screenshots of the web page for looking at it, and for the staircase figure.

For each moment T it loads #t=T&hold in headless Chromium and saves, in OUT_DIR:
  small_tT.png     a 640x360 window;
  enlarged_tT.png  the same page after the window grew to 1920x1080 (full screen's size);
  ratio2_tT.png    a 960x540 window at device pixel ratio 2 (1920x1080 device pixels);
  frame_tT.png     a 1280x720 window, to compare with the native capture (tools/staircase.sh --web).
Uses page_check's server, browser and page helpers. Works on an older site too (one that
keeps its canvas size): the enlarged picture is then the browser's stretched one.

Usage: page_pictures.py SITE OUT_DIR T...
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_check  # noqa: E402


def settle(page, width, height):
    """Waits until the drawing buffer follows the window (a few frames at most), or 10 s."""
    page.wait_for(f"canvas.width === {width} && canvas.height === {height}", 10)
    frames = page.evaluate("Module.qvlFrames")
    page.wait_for(f"Module.qvlFrames > {frames + 2}", 60)


def main():
    site, out_dir = sys.argv[1], sys.argv[2]
    moments = [float(t) for t in sys.argv[3:]]
    os.makedirs(out_dir, exist_ok=True)
    try:
        port = page_check.serve(site)
        page = page_check.Page(page_check.chromium(1280, 720, os.path.join(out_dir, "chromium.log")))
        for domain in ("Runtime", "Page"):
            page.send(domain + ".enable")
        base = f"http://127.0.0.1:{port}/index.html"
        for moment in moments:
            page.metrics(640, 360)
            page.hold_at(base, moment)
            page.screenshot(os.path.join(out_dir, f"small_t{moment:g}.png"))
            page.metrics(1920, 1080)
            settle(page, 1920, 1080)
            page.screenshot(os.path.join(out_dir, f"enlarged_t{moment:g}.png"))
            page.metrics(960, 540, 2)
            page.hold_at(base, moment)
            settle(page, 1920, 1080)
            page.screenshot(os.path.join(out_dir, f"ratio2_t{moment:g}.png"))
            page.metrics(1280, 720)
            page.hold_at(base, moment)
            page.screenshot(os.path.join(out_dir, f"frame_t{moment:g}.png"))
            print(f"t={moment:g}: pictures in {out_dir}", flush=True)
            time.sleep(0.1)
    finally:
        page_check.stop_all()


if __name__ == "__main__":
    main()
