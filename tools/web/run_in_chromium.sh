#!/usr/bin/env bash
# Plays the web page in headless Chromium (SwiftShader) and checks it: the page is served on
# 127.0.0.1 only by a plain static server, and everything it downloads stays within 12 MB; the
# gate shows a percentage that climbs while the data comes slowly, words and a working retry when
# the data fails, and words when the browser has no WebGL 2; a key or a tap opens the start gate;
# the loading report reaches the console; the programme plays from 0 with its clock running; the
# drawing buffer is the canvas's displayed size in device pixels (at load, after the window grows
# while playing, at pixel ratio 2) and is multisampled; no error reaches the console; and the
# frames at the logo, helix, landscape, tube and face moments (#t=T&hold) are the pictures the
# native capture tool draws at the same moments, within a mean difference of MAX_MEAN levels a
# channel. Exits non-zero on any failure.
# QVL_WEB_RATES=1 measures the frame rate each scene reaches here instead, at 960x540 and
# 1920x1080 (SwiftShader draws on the CPU, so the rates say nothing of a GPU); no checks.
# Usage: tools/web/run_in_chromium.sh      (after tools/web.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
site=$PWD/build-web/site
# The native build the page's data/ came from (tools/web.sh made it); QVL_NATIVE_BUILD names
# another, already built, one.
native=${QVL_NATIVE_BUILD:-$PWD/build}
out=$PWD/build-web/check
width=960 height=540
moments=(4 20 96 120 150)   # logo, helix, landscape, tube, face
# Both sides draw 4 samples a pixel (the page's program where WebGL 2 offers it, the capture with
# --samples 4), but SwiftShader and llvmpipe round differently. Measured here: logo 0.3, helix
# 1.7, landscape 2.3, face 0.6 levels; the tube 7.3, its wall being procedural noise from sin()
# of large arguments, which each renderer computes to its own precision. A wrong or missing scene
# differs by 20 and more.
max_mean=9
rm -rf "$out" && mkdir -p "$out"

if [ "${QVL_WEB_RATES:-}" = 1 ]; then
  /usr/bin/python3 tools/web/page_check.py "$site" "$out" $width $height "${moments[@]}" > "$out/report.json" || {
    cat "$out/report.json"; echo "FAIL: the page check stopped"; exit 1; }
  /usr/bin/python3 - "$out/report.json" <<'PY'
import json, sys
for rate in json.load(open(sys.argv[1]))["rates"]:
    print(f"frame rate at {rate['size']}, t={rate['time']:g}: {rate['fps']} frames/s"
          f" (demo advanced {rate['demo_seconds']} s in 4 s)")
PY
  exit 0
fi

[ -n "${QVL_NATIVE_BUILD:-}" ] || cmake --build "$native" --target qvl_capture >/dev/null
for t in "${moments[@]}"; do
  (cd "$native" && xvfb-run -a -s "-screen 0 1280x1024x24" ./qvl_capture --hidden --samples 4 --time "$t" \
     --size ${width}x${height} --out "$out/native_t$t.png" >/dev/null)
done

/usr/bin/python3 tools/web/page_check.py "$site" "$out" $width $height "${moments[@]}" > "$out/report.json" || {
  cat "$out/report.json"; echo "FAIL: the page check stopped"; exit 1; }

/usr/bin/python3 - "$out" "$max_mean" "${moments[@]}" <<'PY'
import json, re, subprocess, sys
out, max_mean, moments = sys.argv[1], float(sys.argv[2]), sys.argv[3:]
report = json.load(open(f"{out}/report.json"))
limit = 12_000_000
failed = False
def check(ok, text):
    global failed
    print(("ok:   " if ok else "FAIL: ") + text)
    failed = failed or not ok
def size(pair):
    return "x".join(map(str, pair)) if pair else "none"
def buffer(name, result):
    check(result["ok"], f"{name}: drawing buffer {size(result['buffer'])}, display size {size(result['display_size'])}"
                        f" (want {size(result['want'])} device pixels)")

print("--- bytes sent by the server")
for url, count in sorted(report["bytes_sent"].items()):
    print(f"{url.split('/', 3)[-1]}: {count}")
sent = sum(report["bytes_sent"].values())
check(sent <= limit, f"the whole page: {sent} bytes (at most {limit})")
print(f"load to start gate: {report['load_seconds']} s; {'; '.join(report['loading_report'])}")
check(any(l.startswith("loading time") for l in report["loading_report"]), "loading report on the console")
shown = report["progress"]
percents = [int(p.rstrip("%")) for p in shown if re.fullmatch(r"\d+%", p)]
check(any(0 < p < 100 for p in percents) and percents == sorted(percents) and len(set(percents)) > 1,
      f"progress during a slow download: {' '.join(shown) or 'none shown'}")
check(report["played_to"] > 2, f"played from 0 (clock at {report['played_to']:.2f} s, audio {report['audio_state']})")
buffer("at load", report["at_load"])
resized = report["resized"]
buffer("window grown to 1920x1080 while playing", resized)
check(resized["clock"][1] > resized["clock"][0] + 1 and resized["audio_state"] == report["audio_state"],
      f"played on through the resize: clock {resized['clock'][0]:.2f} -> {resized['clock'][1]:.2f} s, audio {resized['audio_state']}")
buffer("at device pixel ratio 2", report["ratio_2"])
check(bool(report["tap"]["played_to"]), f"a tap on the gate starts it (clock at {report['tap']['played_to'] or 0:.2f} s)")
buffer("at ratio 1 in a 1280x720 window while playing", report["ratio_back"])
check((report["samples"] or 0) >= 2 and not report["multisample_missing"],
      f"multisampled: Module.qvlSamples {report['samples']}" + "".join("; " + l for l in report["multisample_missing"][:1]))
no_gl = report["no_webgl2"]
program = [url.split("/")[-1] for url in no_gl["downloaded"] if "/fonts/" not in url and not url.endswith("/index.html")]
check(no_gl["state"] == "unsupported" and "WebGL 2" in (no_gl["words"] or "") and not program,
      f"without WebGL 2 ({no_gl['state']}): \"{no_gl['words']}\"; downloaded besides the page and fonts: {program or 'nothing'}")
failed_download = report["failed_download"]
for failure in failed_download["failures"]:
    check(failure["state"] == "unreachable" and failure["retry_shown"],
          f"data answered with {failure['answer']}: \"{failure['words']}\", retry {'shown' if failure['retry_shown'] else 'missing'}")
check(failed_download["ready_after_retry"], "the retry loads the page once the data comes through")
check(report["statistics_lines"] > 0, f"statistics lines on the console: {report['statistics_lines']}")
check(not report["errors"], "no error on the console" + "".join("\n      " + e for e in report["errors"][:10]))
def pixels(path):
    return subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                          check=True, capture_output=True).stdout
for t in moments:
    web, native = pixels(f"{out}/web_t{t}.png"), pixels(f"{out}/native_t{t}.png")
    if len(web) != len(native):
        check(False, f"t={t}: sizes differ ({len(web)} and {len(native)} bytes)")
        continue
    mean = sum(abs(a - b) for a, b in zip(web, native)) / len(web)
    level = sum(web) / len(web)
    check(mean <= max_mean and level > 2, f"t={t}: mean difference {mean:.2f} levels (at most {max_mean}), mean level {level:.1f}")
sys.exit(1 if failed else 0)
PY
