#!/usr/bin/env bash
# Renders twelve frames across the five scenes with the capture tool and tiles them into the
# README's contact sheet (ffmpeg's tile filter), and the finale's portrait enlarged beside it
# (a 1920 x 1080 frame at 163.9 s, the first face just before the first hit, cropped to the bust). Runs headless under Xvfb.
# Usage: tools/contact_sheet.sh [BUILD_DIR] [OUT.jpg]   (defaults: build, docs/contact_sheet.jpg;
#        the portrait goes beside it as finale_portrait.jpg)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-docs/contact_sheet.jpg}")
cmake --build "$build" --target qvl_capture qvl_data >/dev/null
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
times="4 8 20 46 60 80 88 96 120 130 152 165.5"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$1"; n=0
  for t in $3; do
    ./qvl_capture --hidden --time "$t" --size 480x270 --out "$(printf "%s/%02d.png" "$2" $n)" >/dev/null
    n=$((n + 1))
  done' _ "$build" "$frames" "$times"
mkdir -p "$(dirname "$out")"
ffmpeg -v error -y -i "$frames/%02d.png" -vf "tile=4x3:padding=6:margin=6:color=0x05070d" -frames:v 1 -q:v 3 "$out"
portrait=$(dirname "$out")/finale_portrait.jpg
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c 'cd "$1"; ./qvl_capture --hidden --time 163.9 --size 1920x1080 --out "$2/portrait.png" >/dev/null' \
  _ "$build" "$frames"
ffmpeg -v error -y -i "$frames/portrait.png" -vf "crop=960:720:480:100" -frames:v 1 -q:v 3 "$portrait"
echo "contact sheet: $out, portrait: $portrait"
