#!/usr/bin/env bash
# How much the edges step, without and with multisampling. Each moment is rendered at 1280 x 720
# and compared with the smoothest picture this renderer makes of it: the same moment at
# 2560 x 1440 with the most samples, averaged down 2 x 2 (qvl_staircase, on that picture's
# strongest 5 % of edges). The 1280 x 720 frame is rendered once per sample count.
# Usage: tools/staircase.sh [BUILD_DIR]   (default build-test/normal; needs qvl_capture and qvl_staircase)
#        SAMPLES="0 4" MOMENTS="helix:20 face:160" tools/staircase.sh
set -euo pipefail
build=${1:-build-test/normal}
samples_list=${SAMPLES:-0 4}
moments=${MOMENTS:-helix:20 landscape:80 tube:110 face:160}
reference_samples=16  # capped by the driver at its most
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"
capture() {  # time samples size out
  xvfb-run -a -s "-screen 0 2560x1440x24" ./qvl_capture --hidden --time "$1" --fps 1 --samples "$2" --size "$3" \
    --out "$4" >/dev/null
}
printf '%-14s' moment
for s in $samples_list; do printf ' %10s' "samples $s"; done
echo
for moment in $moments; do
  time=${moment#*:}
  capture "$time" "$reference_samples" 2560x1440 "$work/reference.png"
  row=$(printf '%-14s' "${moment%%:*} ${time} s")
  for samples in $samples_list; do
    capture "$time" "$samples" 1280x720 "$work/frame.png"
    row+=$(printf ' %10.2f' "$(./qvl_staircase "$work/frame.png" "$work/reference.png")")
  done
  echo "$row"
done
