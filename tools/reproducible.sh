#!/usr/bin/env bash
# Builds a release twice from clean clones of this repository's last commit and says, per
# archive, whether the two came out identical, with diffoscope's summary where they did not.
# The second build differs from the first in everything that must not matter: the folder (another
# name, another depth), the time (later, and a time zone whose calendar day is never the first's),
# the umask, the locale (French, with its decimal comma) and the user's temporary folder.
#   deb  tools/deb.sh (about 2 minutes for both)     linux    tools/linux.sh
#   web  tools/web.sh                                windows  tools/windows.sh
# The three archives built from Debian's sources build those libraries in each clone too (20 to
# 40 minutes each); --reuse-libraries copies this checkout's build-TARGET/prefix (and the web's
# Emscripten cache) into both instead, checking the programs and the packing but not the libraries.
# Uncommitted changes are not part of what is checked. --compare compares two archives already
# built, the same way, and writes diffoscope's report to REPORT. Exit status 1 when any archive
# differs, 3 when a build fails (at once) or diffoscope does (the other targets are still built).
# Usage: tools/reproducible.sh [--reuse-libraries] [deb|linux|windows|web]...   (default: deb)
#        tools/reproducible.sh --compare FIRST SECOND REPORT
set -euo pipefail
usage() {
  echo "usage: tools/reproducible.sh [--reuse-libraries] [deb|linux|windows|web]..." >&2
  echo "       tools/reproducible.sh --compare FIRST SECOND REPORT" >&2
  exit 2
}

# Says whether two archives hold the same bytes and, where not, shows diffoscope's summary.
# Returns 1 when they differ, 3 when one is missing or diffoscope fails (it says 1 for "they
# differ"; anything above is its own failure, after which there may be no report to show).
# Called as `compare ... || status=$?`, where set -e does not act inside it: every step checks.
compare() {  # name first second report [what the builds took]
  local name=$1 a=$2 b=$3 report=$4 took=${5:-} sum_a sum_b found
  if [ ! -f "$a" ] || [ ! -f "$b" ]; then
    echo "reproducible: $name: no archive to compare: $([ -f "$a" ] && echo "$b" || echo "$a")" >&2
    return 3
  fi
  sum_a=$(sha256sum < "$a" | cut -d' ' -f1)
  sum_b=$(sha256sum < "$b" | cut -d' ' -f1)
  if [ "$sum_a" = "$sum_b" ]; then
    echo "reproducible: $name: identical, $(basename "$a") sha256 $sum_a$took"
    return 0
  fi
  echo "reproducible: $name: DIFFERENT, $(basename "$a") sha256 $sum_a and $sum_b"
  rm -f "$report"
  mkdir -p "$(dirname "$report")"
  diffoscope --text "$report" --max-text-report-size 2000000 "$a" "$b" >"$report.log" 2>&1 && found=0 || found=$?
  [ "$found" -le 1 ] || { echo "reproducible: $name: diffoscope failed ($found):" >&2; tail -5 "$report.log" >&2; }
  if [ -f "$report" ]; then
    echo "reproducible: $name: diffoscope's report in $report; its first lines:"
    head -60 "$report"
  else
    echo "reproducible: $name: diffoscope wrote no report (its output: $report.log)" >&2
  fi
  [ "$found" -le 1 ] && return 1
  return 3
}

if [ "${1:-}" = --compare ]; then
  [ $# -eq 4 ] || usage
  result=0
  compare "$(basename "$2")" "$2" "$3" "$4" || result=$?
  exit $result
fi

cd "$(dirname "$0")/.."
root=$PWD
reuse=no
targets=()
for arg in "$@"; do
  case "$arg" in
    --reuse-libraries) reuse=yes ;;
    deb|linux|windows|web) targets+=("$arg") ;;
    *) usage ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(deb)
tools/install_packages.sh reproducible diffoscope-minimal locales git
# Both builds are of the commit checked out now, whatever is committed while they run.
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "reproducible: uncommitted changes are left out: both builds are of ${commit:0:7}"

work=$root/build-reproducible
mkdir -p "$work"
# The second build's locale, made here so that it needs no locale installed on the machine.
if [ ! -d "$work/locales/fr_FR.UTF-8" ]; then
  mkdir -p "$work/locales"
  localedef -i fr_FR -f UTF-8 "$work/locales/fr_FR.UTF-8"
fi

# Where each release's build leaves its archive, relative to the clone.
archive_of() {  # target clone
  case "$1" in
    deb)     (cd "$2" && ls build-release/taluvine_*_amd64.deb) ;;
    linux)   echo build-linux/taluvine-linux-x86_64.tar.gz ;;
    windows) echo build-windows/taluvine-windows.zip ;;
    web)     echo build-web/taluvine-web.zip ;;
  esac
}

build() {  # target clone-folder
  local target=$1 clone=$2
  rm -rf "$clone"
  mkdir -p "$(dirname "$clone")"
  git clone -q --no-hardlinks "$root" "$clone"
  git -C "$clone" checkout -q --detach "$commit"
  if [ "$reuse" = yes ] && [ "$target" != deb ]; then
    [ -f "$root/build-$target/prefix/.complete" ] ||
      { echo "reproducible: no libraries in build-$target/prefix to reuse: run tools/$target.sh first" >&2; exit 3; }
    mkdir -p "$clone/build-$target"
    cp -a "$root/build-$target/prefix" "$clone/build-$target/"
    [ "$target" != web ] || cp -a "$root/build-web/emscripten" "$clone/build-web/"
  fi
  (
    cd "$clone"
    # The release date comes from the clone's own last commit, as for anyone building it.
    unset SOURCE_DATE_EPOCH
    "tools/$target.sh"
  ) > "$clone.log" 2>&1 || { echo "reproducible: the $target build in $clone failed; its last lines:" >&2; tail -20 "$clone.log" >&2; exit 3; }
}

status=0
for target in "${targets[@]}"; do
  start=$(date +%s)
  first=$work/$target/a/taluvine
  second=$work/$target/second-build/in/another/folder/tal
  mkdir -p "$work/$target/tmp"
  rm -f "$work/$target/diffoscope.txt" "$work/$target/diffoscope.txt.log"
  (umask 022; export TZ=AAA+12 LC_ALL=C.UTF-8 LANG=C.UTF-8; build "$target" "$first")
  # TZ=BBB-14 is 26 hours ahead of the first build's zone: the local date is never the same.
  (umask 002; export TZ=BBB-14 LOCPATH=$work/locales TMPDIR=$work/$target/tmp
   # This shell cannot load a locale from LOCPATH itself and says so; the builds it starts can.
   { export LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8; } 2>/dev/null
   build "$target" "$second")
  archive=$(archive_of "$target" "$first")
  result=0
  compare "$target" "$first/$archive" "$second/$archive" "$work/$target/diffoscope.txt" \
    " (two builds, $(( $(date +%s) - start ))s)" || result=$?
  [ "$result" -le "$status" ] || status=$result
done
exit $status
