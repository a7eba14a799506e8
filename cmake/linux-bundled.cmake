# Native Linux build of a program that carries its own libraries, for a machine that has only
# the C and C++ runtimes, libGL and the X client libraries (tools/linux.sh):
#   QVL_LINUX_PREFIX=build-linux/prefix cmake -S . -B DIR -DCMAKE_TOOLCHAIN_FILE=cmake/linux-bundled.cmake
# GLFW, GLEW, libogg, libvorbis, lodepng and FFTW are linked in from the static archives that
# tools/build_libraries.sh installs in the prefix; OpenAL Soft (LGPL) stays a shared library,
# looked up beside the program ($ORIGIN). The machine's own copies are never picked: the prefix
# is searched first, for pkg-config modules and for lodepng alike.
if(NOT QVL_LINUX_PREFIX)
  set(QVL_LINUX_PREFIX "$ENV{QVL_LINUX_PREFIX}" CACHE PATH "Where the bundled Linux libraries are installed")
endif()
if(NOT IS_DIRECTORY "${QVL_LINUX_PREFIX}/lib/pkgconfig")
  message(FATAL_ERROR "QVL_LINUX_PREFIX='${QVL_LINUX_PREFIX}' holds no libraries: run tools/linux.sh")
endif()
# Read again on every configure, so that a re-run started by the build finds the same modules.
set(ENV{PKG_CONFIG_PATH} "${QVL_LINUX_PREFIX}/lib/pkgconfig")
list(PREPEND CMAKE_PREFIX_PATH "${QVL_LINUX_PREFIX}")

# libGL.so.1 is what every Linux desktop with OpenGL has; libOpenGL.so.0 is not everywhere.
set(OpenGL_GL_PREFERENCE LEGACY)

# A static archive brings the libraries it calls only through pkg-config's --static list
# (X11 for GLFW, the maths library for vorbis and FFTW); they close every program's link line.
execute_process(COMMAND pkg-config --static --libs glfw3 glew vorbisfile vorbisenc fftw3f
                OUTPUT_VARIABLE _qvl_static_libs OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _qvl_pkg_config)
if(NOT _qvl_pkg_config EQUAL 0)
  message(FATAL_ERROR "pkg-config cannot list the static libraries in ${QVL_LINUX_PREFIX}")
endif()
set(CMAKE_CXX_STANDARD_LIBRARIES_INIT "${_qvl_static_libs}")
# Only what is called is recorded as needed, and OpenAL Soft is found beside the program
# wherever the folder is unpacked.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--as-needed")
set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
set(CMAKE_INSTALL_RPATH "$ORIGIN")
set(QVL_PROGRAM_ONLY ON CACHE BOOL "")
