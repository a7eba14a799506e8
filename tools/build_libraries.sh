#!/usr/bin/env bash
# Fetches Debian's source packages of the libraries the program links, pinned to the versions of
# the native -dev packages, and builds them for one target into WORK/prefix, with their licences
# in WORK/prefix/licences. Called by tools/windows.sh, tools/linux.sh and tools/web.sh.
#   windows  cross-compiled for 64-bit Windows with MinGW-w64; OpenAL Soft a DLL in prefix/bin
#   linux    native x86-64, static and position-independent, to be linked into the program;
#            OpenAL Soft a shared library in prefix/lib, its audio back-ends loaded when present
#   web      WebAssembly with Emscripten (EM_CONFIG and EM_CACHE set by tools/web.sh): libogg,
#            libvorbis, lodepng and FFTW only; GL, GLFW and OpenAL are Emscripten's own
# Usage: tools/build_libraries.sh windows|linux|web WORK
set -euo pipefail
target=$1
work=$2
prefix=$work/prefix
src=$work/sources
logs=$work/logs
jobs=$(nproc)
start=$(date +%s)
say() { echo "$target libraries: [$(( $(date +%s) - start ))s] $*"; }
case "$target" in windows|linux|web) ;; *) echo "unknown target $target (windows, linux or web)" >&2; exit 2 ;; esac
rm -rf "$prefix" "$work/lib-build"
mkdir -p "$prefix"/{bin,lib,include,licences} "$src" "$logs"

root=$(cd "$(dirname "$0")/.." && pwd)
# The libraries go into the programs: they name their sources relative to the checkout, as the
# programs do, so that the release is the same file whichever folder it was built in.
map=-ffile-prefix-map=$root=.
if [ "$target" = web ]; then
  "$root/tools/debian_source.sh" "$src" libogg-dev=ogg libvorbis-dev=vorbis liblodepng-dev=lodepng libfftw3-dev=fftw
else
  "$root/tools/debian_source.sh" "$src" libglfw3-dev=glfw libglew-dev=glew libogg-dev=ogg libvorbis-dev=vorbis \
                                       liblodepng-dev=lodepng libfftw3-dev=fftw
fi
# OpenAL Soft: the pinned source first; where the archive no longer serves its files, Debian's
# newer source package of the same library (the AL/ALC interface the program uses is unchanged).
if [ "$target" != web ] && ! "$root/tools/debian_source.sh" "$src" libopenal-dev=openal 2>/dev/null; then
  trixie=$work/apt-trixie
  mkdir -p "$trixie/lists/partial" "$trixie/cache/archives/partial"
  echo "deb-src http://deb.debian.org/debian trixie main" > "$trixie/sources.list"
  apt_trixie=(-o "Dir::Etc::SourceList=$trixie/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$trixie/lists" -o "Dir::Cache=$trixie/cache")
  apt-get "${apt_trixie[@]}" -qq update
  # apt checks each file against the archive's index; where the Debian part is not served either,
  # the verified upstream tarball is used as it is.
  (cd "$src" && apt-get "${apt_trixie[@]}" -qq source --download-only openal-soft >"$logs/fetch-openal.log" 2>&1 || true)
  rm -rf "$src/openal"
  dsc=$(ls "$src"/openal-soft_*.dsc 2>/dev/null | grep -v '_1\.19' | head -1 || true)
  if [ -n "$dsc" ] && [ -f "${dsc%.dsc}.debian.tar.xz" ]; then
    dpkg-source -x "$dsc" "$src/openal" >>"$logs/fetch-openal.log" 2>&1
  else
    orig=$(ls "$src"/openal-soft_*.orig.tar.gz | grep -v '_1\.19' | head -1)
    mkdir -p "$src/openal" && tar -xzf "$orig" -C "$src/openal" --strip-components=1
  fi
  say "openal: the pinned source is not served; built Debian's $(ls "$src"/openal-soft_*.orig.tar.gz | grep -v '_1\.19' | head -1 | xargs basename)"
fi

# What differs between the targets; everything else below is built the same way for both.
if [ "$target" = windows ]; then
  export QVL_WINDOWS_PREFIX=$prefix PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
  cmake_target=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
  cxx=(x86_64-w64-mingw32-g++-posix) ar=x86_64-w64-mingw32-ar
  gl_library=-lopengl32
  # SSE2 only: MinGW does not align the stack for AVX on Win64.
  fftw_target=(--host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --enable-sse2 --with-our-malloc)
  # Windows' own audio back-ends only, its C and C++ runtimes linked in.
  openal_target=(-DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON
    -DALSOFT_BACKEND_PIPEWIRE=OFF -DALSOFT_BACKEND_PULSEAUDIO=OFF)
elif [ "$target" = web ]; then
  export QVL_WEB_PREFIX=$prefix PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
  cmake_target=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/web.cmake")
  cxx=(em++) ar=emar
  # Plain C kernels: WebAssembly has none of the x86 instruction sets FFTW's SIMD code is for.
  # No -g in the configure tests (autoconf's default CFLAGS): Emscripten would build a debug C
  # library just for them, besides the release one the page links; one cache for all three
  # configure scripts, which ask many of the same questions of a slow compiler.
  fftw_target=(--host=wasm32-unknown-linux-gnu CC=emcc AR=emar RANLIB=emranlib CFLAGS=-O2
    --cache-file="$work/lib-build/config.cache")
else
  # The prefix's own libraries first (ogg for vorbis); the machine's only for what the prefix
  # does not build (X11 for GLFW). Static archives go into a position-independent program.
  export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  cmake_target=(-DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=ON)
  cxx=(g++ -fPIC) ar=ar
  gl_library=-lGL
  # SSE2, as for Windows: one 2048-point transform a frame is a small share of the frame, and
  # each further instruction set's kernels would add minutes to every fresh build.
  fftw_target=(--enable-sse2 --with-pic)
  # A desktop's sound servers and ALSA, each opened at run time where the machine has it, so
  # that the library itself needs nothing but the C and C++ runtimes; OSS and the null and
  # wave writers come without any library.
  openal_target=(-DALSOFT_DLOPEN=ON -DALSOFT_REQUIRE_ALSA=ON -DALSOFT_REQUIRE_PULSEAUDIO=ON
    -DALSOFT_REQUIRE_PIPEWIRE=ON -DALSOFT_BACKEND_SNDIO=OFF)
fi

cmake_build() {  # name source-dir options...
  local name=$1 dir=$2; shift 2
  local t=$(date +%s)
  CFLAGS=$map CXXFLAGS=$map cmake -S "$dir" -B "$work/lib-build/$name" -G Ninja "${cmake_target[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$logs/$name.log" 2>&1
  cmake --build "$work/lib-build/$name" -j "$jobs" >>"$logs/$name.log" 2>&1
  cmake --install "$work/lib-build/$name" >>"$logs/$name.log" 2>&1
  say "$name built in $(( $(date +%s) - t ))s"
}
# GLFW, GLEW and OpenAL Soft in the browser are Emscripten's own.
web=no
[ "$target" = web ] && web=yes
if [ "$web" = no ]; then
cmake_build glfw "$src/glfw" -DBUILD_SHARED_LIBS=OFF -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
if [ "$target" = linux ]; then
  # GLFW's pkg-config file leaves out the X11 and threads libraries its static archive calls.
  sed -i -e 's/^Libs.private: .*/& -lpthread\nRequires.private: x11/' "$prefix/lib/pkgconfig/glfw3.pc"
fi
cmake_build glew "$src/glew/build/cmake" -DBUILD_SHARED_LIBS=OFF -DBUILD_UTILS=OFF
# GLEW's pkg-config file asks for GLU, which the program does not use, and leaves out the static
# define and the GL library a static GLEW needs.
sed -i -e '/^Requires: glu/d' -e 's/^Cflags: .*/& -DGLEW_STATIC/' -e "s/^Libs: .*/& $gl_library/" "$prefix/lib/pkgconfig/glew.pc"
fi
if [ "$web" = no ]; then
  cmake_build ogg "$src/ogg" -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
  cmake_build vorbis "$src/vorbis" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF
else
  # Their CMake checks for integer types fail under Emscripten; their configure scripts do not.
  for name in ogg vorbis; do
    t=$(date +%s)
    mkdir -p "$work/lib-build/$name" && cd "$work/lib-build/$name"
    "$src/$name/configure" "${fftw_target[@]}" CPPFLAGS="$map" --prefix="$prefix" --enable-static --disable-shared \
      --disable-dependency-tracking --disable-docs --disable-examples --with-ogg="$prefix" >"$logs/$name.log" 2>&1
    code=lib; [ -d "$src/$name/lib" ] || code=src   # the library alone, no tests or tools
    make -j "$jobs" -C $code >>"$logs/$name.log" 2>&1
    make -C $code install >>"$logs/$name.log" 2>&1
    make -C include install >>"$logs/$name.log" 2>&1
    make install-pkgconfigDATA >>"$logs/$name.log" 2>&1
    cd - >/dev/null
    say "$name built in $(( $(date +%s) - t ))s"
  done
fi

mkdir -p "$work/lib-build/lodepng"
"${cxx[@]}" -O2 "$map" -c "$src/lodepng/lodepng.cpp" -o "$work/lib-build/lodepng/lodepng.o"
"$ar" rcs "$prefix/lib/liblodepng.a" "$work/lib-build/lodepng/lodepng.o"
install -m 644 "$src/lodepng/lodepng.h" "$prefix/include/"
say "lodepng built"

# FFTW single precision, the library alone (no tests, tools or documentation). Portable: left to
# itself FFTW tunes its code for the building machine's processor (-mtune=native), so that each
# machine would build a different library.
t=$(date +%s)
mkdir -p "$work/lib-build/fftw" && cd "$work/lib-build/fftw"
"$src/fftw/configure" "${fftw_target[@]}" CPPFLAGS="$map" --enable-portable-binary --prefix="$prefix" \
  --enable-float --disable-fortran --disable-doc --enable-static --disable-shared \
  --disable-dependency-tracking >"$logs/fftw.log" 2>&1
for d in support kernel simd-support dft rdft reodft api; do make -j "$jobs" -C $d >>"$logs/fftw.log" 2>&1; done
make -j "$jobs" libfftw3f.la >>"$logs/fftw.log" 2>&1
make install-libLTLIBRARIES install-pkgconfigDATA >>"$logs/fftw.log" 2>&1
make -C api install-includeHEADERS >>"$logs/fftw.log" 2>&1
cd - >/dev/null
say "fftw built in $(( $(date +%s) - t ))s"

# OpenAL Soft as a shared library beside the programs (its licence is the LGPL).
if [ "$web" = no ]; then
openal_options=(-DLIBTYPE=SHARED "${openal_target[@]}"
  -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF
  -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF -DALSOFT_INSTALL_EXAMPLES=OFF
  -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF -DALSOFT_BACKEND_JACK=OFF -DALSOFT_BACKEND_PORTAUDIO=OFF
  -DALSOFT_BACKEND_SDL2=OFF -DALSOFT_BACKEND_SDL3=OFF)
cmake_build openal "$src/openal" "${openal_options[@]}"
fi

# Every library's own licence texts, and Debian's copyright file where the source has one.
licence() {  # name files...
  local name=$1; shift
  mkdir -p "$prefix/licences/$name"
  for f in "$@"; do [ -f "$src/$name/$f" ] && cp "$src/$name/$f" "$prefix/licences/$name/"; done
  [ -f "$src/$name/debian/copyright" ] && cp "$src/$name/debian/copyright" "$prefix/licences/$name/debian-copyright"
  return 0
}
if [ "$web" = no ]; then
  licence glfw LICENSE.md
  licence glew LICENSE.txt
fi
licence ogg COPYING
licence vorbis COPYING
licence lodepng LICENSE
licence fftw COPYING COPYRIGHT
[ "$web" = yes ] || licence openal COPYING BSD-3Clause LICENSE-pffft
for fmt in "$src"/openal/fmt-*/LICENSE; do [ -f "$fmt" ] && cp "$fmt" "$prefix/licences/openal/fmt-LICENSE"; done
say "all libraries built"
