#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 600) on one core, one
# after the other; new inputs go to build-fuzz/found/TARGET, crashes to build-fuzz/crashes/.
# Usage: fuzz/long_run.sh [SECONDS] [TARGET...]     (targets: obj curves picture score soundtrack)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(obj curves picture score soundtrack)

# The PNG decoder from Debian's source, so that coverage guides the picture target through it.
[ -f build-fuzz/sources/lodepng/lodepng.cpp ] || tools/debian_source.sh build-fuzz/sources liblodepng-dev=lodepng
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      -DQVL_FUZZ=ON -DQVL_TESTS=OFF -DQVL_BENCHMARKS=OFF -DQVL_FUZZ_LODEPNG_SOURCE="$PWD/build-fuzz/sources/lodepng" >/dev/null
ninja -C build-fuzz qvl_fuzz_seed_files $(printf 'qvl_fuzz_%s ' "${targets[@]}") >/dev/null

seeds_of() {
  case "$1" in
    picture|soundtrack) echo "build-fuzz/fuzz-seeds/$1" ;;
    score) echo "fuzz/corpus/score synth/score" ;;
    *) echo "fuzz/corpus/$1" ;;
  esac
}
mkdir -p build-fuzz/crashes build-fuzz/logs
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/found/$t"
  # shellcheck disable=SC2046
  build-fuzz/qvl_fuzz_$t -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/crashes/$t- "build-fuzz/found/$t" $(seeds_of "$t") \
    >"build-fuzz/logs/$t.log" 2>&1 || echo "fuzz: $t stopped with a finding, see build-fuzz/logs/$t.log"
  echo "== $t: $(grep -E '^#[0-9]+.*(DONE|pulse)' "build-fuzz/logs/$t.log" | tail -1)"
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "build-fuzz/logs/$t.log" || true
done
ls build-fuzz/crashes
