#!/bin/sh
# Prints the release date every build of the source in DIR (default: this repository) writes
# into its archives and files, as seconds since 1970: SOURCE_DATE_EPOCH when the caller set it,
# else the time of the last commit, else (a copy of the source without its history) the date of
# the changelog's latest entry. Never the clock, so two builds of one source agree.
# Usage: tools/release/source_date_epoch.sh [DIR]
set -eu
dir=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  case "$SOURCE_DATE_EPOCH" in
    *[!0-9]*) echo "source_date_epoch: SOURCE_DATE_EPOCH='$SOURCE_DATE_EPOCH' is not a count of seconds" >&2; exit 1 ;;
  esac
  echo "$SOURCE_DATE_EPOCH"
  exit 0
fi
if [ -e "$dir/.git" ]; then
  seconds=$(git -c log.showSignature=false -C "$dir" log -1 --format=%ct 2>/dev/null || true)
  case "$seconds" in
    ''|*[!0-9]*) echo "source_date_epoch: git cannot read the last commit of $dir; the changelog's date instead" >&2 ;;
    *) echo "$seconds"; exit 0 ;;
  esac
fi
# The latest entry's date as dpkg-parsechangelog reads it, as the packaging tools do.
seconds=$(dpkg-parsechangelog -l "$dir/tools/release/changelog" -S Timestamp 2>/dev/null || true)
case "$seconds" in
  ''|*[!0-9]*) echo "source_date_epoch: no SOURCE_DATE_EPOCH, no commit and no dated entry in $dir/tools/release/changelog" >&2; exit 1 ;;
esac
echo "$seconds"
