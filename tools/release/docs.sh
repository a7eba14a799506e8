#!/bin/sh
# Writes the texts every release archive carries into DEST: README.txt (the release notes),
# LICENSE.txt (the GPL, version 2) and NOTICE.txt (the linked libraries and their licences).
# --crlf gives them Windows line ends. The Debian package installs the same sources itself.
# Usage: tools/release/docs.sh DEST [--crlf]
set -eu
dest=${1:?usage: tools/release/docs.sh DEST [--crlf]}
ends=${2:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$dest"
copy() {  # source, name in DEST
  if [ "$ends" = --crlf ]; then sed 's/$/\r/' "$1" > "$dest/$2"; else cp "$1" "$dest/$2"; fi
}
copy "$root/tools/release/README.txt" README.txt
copy "$root/LICENSE" LICENSE.txt
copy "$root/NOTICE" NOTICE.txt
