// The web build's stand-in for GLEW: the engine and the scenes include <GL/glew.h> on every
// platform, and in the browser the GL entry points come from Emscripten's GL emulation instead.
#pragma once
#include "platform/web/web_gl.h"
