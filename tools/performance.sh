#!/usr/bin/env bash
# The performance table in one command: the whole programme rendered on the capture's fixed
# clock at 1920 x 1080 and 3840 x 2160, each with 4 samples and with none, timed scene by scene
# and pass by pass (GPU timer queries where the driver has them, else the CPU's clock), with the
# GPU memory the program allocated and what the driver says of its own; written as a Markdown
# table (default performance.md). By default three frames for each second of the programme, so that
# a run under Mesa's software renderer ends in about half an hour; --every-frame renders all of
# them at 60 fps, for a GPU. Without a display it runs under Xvfb, whose GL is the software one.
# Usage: tools/performance.sh [--every-frame | --fps RATE] [--build DIR] [--out FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
fps=3
build=build
out=performance.md
while [ $# -gt 0 ]; do
  case "$1" in
    --every-frame) fps=60 ;;
    --fps) fps=$2; shift ;;
    --build) build=$2; shift ;;
    --out) out=$2; shift ;;
    *) echo "usage: tools/performance.sh [--every-frame | --fps RATE] [--build DIR] [--out FILE]" >&2; exit 2 ;;
  esac
  shift
done
[ -x "$build/qvl_capture" ] || { echo "performance: no $build/qvl_capture; build it first (README)" >&2; exit 1; }
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
runs=()
for size in 1920x1080 3840x2160; do
  for samples in 0 4; do
    log="$logs/${size}_$samples.log"
    echo "performance: $size, $samples samples, $fps frames a second of the programme" >&2
    start=$SECONDS
    (cd "$build" && ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} "${display[@]}" ./qvl_capture --hidden --size "$size" \
       --samples "$samples" --from 0 --to 172 --fps "$fps" --timing "$logs/${size}_$samples.csv") >"$log" 2>&1 ||
      { echo "performance: the capture failed; its last lines:" >&2; tail -20 "$log" >&2; exit 1; }
    echo "performance: done in $((SECONDS - start)) s" >&2
    runs+=("$log")
  done
done
python3 tools/performance_table.py --fps "$fps" "${runs[@]}" >"$out"
echo "performance: table written to $out" >&2
