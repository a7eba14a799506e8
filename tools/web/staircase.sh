#!/usr/bin/env bash
# How much the edges step in the web page's frame and in the native capture's, at 1280 x 720:
# each against the same moment rendered natively at 2560 x 1440 with the most samples
# (qvl_staircase, as tools/staircase.sh does). Also leaves the page's pictures in a small
# window, enlarged to 1920 x 1080 and at pixel ratio 2 (tools/web/page_pictures.py).
# Usage: tools/web/staircase.sh [SITE] [OUT]   (after tools/web.sh; default build-web/site, build-web/pictures)
#        MOMENTS="20 160" tools/web/staircase.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
site=$(realpath "${1:-build-web/site}")
out=$(realpath -m "${2:-build-web/pictures}")
moments=${MOMENTS:-20 80 110 160}   # helix, landscape, tube, face
native=${QVL_NATIVE_BUILD:-$PWD/build}
mkdir -p "$out"
cmake --build "$native" --target qvl_capture qvl_staircase >/dev/null
# shellcheck disable=SC2086
/usr/bin/python3 tools/web/page_pictures.py "$site" "$out" $moments
capture() {  # time samples size out
  (cd "$native" && xvfb-run -a -s "-screen 0 2560x1440x24 -noreset" ./qvl_capture --hidden --time "$1" --fps 1 \
     --samples "$2" --size "$3" --out "$4" >/dev/null)
}
printf '%-8s %10s %10s %10s\n' moment web native-4 native-0
for t in $moments; do
  capture "$t" 16 2560x1440 "$out/reference_t$t.png"
  capture "$t" 4 1280x720 "$out/native4_t$t.png"
  capture "$t" 0 1280x720 "$out/native0_t$t.png"
  row=$(printf '%-8s' "$t s")
  for frame in "frame_t$t" "native4_t$t" "native0_t$t"; do
    row+=$(printf ' %10.2f' "$("$native/qvl_staircase" "$out/$frame.png" "$out/reference_t$t.png")")
  done
  echo "$row"
done
