// One GL context for a whole test program, made on first use and never closed.
// Closing it would unload Mesa's driver before LeakSanitizer runs, and the driver's own
// allocations would then be reported as leaks from an unknown module.
//
//   GlContext& gl = sharedGlContext(64, 64);
//   REQUIRE_GL(gl);
#pragma once

#include "tests/support/gl_context.h"

inline GlContext& sharedGlContext(int width, int height) {
    static GlContext* context = new GlContext(width, height);  // reachable from here, so not a leak
    return *context;
}
