#!/usr/bin/env bash
# Builds the Windows release on a Debian machine: build-windows/taluvine-windows.zip with
# qvl_taluvine.exe, qvl_taluvine_fullscreen.exe, OpenAL32.dll, the complete data/ made by the
# native asset generator, the libraries' licences and a short text on running it.
#
# The libraries come from Debian's own source packages, fetched with apt into a private folder
# (the machine's apt configuration is not touched), pinned to the versions of the native -dev
# packages, and cross-compiled with MinGW-w64. They are built once into build-windows/prefix.
# Usage: tools/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/release_common.sh
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev wine wine64 zip unzip)
# Bump the recipe when the library build changes, so an old prefix is rebuilt.
prepare_release windows 4 "${packages[@]}"
# Boost is used for its headers alone (smart_ptr), which are the same for every target: Debian's.
ln -sfn /usr/include/boost "$prefix/include/boost"
say "libraries ready in $prefix"

export QVL_WINDOWS_PREFIX=$prefix PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
cmake -S . -B "$work/taluvine" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/taluvine" -j "$jobs"
say "programs built"

stage=$work/zip/taluvine
rm -rf "$work/zip" "$work/taluvine-windows.zip"
mkdir -p "$stage"
cp "$work/taluvine/qvl_taluvine.exe" "$work/taluvine/qvl_taluvine_fullscreen.exe" "$prefix/bin/OpenAL32.dll" "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll
cp -r build/data "$stage/data"
cp -r "$prefix/licences" "$stage/licences"
tools/release/docs.sh "$stage" --crlf
zip_release "$work/zip" taluvine "$work/taluvine-windows.zip"
say "$(du -h "$work/taluvine-windows.zip" | cut -f1) in build-windows/taluvine-windows.zip"
