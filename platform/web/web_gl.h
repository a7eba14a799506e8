// What the desktop's OpenGL 2.1 calls need in the browser, where Emscripten's legacy GL
// emulation runs them on WebGL 2. The engine and the scenes stay as they are; this header
// (reached through the web build's <GL/glew.h>) renames the few calls the emulation lacks or
// treats differently onto the wrappers in web_gl.cpp:
//   - the EXT framebuffer entry points are the WebGL 2 core ones;
//   - glMultiTexCoord2f feeds the emulation's immediate mode, and a texture coordinate given
//     twice for unit 0 (legacy and multitexture form) counts once, else the vertex is dropped;
//   - GL_QUAD_STRIP on client arrays draws as the triangle strip of the same vertices, a draw
//     from a first vertex other than 0 gets arrays that start there, and big quad meshes go
//     in parts that 16-bit indices reach;
//   - internal format 4, GL_CLAMP and float depth textures become what WebGL accepts;
//   - GL_TEXTURE_2D counts as enabled only while a texture is bound, since an enabled unit
//     without one draws black in the emulation rather than the plain colour;
//   - shader sources lose their "#version 120" (the emulation prepends its declarations) and
//     get gl_NormalMatrix computed from the model-view matrix; after the emulation's rewriting
//     they reach WebGL as GLSL ES 3.00 (web_gl.js), which has fwidth and gl_FragDepth;
//   - glPushAttrib/glPopAttrib keep, for the groups the mask names, the state the program
//     changes (the emulation has none): enables, blending, depth, viewport, clear colour,
//     current colour, texture bindings, active unit and texture environment.
#pragma once

// The GL 2.0 entry points (shaders, multitexture) are declared only on request, as GLEW would.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#define GLEW_OK 0
#define GLEW_VERSION_2_1 1
#define GLEW_EXT_framebuffer_object 1
// WebGL 2 has multisampled renderbuffers and blits in its core.
#define GLEW_EXT_framebuffer_multisample 1
#define GLEW_EXT_framebuffer_blit 1
// No timer queries (WebGL's are an extension few browsers offer, and the emulation has none):
// the frame timer reads the CPU's clock here. Nor the drivers' memory figures.
#define GLEW_ARB_timer_query 0
#define GLEW_EXT_timer_query 0
#define QVL_GL_NO_TIMER_QUERIES 1
// The emulation's fixed pipeline does not draw a render target back into the frame as desktop GL
// does (the frame kept aside while a pass borrows its multisampled buffer comes back black), so
// such a pass takes a second buffer here.
#define QVL_GL_NO_FIXED_PIPELINE_COPY 1
#define GLEW_NVX_gpu_memory_info 0
#define GLEW_ATI_meminfo 0
inline GLenum glewInit() { return GLEW_OK; }

// The EXT enumerants are glext.h's; these two come with the blit extension it leaves out.
#ifndef GL_READ_FRAMEBUFFER_EXT
#define GL_READ_FRAMEBUFFER_EXT 0x8CA8
#define GL_DRAW_FRAMEBUFFER_EXT 0x8CA9
#endif
#ifndef GL_MAX_SAMPLES_EXT
#define GL_MAX_SAMPLES_EXT 0x8D57
#endif

// WebGL 2 has them in its core, under the core names glext.h declares.
#define glBindFramebufferEXT glBindFramebuffer
#define glCheckFramebufferStatusEXT glCheckFramebufferStatus
#define glGenFramebuffersEXT glGenFramebuffers
#define glDeleteFramebuffersEXT glDeleteFramebuffers
#define glFramebufferTexture2DEXT glFramebufferTexture2D
#define glGenRenderbuffersEXT glGenRenderbuffers
#define glDeleteRenderbuffersEXT glDeleteRenderbuffers
#define glBindRenderbufferEXT glBindRenderbuffer
#define glFramebufferRenderbufferEXT glFramebufferRenderbuffer
#define glRenderbufferStorageMultisampleEXT glRenderbufferStorageMultisample
#define glBlitFramebufferEXT glBlitFramebuffer

namespace Quorvel::Web {
void multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t);
void texCoord2f(GLfloat s, GLfloat t);
void vertex2f(GLfloat x, GLfloat y);
void vertex3f(GLfloat x, GLfloat y, GLfloat z);
void vertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void normalPointer(GLenum type, GLsizei stride, const void* pointer);
void texCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void drawArrays(GLenum mode, GLint first, GLsizei count);
void texImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                GLenum format, GLenum type, const void* pixels);
void texParameteri(GLenum target, GLenum name, GLint value);
void enable(GLenum cap);
void disable(GLenum cap);
void activeTexture(GLenum unit);
void bindTexture(GLenum target, GLuint texture);
void deleteTextures(GLsizei n, const GLuint* textures);
void blendFunc(GLenum source, GLenum destination);
void clearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void color4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void color3f(GLfloat red, GLfloat green, GLfloat blue);
void texEnvi(GLenum target, GLenum name, GLint value);
void depthFunc(GLenum function);
void depthMask(GLboolean flag);
void enableClientState(GLenum array);
void disableClientState(GLenum array);
void hint(GLenum target, GLenum mode);
void pushAttrib(GLbitfield mask);
void popAttrib();
void pushClientAttrib(GLbitfield mask);
void popClientAttrib();
void shaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths);
void compileShader(GLuint shader);
}  // namespace Quorvel::Web

// web_gl.cpp itself calls the emulation's own entry points.
#ifndef QVL_WEB_GL_IMPLEMENTATION
#define glMultiTexCoord2f Quorvel::Web::multiTexCoord2f
#define glTexCoord2f Quorvel::Web::texCoord2f
#define glVertex2f Quorvel::Web::vertex2f
#define glVertex3f Quorvel::Web::vertex3f
#define glVertexPointer Quorvel::Web::vertexPointer
#define glNormalPointer Quorvel::Web::normalPointer
#define glTexCoordPointer Quorvel::Web::texCoordPointer
#define glDrawArrays Quorvel::Web::drawArrays
#define glTexImage2D Quorvel::Web::texImage2D
#define glTexParameteri Quorvel::Web::texParameteri
#define glEnable Quorvel::Web::enable
#define glDisable Quorvel::Web::disable
#define glActiveTexture Quorvel::Web::activeTexture
#define glBindTexture Quorvel::Web::bindTexture
#define glDeleteTextures Quorvel::Web::deleteTextures
#define glBlendFunc Quorvel::Web::blendFunc
#define glClearColor Quorvel::Web::clearColor
#define glColor4f Quorvel::Web::color4f
#define glColor3f Quorvel::Web::color3f
#define glTexEnvi Quorvel::Web::texEnvi
#define glDepthFunc Quorvel::Web::depthFunc
#define glDepthMask Quorvel::Web::depthMask
#define glEnableClientState Quorvel::Web::enableClientState
#define glDisableClientState Quorvel::Web::disableClientState
#define glHint Quorvel::Web::hint
#define glPushAttrib Quorvel::Web::pushAttrib
#define glPopAttrib Quorvel::Web::popAttrib
#define glPushClientAttrib Quorvel::Web::pushClientAttrib
#define glPopClientAttrib Quorvel::Web::popClientAttrib
#define glShaderSource Quorvel::Web::shaderSource
#define glCompileShader Quorvel::Web::compileShader
#endif
