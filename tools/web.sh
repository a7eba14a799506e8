#!/usr/bin/env bash
# Builds the demo for web browsers on a Debian machine: build-web/site/ with the page
# (index.html), its WebAssembly and JavaScript, the packed data/ made by the native asset
# generator and the fonts of the start gate, and build-web/taluvine-web.zip of the same files.
#
# Debian's own Emscripten compiles the program; libogg, libvorbis, lodepng and FFTW are built from
# Debian's source packages with it, once, into build-web/prefix (tools/build_libraries.sh web).
# Emscripten's system libraries are built once into build-web/emscripten/cache.
# Usage: tools/web.sh        then serve build-web/site/ over HTTP (see README.md)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/release_common.sh
packages=(emscripten chromium python3-websocket fonts-league-spartan fonts-inter woff2 dpkg-dev zip unzip)
tools/install_packages.sh web "${packages[@]}"
# Emscripten keeps its configuration and the libraries it builds for itself in the build folder:
# Debian's configuration freezes the system cache, which holds nothing until something builds it.
mkdir -p build-web/emscripten
sed 's/^FROZEN_CACHE = .*/FROZEN_CACHE = False/' /usr/share/emscripten/.emscripten > build-web/emscripten/config
export EM_CONFIG=$PWD/build-web/emscripten/config EM_CACHE=$PWD/build-web/emscripten/cache
# The JavaScript optimiser finds its modules (acorn) among Debian's node packages.
export NODE_PATH=/usr/share/nodejs
# Bump the recipe when the library build changes, so an old prefix is rebuilt.
prepare_release web 3 "${packages[@]}"
# Boost is used for its headers alone (smart_ptr), which are the same for every target: Debian's.
ln -sfn /usr/include/boost "$prefix/include/boost"
say "libraries ready in $prefix"

export QVL_WEB_PREFIX=$prefix PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
cmake -S . -B "$work/taluvine" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/web.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DQVL_WEB_DATA="$root/build/data" >/dev/null
cmake --build "$work/taluvine" -j "$jobs"
say "page built"

site=$work/site
rm -rf "$site" "$work/taluvine-web.zip"
mkdir -p "$site/fonts"
# The runtime's script, the program and the data ship gzipped (-n: the same bytes every build),
# and the page fetches and inflates them itself: a plain static server then sends half the data.
# The page learns the compressed and raw sizes from its `var packed = {};` line, filled in here.
# Emscripten's packager names the data package with a random UUID (its key in a browser cache the
# page does not use), so no two builds' scripts were the same: the name is made from the data.
hash=$(sha256sum < "$work/taluvine/index.data" | cut -c1-32)
uuid="${hash:0:8}-${hash:8:4}-8${hash:13:3}-a${hash:17:3}-${hash:20:12}"
sed -E "s/\"package_uuid\":\"[0-9a-f-]{36}\"/\"package_uuid\":\"$uuid\"/" "$work/taluvine/index.js" > "$work/index.js"
grep -q "\"package_uuid\":\"$uuid\"" "$work/index.js" ||
  { echo "web: index.js names its data package in a way this script does not know" >&2; exit 1; }
packed=
for f in index.js index.wasm index.data; do
  from=$work/taluvine/$f
  [ "$f" != index.js ] || from=$work/index.js
  gzip -9nc "$from" > "$site/$f.gz"
  packed+="${packed:+, }\"$f\": {\"file\": \"$f.gz\", \"size\": $(stat -c %s "$site/$f.gz"), \"raw\": $(stat -c %s "$work/taluvine/$f")}"
done
sed "s|^\( *\)var packed = {};|\1var packed = {$packed};|" "$work/taluvine/index.html" > "$site/index.html"
grep -q '"index.data": {"file": "index.data.gz"' "$site/index.html" ||
  { echo "web: the page has no 'var packed = {};' line for the compressed files" >&2; exit 1; }
# The gate's two fonts as WOFF2, the web's compressed font format: 172 kB less than the OTFs.
for font in /usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf /usr/share/fonts/opentype/inter/Inter-Light.otf; do
  cp "$font" "$work/"
  woff2_compress "$work/$(basename "$font")" >/dev/null 2>&1
  mv "$work/$(basename "$font" .otf).woff2" "$site/fonts/"
done
cp -r "$prefix/licences" "$site/licences"
mkdir -p "$site/licences/fonts"
cp /usr/share/doc/fonts-league-spartan/copyright "$site/licences/fonts/league-spartan-copyright"
cp /usr/share/doc/fonts-inter/copyright "$site/licences/fonts/inter-copyright"
tools/release/docs.sh "$site"
rm -rf "$work/zip" && mkdir -p "$work/zip" && cp -r "$site" "$work/zip/taluvine"
zip_release "$work/zip" taluvine "$work/taluvine-web.zip"
for f in index.wasm index.js index.data; do
  say "$f: $(stat -c %s "$work/taluvine/$f") bytes, $(stat -c %s "$site/$f.gz") gzipped"
done
say "the page downloads $(cat "$site"/index.html "$site"/*.gz "$site"/fonts/* | wc -c) bytes in all"
say "$(du -h "$work/taluvine-web.zip" | cut -f1) in build-web/taluvine-web.zip"
