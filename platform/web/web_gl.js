// The emulation's immediate mode takes texture coordinates for unit 0 only (glTexCoord2f); a
// multitextured quad gives one per unit (glMultiTexCoord2f) for each corner.
mergeInto(LibraryManager.library, {
  qvl_web_immediate_tex_coord__deps: ['$GLImmediate'],
  qvl_web_immediate_tex_coord: function(unit, s, t) {
    GLImmediate.vertexData[GLImmediate.vertexCounter++] = s;
    GLImmediate.vertexData[GLImmediate.vertexCounter++] = t;
    GLImmediate.addRendererComponent(GLImmediate.TEXTURE0 + unit, 2, GLctx.FLOAT);
  },
});

// The emulation writes GLSL ES 1.00, where WebGL 2 offers no derivatives (fwidth) and no
// gl_FragDepth; GLSL 1.20 has both. Every shader goes to WebGL as GLSL ES 3.00 instead (both
// shaders of a program must share a version), after the emulation's rewriting, so that its
// declarations and any #extension it adds are upgraded too.
mergeInto(LibraryManager.library, {
  qvl_web_upgrade_shaders: function() {
    var ctx = GLctx;
    if (ctx.qvlUpgradesShaders) return;
    ctx.qvlUpgradesShaders = true;
    var shaderSource = ctx.shaderSource;
    ctx.shaderSource = function(shader, source) {
      var fragment = ctx.getShaderParameter(shader, ctx.SHADER_TYPE) == ctx.FRAGMENT_SHADER;
      source = source.replace(/^[ \t]*#[ \t]*extension[^\n]*$/gm, '')
                     .replace(/\bgl_FragDepthEXT\b/g, 'gl_FragDepth')
                     .replace(/\btexture2D\b/g, 'texture');
      if (fragment) {
        source = source.replace(/\bvarying\b/g, 'in');
        if (/\bgl_FragColor\b/.test(source)) {
          source = 'out highp vec4 qvl_FragColor;\n' + source.replace(/\bgl_FragColor\b/g, 'qvl_FragColor');
        }
      } else {
        source = source.replace(/\battribute\b/g, 'in').replace(/\bvarying\b/g, 'out');
      }
      shaderSource.call(ctx, shader, '#version 300 es\n' + source);
    };
  },
});

// After a lost WebGL context comes back, every WebGL object the GL layer and the legacy
// emulation hold is dead and the context's state is at its defaults. This puts their
// JavaScript side back to what a fresh context has and forgets the program's objects:
// glDelete* on a forgotten name then does nothing (a dead object handed to the browser draws
// a console warning). It recreates nothing of the program's, nor its GL state: the program
// then makes every object again. Answers 0 while the context is still lost.
//   if (qvl_web_gl_context_restored()) session->rebuildGlObjects();
mergeInto(LibraryManager.library, {
  qvl_web_gl_context_restored__deps: ['$GL', '$GLImmediate', '$GLEmulation'],
  qvl_web_gl_context_restored: function() {
    var context = GL.currentContext, ctx = GLctx;
    if (!context || ctx.isContextLost()) return 0;
    // Names are never reused (GL.counter goes on), so a forgotten one stays forgotten.
    [GL.buffers, GL.programs, GL.framebuffers, GL.renderbuffers, GL.textures, GL.shaders,
     GL.vaos, GL.queries, GL.samplers, GL.transformFeedbacks, GL.syncs].forEach(function(table) {
      if (table) for (var i = 0; i < table.length; ++i) table[i] = null;
    });
    // What the layer believes is bound; a restored context has nothing bound.
    ctx.currentArrayBufferBinding = ctx.currentElementArrayBufferBinding = 0;
    ctx.currentPixelPackBufferBinding = ctx.currentPixelUnpackBufferBinding = 0;
    ctx.currentProgram = null;
    GL.currProgram = 0;
    GL.unpackAlignment = 4;
    GL.lastError = 0;
    // Extensions end with the lost context: enabled again, their objects fetched again.
    context.initExtensionsDone = false;
    GL.initExtensions(context);
    // The client-array and quad-index buffers, and the fixed-function programs built so far.
    GL.generateTempBuffers(true, context);
    GLImmediate.rendererCache = GLImmediate.MapTreeLib.create();
    GLImmediate.currentRenderer = GLImmediate.lastRenderer = null;
    GLImmediate.lastArrayBuffer = GLImmediate.lastProgram = null;
    GLImmediate.lastStride = -1;
    GLImmediate.fixedFunctionProgram = 0;
    GLImmediate.matricesModified = true;
    GLImmediate.modifiedClientAttributes = true;
    GLEmulation.currentVao = null;
    GLEmulation.enabledVertexAttribArrays = {};
    // The emulation (and web_gl.cpp) still name the unit last made active; WebGL is back at 0.
    ctx.activeTexture(0x84C0 /*GL_TEXTURE0*/ + GLImmediate.TexEnvJIT.getActiveTexture());
    return 1;
  },
});
