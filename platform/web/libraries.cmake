# The libraries of the web build under the names the desktop's targets use, so runtime/, engine/
# and the scenes link the same way on both: GL, GLFW 3 and OpenAL from Emscripten itself, the
# web layer's <GL/glew.h> in GLEW's place, Boost's headers from Debian (headers alone, the same
# for every target).
add_library(qvl_web_gl INTERFACE)
target_include_directories(qvl_web_gl BEFORE INTERFACE ${CMAKE_SOURCE_DIR}/platform/web/include)
target_link_options(qvl_web_gl INTERFACE -sLEGACY_GL_EMULATION=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
                    -sGL_UNSAFE_OPTS=0
                    # Client arrays are copied through a buffer of this size: the largest mesh must fit.
                    -sGL_MAX_TEMP_BUFFER_SIZE=16777216)
add_library(OpenGL::GL ALIAS qvl_web_gl)
add_library(PkgConfig::GLEW ALIAS qvl_web_gl)
add_library(qvl_web_glfw INTERFACE)
target_link_options(qvl_web_glfw INTERFACE -sUSE_GLFW=3)
add_library(PkgConfig::GLFW3 ALIAS qvl_web_glfw)
add_library(qvl_web_openal INTERFACE)
target_link_libraries(qvl_web_openal INTERFACE openal)
add_library(PkgConfig::OPENAL ALIAS qvl_web_openal)
add_library(qvl_web_boost INTERFACE)
target_include_directories(qvl_web_boost SYSTEM INTERFACE ${QVL_WEB_PREFIX}/include)
add_library(Boost::boost ALIAS qvl_web_boost)
