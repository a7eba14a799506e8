// The emulation's immediate mode takes texture coordinates for unit 0 only (glTexCoord2f); the
// helix background and the logo give one per unit for each corner of a quad.
mergeInto(LibraryManager.library, {
  qvl_web_immediate_tex_coord__deps: ['$GLImmediate'],
  qvl_web_immediate_tex_coord: function(unit, s, t) {
    GLImmediate.vertexData[GLImmediate.vertexCounter++] = s;
    GLImmediate.vertexData[GLImmediate.vertexCounter++] = t;
    GLImmediate.addRendererComponent(GLImmediate.TEXTURE0 + unit, 2, GLctx.FLOAT);
  },
});
