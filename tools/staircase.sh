#!/usr/bin/env bash
# How much the edges step, without and with multisampling. Each moment is rendered at 1280 x 720
# and compared with the smoothest picture this renderer makes of it: the same moment at
# 2560 x 1440 with the most samples, averaged down 2 x 2 (qvl_staircase, on that picture's
# strongest 5 % of edges). The 1280 x 720 frame is rendered once per sample count.
# With --web the web page's 1280 x 720 frame of each moment gets its column too, against the same
# native picture, and the page's pictures stay in OUT with the native frames: a small window,
# enlarged to 1920 x 1080 and at pixel ratio 2 (tools/web/page_pictures.py).
# Usage: tools/staircase.sh [BUILD_DIR]   (default build-test/normal; needs qvl_capture and qvl_staircase)
#        SAMPLES="0 4" MOMENTS="helix:20 face:160" tools/staircase.sh
#        tools/staircase.sh [BUILD_DIR] --web [SITE [OUT]]   (after tools/web.sh; default build-web/site, build-web/pictures)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: tools/staircase.sh [BUILD_DIR] [--web [SITE [OUT]]]" >&2; exit 2; }
build=$repo/build-test/normal
web=no
if [ $# -gt 0 ] && [ "$1" != --web ]; then
  build=$1
  shift
fi
if [ $# -gt 0 ]; then
  if [ "$1" != --web ] || [ $# -gt 3 ]; then usage; fi
  web=yes
  site=$(realpath "${2:-$repo/build-web/site}")
  out=$(realpath -m "${3:-$repo/build-web/pictures}")
fi
samples_list=${SAMPLES:-0 4}
moments=${MOMENTS:-helix:20 landscape:80 tube:110 face:160}
reference_samples=16  # capped by the driver at its most
build=$(realpath "$build")
for program in qvl_capture qvl_staircase; do
  [ -x "$build/$program" ] ||
    { echo "staircase: no $build/$program: cmake --build $build --target qvl_capture qvl_staircase" >&2; exit 1; }
done
if [ "$web" = yes ]; then
  frames=$out
  mkdir -p "$out"
  times=()
  for moment in $moments; do times+=("${moment#*:}"); done
  /usr/bin/python3 "$repo/tools/web/page_pictures.py" "$site" "$out" "${times[@]}"
else
  frames=$(mktemp -d)
  trap 'rm -rf "$frames"' EXIT
fi
cd "$build"
capture() {  # time samples size out
  xvfb-run -a -s "-screen 0 2560x1440x24 -noreset" ./qvl_capture --hidden --time "$1" --fps 1 --samples "$2" \
    --size "$3" --out "$4" >/dev/null
}
printf '%-14s' moment
[ "$web" = no ] || printf ' %10s' web
for s in $samples_list; do printf ' %10s' "samples $s"; done
echo
for moment in $moments; do
  time=${moment#*:}
  reference=$frames/reference_t$time.png
  capture "$time" "$reference_samples" 2560x1440 "$reference"
  row=$(printf '%-14s' "${moment%%:*} ${time} s")
  [ "$web" = no ] || row+=$(printf ' %10.2f' "$(./qvl_staircase "$frames/frame_t$time.png" "$reference")")
  for samples in $samples_list; do
    capture "$time" "$samples" 1280x720 "$frames/native${samples}_t$time.png"
    row+=$(printf ' %10.2f' "$(./qvl_staircase "$frames/native${samples}_t$time.png" "$reference")")
  done
  echo "$row"
done
