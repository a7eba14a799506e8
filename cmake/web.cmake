# Build for web browsers with Debian's Emscripten: WebAssembly with WebGL 2 under Emscripten's
# legacy GL emulation, its GLFW 3 and OpenAL. libogg, libvorbis, FFTW and lodepng are looked up in
# QVL_WEB_PREFIX (environment or cache), where tools/web.sh builds them from Debian's sources.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(NOT QVL_WEB_PREFIX)
  set(QVL_WEB_PREFIX "$ENV{QVL_WEB_PREFIX}" CACHE PATH "Where the web libraries are installed")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${QVL_WEB_PREFIX}")
