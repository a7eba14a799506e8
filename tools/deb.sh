#!/usr/bin/env bash
# Builds the Debian package on a Debian machine: build-release/taluvine_VERSION_amd64.deb, the
# tree `cmake --install` makes under /usr, with Depends worked out from the linked libraries.
# Two runs of this script on the same commit give the same file, wherever and whenever they run
# (tools/reproducible.sh deb checks it): every time stamp inside is the release date
# (tools/release/source_date_epoch.sh) and the sources are named relative to the checkout.
# Usage: tools/deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# cpack gives the package's own members the mode the umask leaves them; a Debian package's are 644.
umask 022
SOURCE_DATE_EPOCH=$(tools/release/source_date_epoch.sh)
export SOURCE_DATE_EPOCH
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVL_TESTS=OFF -DQVL_BENCHMARKS=OFF >/dev/null
cmake --build build-release -j "$(nproc)"
(cd build-release && cpack -G DEB | grep 'package: ')
