#!/usr/bin/env bash
# Fetches Debian's source packages that the given -dev packages were built from, at exactly the
# installed versions, and unpacks them (Debian's patches applied) into DEST/NAME. apt works from
# a private state under DEST: deb-src lines and package lists of its own, the machine's apt
# configuration untouched. Fails when a source is not served.
# Usage: tools/debian_source.sh DEST DEV_PACKAGE=NAME...    e.g. liblodepng-dev=lodepng
set -euo pipefail
dest=$(realpath -m "$1"); shift
mkdir -p "$dest/apt/lists/partial" "$dest/apt/cache/archives/partial" "$dest/logs"
cat > "$dest/apt/sources.list" <<LIST
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
LIST
apt=(-o "Dir::Etc::SourceList=$dest/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
     -o "Dir::State::Lists=$dest/apt/lists" -o "Dir::Cache=$dest/apt/cache")
if [ -z "$(ls "$dest/apt/lists" 2>/dev/null | grep -v partial)" ]; then apt-get "${apt[@]}" -qq update; fi
for pair in "$@"; do
  package=${pair%%=*}; name=${pair#*=}
  pinned=$(dpkg-query -W -f='${source:Package}=${source:Version}' "$package")
  source=${pinned%%=*}; version=${pinned#*=}
  rm -rf "${dest:?}/$name"
  (cd "$dest" && apt-get "${apt[@]}" -qq source --download-only "$pinned" >"$dest/logs/fetch-$name.log" 2>&1)
  dpkg-source -x "$dest/${source}_${version#*:}.dsc" "$dest/$name" >>"$dest/logs/fetch-$name.log" 2>&1
  echo "debian source: $name from $pinned"
done
