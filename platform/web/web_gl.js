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
