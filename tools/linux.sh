#!/usr/bin/env bash
# Builds the self-contained Linux release on a Debian machine: build-linux/taluvine-linux-x86_64.tar.gz
# with qvl_taluvine, qvl_taluvine_fullscreen, libopenal.so.1, launchers, the complete data/ made
# by the native asset generator, the libraries' licences and a short text on running it.
#
# The programs need only what a default desktop install has: the C and C++ runtimes, libGL and
# the X client libraries. GLFW, GLEW, libogg, libvorbis, lodepng and FFTW are linked in from
# Debian's own source packages, built once into build-linux/prefix by the same script as the
# Windows libraries (tools/build_libraries.sh); OpenAL Soft (LGPL) is a shared library beside the
# programs, found through their $ORIGIN run path. The build fails if a program or libopenal.so.1
# needs any other library.
# Usage: tools/linux.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/release_common.sh
# Headers the libraries are built against beyond the program's own: the X extensions GLFW uses and
# the sound systems OpenAL Soft plays through (both load the libraries themselves at run time).
packages=(libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev libasound2-dev libpulse-dev
          libpipewire-0.3-dev dpkg-dev binutils)
# Bump the recipe when the library build changes, so an old prefix is rebuilt.
prepare_release linux 2 "${packages[@]}"
say "libraries ready in $prefix"

export QVL_LINUX_PREFIX=$prefix
cmake -S . -B "$work/taluvine" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-bundled.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/taluvine" -j "$jobs"
say "programs built"

stage=$work/tar/taluvine
rm -rf "$work/tar" "$work/taluvine-linux-x86_64.tar.gz"
mkdir -p "$stage"
cp "$work/taluvine/qvl_taluvine" "$work/taluvine/qvl_taluvine_fullscreen" "$stage/"
cp -L "$prefix/lib/libopenal.so.1" "$stage/"
strip "$stage/qvl_taluvine" "$stage/qvl_taluvine_fullscreen"
strip --strip-unneeded "$stage/libopenal.so.1"

# What the programs and OpenAL Soft ask the dynamic loader for: nothing a desktop lacks.
allowed='libc.so.6 libm.so.6 libstdc++.so.6 libgcc_s.so.1 libdl.so.2 libpthread.so.0 librt.so.1
         ld-linux-x86-64.so.2 libGL.so.1 libX11.so.6 libopenal.so.1'
for f in qvl_taluvine qvl_taluvine_fullscreen libopenal.so.1; do
  needed=$(readelf -d "$stage/$f" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  for lib in $needed; do
    case " $(echo $allowed) " in *" $lib "*) ;; *) echo "linux: $f needs $lib, which a desktop may lack" >&2; exit 1 ;; esac
  done
  say "$f needs $(echo $needed)"
done
# The oldest C and C++ runtimes that can run it are those of the build machine's symbol versions.
say "newest runtime symbols asked for: $(objdump -T "$stage"/qvl_taluvine "$stage"/libopenal.so.1 \
  | grep -o 'GLIBC_[0-9.]*\|GLIBCXX_[0-9.]*' | sort -uV | awk -F_ '{v[$1]=$0} END {print v["GLIBC"], v["GLIBCXX"]}')"
for f in qvl_taluvine qvl_taluvine_fullscreen; do
  readelf -d "$stage/$f" | grep -Eq '\((RUNPATH|RPATH)\).*\[\$ORIGIN\]' || { echo "linux: $f does not look beside itself for libopenal.so.1" >&2; exit 1; }
done

cp -r build/data "$stage/data"
cp -r "$prefix/licences" "$stage/licences"
tools/release/docs.sh "$stage"
# The programs read data/ from the working directory: the launchers start them from their own
# folder, from a file manager or any other directory alike.
for name in taluvine:qvl_taluvine taluvine-fullscreen:qvl_taluvine_fullscreen; do
  printf '#!/bin/sh\ncd "$(dirname "$0")" && exec ./%s "$@"\n' "${name#*:}" > "$stage/${name%%:*}"
  chmod 755 "$stage/${name%%:*}"
done
# Fixed times (the release date), modes, owners and order, so two tarballs of the same files
# compare equal.
chmod -R u+rwX,go+rX,go-w "$stage"
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner --format=gnu -C "$work/tar" -cf - taluvine \
  | gzip -9n > "$work/taluvine-linux-x86_64.tar.gz"
say "$(du -h "$work/taluvine-linux-x86_64.tar.gz" | cut -f1) in build-linux/taluvine-linux-x86_64.tar.gz"
