#!/usr/bin/env bash
# Plays the Windows release under Wine on Xvfb, as a user would start it from the unpacked zip:
# it must print its loading report, draw (a frame read back from the X screen is not black),
# end with status 0 on Escape, and, started without its data, fail with the program's own line
# and status 255. Prints what it saw; exits non-zero on any difference.
# Usage: tools/windows/run_under_wine.sh      (after tools/windows.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
run=$PWD/build-windows/wine-run
rm -rf "$run" && mkdir -p "$run/empty"
unzip -q build-windows/taluvine-windows.zip -d "$run"
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start=$(date +%s)

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$1/taluvine"
  wine qvl_taluvine.exe >"$1/out.txt" 2>"$1/err.txt" & pid=$!
  timeout 180 xdotool search --sync --name "Taluvine by Quorvel" >/dev/null
  # Loading ends with the report; the picture is grabbed a little after it, however long it took.
  for i in $(seq 1200); do grep -q "loading time" "$1/out.txt" 2>/dev/null && break; sleep 0.1; done
  sleep 3
  ffmpeg -v error -y -f x11grab -video_size 1280x1024 -i "$DISPLAY" -frames:v 1 "$1/screen.png"
  xdotool search --name "Taluvine by Quorvel" windowfocus --sync keydown Escape
  sleep 0.5
  xdotool keyup Escape
  set +e; timeout 60 tail --pid=$pid -f /dev/null || kill $pid; wait $pid; echo $? >"$1/status.txt"
  cd "$1/empty" && wine "$1/taluvine/qvl_taluvine.exe" >"$1/empty-out.txt" 2>"$1/empty-err.txt"
  echo $? >"$1/empty-status.txt"' _ "$run"

echo "wine run: $(( $(date +%s) - start ))s"
echo "--- standard output"; cut -c1-200 "$run/out.txt"; echo
fail=0
status=$(cat "$run/status.txt")
echo "--- status $status"
[ "$status" = 0 ] || { echo "FAIL: status $status, not 0"; fail=1; }
grep -q "^loading time: " "$run/out.txt" || { echo "FAIL: no loading report"; fail=1; }
grep -q "^Avg. frame render time: " "$run/out.txt" || { echo "FAIL: no statistics line"; fail=1; }
# Mean brightness of the screen: the logo scene on a black desktop is well above 2.
mean=$(ffmpeg -v error -i "$run/screen.png" -vf scale=1:1 -f rawvideo -pix_fmt gray - | od -An -tu1 | tr -d ' ')
echo "--- screen mean level $mean (0-255)"
[ "${mean:-0}" -gt 2 ] || { echo "FAIL: the screen is black"; fail=1; }
empty_status=$(cat "$run/empty-status.txt")
echo "--- without data/: status $empty_status, $(grep -v ALSA "$run/empty-err.txt" | head -1)"
[ "$empty_status" = 255 ] || { echo "FAIL: status $empty_status without data/, not 255"; fail=1; }
# Windows ends console lines with CR LF.
tr -d '\r' <"$run/empty-err.txt" | grep -qx "Cannot open data/e5_t5.ogg for reading..." || { echo "FAIL: no soundtrack line"; fail=1; }
exit $fail
