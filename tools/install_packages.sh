#!/usr/bin/env bash
# Installs the Debian packages named that are not installed yet (apt-get, no recommends); says
# which, under the caller's name. Safe to run twice. Used by setup.sh and the release builds.
# Usage: tools/install_packages.sh NAME PACKAGE...
set -euo pipefail
name=$1
shift
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "$name: all packages present"
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "$name: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "$name: done"
