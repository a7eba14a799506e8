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
  fonts-league-spartan fonts-inter fonts-dejavu-core
  # tests and benchmarks, headless display
  libgtest-dev libgmock-dev googletest libbenchmark-dev xvfb xauth xdotool
  # an outside face detector that checks the closing face reads as one
  python3 python3-opencv opencv-data
  # a private X server with real display modes for the full-screen test
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # the capture tool's video encoder and timing plots; Debian packaging (dpkg-shlibdeps) and its check
  ffmpeg gnuplot-nox dpkg-dev lintian
  # the AppStream metadata's check
  appstream
)
if [ "${1:-}" = "--listen" ]; then
  packages+=(sox)
fi

exec "$(dirname "$0")/install_packages.sh" setup "${packages[@]}"
