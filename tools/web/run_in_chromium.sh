#!/usr/bin/env bash
# Plays the web page in headless Chromium (SwiftShader) and checks it: the page is served on
# 127.0.0.1 only, a key opens the start gate, the loading report reaches the console, the
# programme plays from 0 with its clock running, no error reaches the console, and the frames at
# the logo, helix, landscape, tube and face moments (#t=T&hold) are the pictures the native
# capture tool draws at the same moments, within a mean difference of MAX_MEAN levels a channel.
# Also prints the download sizes and the frame rate each scene reaches here: SwiftShader draws
# on the CPU, so the rates say nothing of a GPU. Exits non-zero on any failure.
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
# SwiftShader and llvmpipe round differently, and the web frame has no multisampling (the
# capture is taken without it too). Measured here: logo 0.3, helix 1.7, landscape 2.4, face 0.6
# levels; the tube 7.3, its wall being procedural noise from sin() of large arguments, which
# each renderer computes to its own precision. A wrong or missing scene differs by 20 and more.
max_mean=9
rm -rf "$out" && mkdir -p "$out"

[ -n "${QVL_NATIVE_BUILD:-}" ] || cmake --build "$native" --target qvl_capture >/dev/null
for t in "${moments[@]}"; do
  (cd "$native" && xvfb-run -a -s "-screen 0 1280x1024x24" ./qvl_capture --hidden --samples 0 --time "$t" \
     --size ${width}x${height} --out "$out/native_t$t.png" >/dev/null)
done

/usr/bin/python3 tools/web/page_check.py "$site" "$out" $width $height "${moments[@]}" > "$out/report.json" || {
  cat "$out/report.json"; echo "FAIL: the page check stopped"; exit 1; }

fail=0
echo "--- download (bytes, gzip -9)"
for f in index.wasm index.js index.data index.html; do
  echo "$f: $(stat -c %s "$site/$f") raw, $(gzip -9nc < "$site/$f" | wc -c) compressed"
done
/usr/bin/python3 - "$out" "$max_mean" "${moments[@]}" <<'PY' || fail=1
import json, subprocess, sys
out, max_mean, moments = sys.argv[1], float(sys.argv[2]), sys.argv[3:]
report = json.load(open(f"{out}/report.json"))
failed = False
def check(ok, text):
    global failed
    print(("ok:   " if ok else "FAIL: ") + text)
    failed = failed or not ok
print(f"load to start gate: {report['load_seconds']} s; {'; '.join(report['loading_report'])}")
check(any(l.startswith("loading time") for l in report["loading_report"]), "loading report on the console")
check(report["played_to"] > 2, f"played from 0 (clock at {report['played_to']:.2f} s, audio {report['audio_state']})")
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
for rate in report["rates"]:
    print(f"frame rate at t={rate['time']:g}: {rate['fps']} frames/s (demo advanced {rate['demo_seconds']} s in 4 s)")
sys.exit(1 if failed else 0)
PY
exit $fail
