#!/usr/bin/env bash
# Plays the Linux release where nothing of its own libraries is installed: a minimal Debian root
# (debootstrap --variant=minbase) plus only the GL and X client libraries that any desktop install
# has, with the tarball unpacked into it. Inside the root (chroot, as user nobody, a clean
# environment) every library of the programs must be found (ldd), and the program, started by its
# launcher from another directory on the host's Xvfb with OpenAL Soft's null device, must print its
# loading report, draw (a frame read back from the X screen is not black) and end with status 0 on
# Escape; started without its data it must fail with its own line and status 255. Prints what it
# saw, and what the program loaded while it ran; exits non-zero on any difference.
# The root is made once into build-linux/root and reused while the package list below is the same.
# Usage: tools/linux/run_in_minimal_root.sh      (after tools/linux.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$PWD/build-linux
rootfs=$work/root
run=$work/root-run
tarball=$work/taluvine-linux-x86_64.tar.gz
start=$(date +%s)
say() { echo "minimal root: [$(( $(date +%s) - start ))s] $*"; }
[ -f "$tarball" ] || { echo "no $tarball: run tools/linux.sh first" >&2; exit 2; }

# A desktop's GL and X client libraries, and no more: Mesa's libGL with its GLX and DRI drivers
# (llvmpipe draws on Xvfb), libX11, and the X extension libraries GLFW opens at start-up (RandR,
# Xinerama, Xcursor, XInput 2, X11-xcb, XRender, XF86VidMode). Every X desktop (GNOME, KDE, Xfce)
# depends on each of them. No sound libraries: the test plays to OpenAL Soft's null device.
desktop=(libgl1 libglx-mesa0 libgl1-mesa-dri libx11-6 libxrandr2 libxinerama1 libxcursor1 libxi6
         libx11-xcb1 libxrender1 libxxf86vm1)
recipe="bookworm minbase ${desktop[*]}"
if [ "$(cat "$rootfs/.taluvine-root" 2>/dev/null)" != "$recipe" ]; then
  if ! command -v debootstrap >/dev/null; then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  fi
  # The mounts below live in a private mount namespace, so no earlier run can have left one here.
  rm -rf "$rootfs" "$rootfs.partial"
  if ! debootstrap --variant=minbase --include="$(IFS=,; echo "${desktop[*]}")" bookworm "$rootfs.partial" \
         http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1; then
    tail -5 "$work/debootstrap.log"
    echo "minimal root: debootstrap could not make the root from Debian's archive (build-linux/debootstrap.log)" >&2
    exit 1
  fi
  rm -f "$rootfs.partial"/var/cache/apt/archives/*.deb
  mv "$rootfs.partial" "$rootfs"
  echo "$recipe" > "$rootfs/.taluvine-root"
  say "root made: $(du -sh "$rootfs" | cut -f1), $(chroot "$rootfs" dpkg-query -W | wc -l) packages"
fi

rm -rf "$run" "$rootfs/taluvine" "$rootfs/empty"
mkdir -p "$run" "$rootfs/empty"
tar -xzf "$tarball" -C "$rootfs"
# No library of the program may be installed in the root; only the tarball carries them.
installed=$(chroot "$rootfs" /sbin/ldconfig -p)
for lib in libglfw.so.3 libGLEW.so.2.2 libopenal.so.1 libvorbis.so.0 libogg.so.0 libfftw3f.so.3 liblodepng.so.0; do
  if grep -q "$lib" <<<"$installed"; then echo "FAIL: the root has $lib installed" >&2; exit 1; fi
done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" & xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.2; done
display=:$(cat "$run/display")

# proc and the X socket folder are mounted into the root inside a mount namespace of its own:
# they go away with it, and the trap unmounts them first whatever happens.
unshare --mount --propagation private bash -c '
  set -uo pipefail
  rootfs=$1 run=$2 display=$3 pid=
  cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    umount "$rootfs/tmp/.X11-unix" 2>/dev/null; umount "$rootfs/proc" 2>/dev/null; true
  }
  trap cleanup EXIT
  mount -t proc proc "$rootfs/proc"
  mkdir -p "$rootfs/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$rootfs/tmp/.X11-unix"
  # As nobody, with nothing of the host environment but the display. A plain command, so that
  # started in the background its process id is the program'"'"'s (chroot, env and sh each exec).
  in_root=(chroot --userspec=65534:65534 "$rootfs" /usr/bin/env -i HOME=/tmp PATH=/usr/bin:/bin
           DISPLAY="$display" ALSOFT_DRIVERS=null)
  for f in qvl_taluvine qvl_taluvine_fullscreen libopenal.so.1; do
    "${in_root[@]}" ldd /taluvine/$f >"$run/ldd-$f.txt" 2>&1
  done

  export DISPLAY=$display
  "${in_root[@]}" /taluvine/taluvine >"$run/out.txt" 2>"$run/err.txt" & pid=$!
  timeout 120 xdotool search --sync --name "Taluvine by Quorvel" >/dev/null
  # Loading ends with the report; the picture is grabbed a little after it, however long it took.
  for i in $(seq 1200); do grep -q "loading time" "$run/out.txt" 2>/dev/null && break; sleep 0.1; done
  sleep 3
  ffmpeg -v error -y -f x11grab -video_size 1280x1024 -i "$DISPLAY" -frames:v 1 "$run/screen.png"
  sed -n "s|.* \(/.*\.so[.0-9]*\)$|\1|p" "/proc/$pid/maps" | sed "s|^$rootfs||" | sort -u >"$run/loaded.txt"
  xdotool search --name "Taluvine by Quorvel" windowfocus --sync keydown Escape
  sleep 0.5
  xdotool keyup Escape
  timeout 60 tail --pid=$pid -f /dev/null || kill $pid
  wait $pid; echo $? >"$run/status.txt"; pid=
  "${in_root[@]}" sh -c "cd /empty && exec /taluvine/qvl_taluvine" >"$run/empty-out.txt" 2>"$run/empty-err.txt"
  echo $? >"$run/empty-status.txt"' _ "$rootfs" "$run" "$display"
say "played"

fail=0
for f in qvl_taluvine qvl_taluvine_fullscreen libopenal.so.1; do
  echo "--- ldd $f inside the root"; sed 's/ (0x[0-9a-f]*)//' "$run/ldd-$f.txt"
  if grep -q "not found" "$run/ldd-$f.txt" || ! grep -q "libc.so.6" "$run/ldd-$f.txt"; then
    echo "FAIL: $f misses a library inside the root"; fail=1
  fi
done
grep -q "libopenal.so.1 => /taluvine/libopenal.so.1" "$run/ldd-qvl_taluvine.txt" \
  || { echo "FAIL: libopenal.so.1 is not the one beside the program"; fail=1; }
echo "--- libraries the program had loaded while it played"; cat "$run/loaded.txt"
echo "--- standard output"; cut -c1-200 "$run/out.txt"
status=$(cat "$run/status.txt" 2>/dev/null || echo none)
echo "--- status $status"
[ "$status" = 0 ] || { echo "FAIL: status $status, not 0"; echo "--- standard error"; tail -20 "$run/err.txt"; fail=1; }
grep -q "^loading time: " "$run/out.txt" || { echo "FAIL: no loading report"; fail=1; }
grep -q "^Avg. frame render time: " "$run/out.txt" || { echo "FAIL: no statistics line"; fail=1; }
# Mean brightness of the screen: the logo scene on a black desktop is well above 2.
mean=$(ffmpeg -v error -i "$run/screen.png" -vf scale=1:1 -f rawvideo -pix_fmt gray - 2>/dev/null | od -An -tu1 | tr -d ' ')
echo "--- screen mean level ${mean:-none} (0-255)"
[ "${mean:-0}" -gt 2 ] || { echo "FAIL: the screen is black"; fail=1; }
empty_status=$(cat "$run/empty-status.txt" 2>/dev/null || echo none)
echo "--- without data/: status $empty_status, $(grep -v ALSA "$run/empty-err.txt" | head -1)"
[ "$empty_status" = 255 ] || { echo "FAIL: status $empty_status without data/, not 255"; fail=1; }
grep -qx "Cannot open data/e5_t5.ogg for reading..." "$run/empty-err.txt" || { echo "FAIL: no soundtrack line"; fail=1; }
exit $fail
