#!/usr/bin/env bash
# Sets up, builds and plays the demo (windowed; build/qvl_taluvine_fullscreen is the full-screen
# build). Only what it plays is built: the program, its full-screen build and data/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target qvl_taluvine qvl_taluvine_fullscreen qvl_data
cd build && exec ./qvl_taluvine
