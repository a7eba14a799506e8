#!/bin/sh
# Gathers into DEST the licence texts of every shared library the given programs link, for an
# archive that carries those libraries: DEST/PACKAGE/copyright, Debian's own copyright file of
# the package each library comes from. The Windows build gathers its own (build_libraries.sh);
# the Debian package needs none, since it depends on those packages instead of carrying them.
# Usage: tools/release/licences.sh DEST PROGRAM...
set -eu
dest=${1:?usage: tools/release/licences.sh DEST PROGRAM...}
shift
[ $# -gt 0 ] || { echo "licences: no programs given" >&2; exit 2; }
ldd "$@" > /dev/null || { echo "licences: cannot list the libraries of $*" >&2; exit 1; }
mkdir -p "$dest"
for library in $(ldd "$@" | awk '$2 == "=>" && $3 ~ /^\// { print $3 }' | sort -u); do
  real=$(readlink -f "$library")
  # With a merged /usr, dpkg may know the file under /lib instead of /usr/lib, or the reverse.
  owner=$(dpkg -S "$real" 2>/dev/null || dpkg -S "${real#/usr}" 2>/dev/null || dpkg -S "/usr$real" 2>/dev/null) || {
    echo "licences: no Debian package owns $real" >&2
    exit 1
  }
  package=${owner%%:*}
  mkdir -p "$dest/$package"
  cp "/usr/share/doc/$package/copyright" "$dest/$package/copyright"
done
