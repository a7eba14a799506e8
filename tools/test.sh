#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build, and one with AddressSanitizer and
# UndefinedBehaviorSanitizer in which any report fails the run. GL tests run under Xvfb with
# Mesa's software renderer; audio goes to OpenAL Soft's null backend.
# Between the two, the Debian package is built twice from clean clones under different folders,
# times, umasks, locales and time zones, and must come out the same file (tools/reproducible.sh).
# Then the Windows release is cross-built and played under Wine (tools/windows.sh), and the
# self-contained Linux release is built and played in a minimal Debian root (tools/linux.sh), and
# the web page is built and played in headless Chromium (tools/web.sh; about 20 minutes on a
# fresh machine, most of it Emscripten's own libraries and the libraries' configure scripts).
# Usage: tools/test.sh [normal|reproducible|sanitize|windows|linux|web]...   (default: all six)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

variants=("$@")
[ ${#variants[@]} -gt 0 ] || variants=(normal reproducible sanitize windows linux web)
jobs=$(nproc)

for variant in "${variants[@]}"; do
  case "$variant" in
    windows) build=tools/windows.sh; run=tools/windows/run_under_wine.sh; where="under Wine" ;;
    linux)   build=tools/linux.sh;   run=tools/linux/run_in_minimal_root.sh; where="in a minimal Debian root" ;;
    web)     build=tools/web.sh;     run=tools/web/run_in_chromium.sh; where="in headless Chromium" ;;
    *)       build="" ;;
  esac
  if [ "$variant" = reproducible ]; then
    echo "== reproducible: the Debian package built twice =="
    tools/reproducible.sh deb
    continue
  fi
  if [ -n "$build" ]; then
    echo "== $variant build =="
    "$build"
    echo "== $variant run $where =="
    "$run"
    continue
  fi
  dir="build-test/$variant"
  case "$variant" in
    normal)   flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    sanitize) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVL_SANITIZE=ON -DQVL_BENCHMARKS=OFF) ;;
    *) echo "unknown variant $variant" >&2; exit 2 ;;
  esac
  echo "== $variant build =="
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== $variant tests =="
  # -noreset: an X server resets when its last client leaves, and a test that opens the
  # display again during that reset fails to connect (sessions open and close GLFW in turn).
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$dir" --output-on-failure --timeout 900 -j "$jobs"
done
