#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need.
# Safe to run twice: apt-get skips what is already there.
# Usage: tools/setup.sh            (build, run and test)
#        tools/setup.sh --listen   (also sox, to inspect the soundtrack)
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # window, GL and audio
  libglfw3-dev libglew-dev libgl-dev libx11-dev libgl1-mesa-dri libopenal-dev libopenal1
  libogg-dev libvorbis-dev
  # pictures, text, containers, FFT
  liblodepng-dev libfreetype-dev libboost-dev libfftw3-dev libkissfft-dev
  fonts-league-spartan fonts-inter
  # tests and benchmarks, headless display
  libgtest-dev libgmock-dev googletest libbenchmark-dev xvfb xauth xdotool
  # a private X server with real display modes for the full-screen test
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # the capture tool's video encoder and timing plots; Debian packaging (dpkg-shlibdeps) and its check
  ffmpeg gnuplot-nox dpkg-dev lintian
)
if [ "${1:-}" = "--listen" ]; then
  packages+=(sox)
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
