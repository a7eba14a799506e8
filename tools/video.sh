#!/usr/bin/env bash
# The party's video in one command: the programme rendered by the capture tool on its fixed
# clock (qvl_capture --preset party): 1920 x 1080 at 60 fps, H.264 High 4.2 at 12 Mb/s with a
# closed GOP every 30 frames, the soundtrack resampled once to 48 kHz (800 samples a frame) in
# AAC-LC at 320 kb/s, an MP4 whose index comes first. --4k: 3840 x 2160 at 50 Mb/s, level 5.2.
# It renders on a private Xvfb display (llvmpipe: about an hour for 1080p, several for 4K);
# --display renders on $DISPLAY instead, a GPU's, in minutes. Ctrl-C keeps what was rendered.
# Usage: tools/video.sh [--4k] [--from A] [--to B] [--display] [OUT.mp4]
#        OUT defaults to taluvine-1080p60.mp4 (taluvine-2160p60.mp4) in the current folder, with
#        -A-B before .mp4 for a part; BUILD=DIR picks the build folder (default build).
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD:-build}")
say() { echo "video.sh: $*" >&2; }
usage() { sed -n '8,10p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

preset=party name=taluvine-1080p60 screen=1920x1080 display=xvfb from= to= out=
while (($#)); do
  case $1 in
    --4k) preset=party-4k name=taluvine-2160p60 screen=3840x2160 ;;
    --from | --to)
      (($# >= 2)) || usage
      if [[ $1 == --from ]]; then from=$2; else to=$2; fi
      shift ;;
    --display) display=current ;;
    -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) say "unknown option $1"; usage ;;
    *) [[ -z $out ]] || usage; out=$1 ;;
  esac
  shift
done
range=()
[[ -z $from ]] || range+=(--from "$from")
[[ -z $to ]] || range+=(--to "$to")
((${#range[@]} == 0)) || name+="-${from:-0}-${to:-172}"
out=$(cd "$here" && realpath -m "${out:-$name.mp4}")

# Checked before an hour of rendering rather than after it.
command -v ffmpeg >/dev/null || { say "ffmpeg is missing (tools/setup.sh installs it)"; exit 1; }
encoders=$(ffmpeg -hide_banner -encoders 2>/dev/null) buildconf=$(ffmpeg -hide_banner -buildconf 2>/dev/null)
[[ $encoders == *" libx264 "* ]] || { say "this ffmpeg has no libx264"; exit 1; }
[[ $buildconf == *--enable-libsoxr* ]] || { say "this ffmpeg has no soxr resampler"; exit 1; }
[[ -f $build/CMakeCache.txt ]] || { say "no build in $build (see README.md, Building by hand)"; exit 1; }
cmake --build "$build" --target qvl_capture qvl_data >/dev/null

cd "$build"
capture=(./qvl_capture --hidden --video "$out" --preset "$preset" "${range[@]}")
if [[ $display == xvfb ]]; then
  # A screen as large as the picture, so the window is not clipped by it.
  xvfb-run -a -s "-screen 0 ${screen}x24" "${capture[@]}"
else
  "${capture[@]}"
fi
say "$out, $(du -h "$out" | cut -f1)"
