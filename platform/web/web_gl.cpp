#define QVL_WEB_GL_IMPLEMENTATION
#include "platform/web/web_gl.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "platform/web/shader_preparation.h"

// The emulation's immediate mode, extended in web_gl.js: a texture coordinate for any unit.
extern "C" void qvl_web_immediate_tex_coord(int unit, float s, float t);
// web_gl.js: every shader handed to WebGL as GLSL ES 3.00.
extern "C" void qvl_web_upgrade_shaders();

namespace Quorvel::Web {

namespace {

constexpr int kUnits = 8;

// What the program asked for, as the desktop GL would hold it; the emulation gets the state
// that draws the same (texturing on a unit only while a texture is bound there).
struct State {
    std::array<bool, kUnits> textureWanted{};
    std::array<GLuint, kUnits> bound{};
    std::array<GLint, kUnits> textureEnvironment{};  // 0 until the program sets one
    int activeUnit = 0;
    bool blend = false, depthTest = false, cullFace = false;
    GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLenum depthFunction = GL_LESS;
    GLboolean depthWrite = GL_TRUE;
    std::array<GLint, 4> viewport{};
    std::array<GLfloat, 4> clearColour{};
    std::array<GLfloat, 4> colour{1.0f, 1.0f, 1.0f, 1.0f};
};

// One glPushAttrib: the groups its mask named, and the state as it was.
struct SavedState {
    GLbitfield mask;
    State state;
};

struct ClientState {
    bool vertices = false, normals = false, texCoords = false, colours = false;
};

// A client array as the program gave it, so that a draw from a first vertex other than 0 can
// hand the emulation arrays that start there: the emulation copies separate (not interleaved)
// arrays from their start whatever the first vertex, and draws the wrong vertices otherwise.
struct ClientArray {
    GLint size = 0;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void* pointer = nullptr;
    std::size_t step() const { return stride != 0 ? std::size_t(stride) : std::size_t(size) * 4; }
    const void* at(GLint first) const { return static_cast<const char*>(pointer) + step() * std::size_t(first); }
};
ClientArray vertexArray, normalArray{3}, texCoordArray;

void pointArraysAt(GLint first) {
    if (vertexArray.pointer)
        ::glVertexPointer(vertexArray.size, vertexArray.type, vertexArray.stride, vertexArray.at(first));
    if (normalArray.pointer) ::glNormalPointer(normalArray.type, normalArray.stride, normalArray.at(first));
    if (texCoordArray.pointer)
        ::glTexCoordPointer(texCoordArray.size, texCoordArray.type, texCoordArray.stride, texCoordArray.at(first));
}

State state;
ClientState client;
std::vector<SavedState> savedStates;
std::vector<ClientState> savedClientStates;
bool texCoord0Given = false;  // within the vertex being built in immediate mode
std::map<GLuint, ShaderStage> shaderStages;

void applyTexturing(int unit) {
    const bool on = state.textureWanted[unit] && state.bound[unit] != 0;
    if (unit != state.activeUnit) ::glActiveTexture(GL_TEXTURE0 + unit);
    if (on)
        ::glEnable(GL_TEXTURE_2D);
    else
        ::glDisable(GL_TEXTURE_2D);
    if (unit != state.activeUnit) ::glActiveTexture(GL_TEXTURE0 + state.activeUnit);
}

void setCap(GLenum cap, bool on) {
    switch (cap) {
        case GL_TEXTURE_2D:
            state.textureWanted[state.activeUnit] = on;
            applyTexturing(state.activeUnit);
            return;
        case GL_BLEND: state.blend = on; break;
        case GL_DEPTH_TEST: state.depthTest = on; break;
        case GL_CULL_FACE: state.cullFace = on; break;
        case GL_ALPHA_TEST: return;  // never enabled by the program; WebGL has no such cap
        default: break;
    }
    if (on)
        ::glEnable(cap);
    else
        ::glDisable(cap);
}

void setClientArray(GLenum array, bool on) {
    switch (array) {
        case GL_VERTEX_ARRAY: client.vertices = on; break;
        case GL_NORMAL_ARRAY: client.normals = on; break;
        case GL_TEXTURE_COORD_ARRAY: client.texCoords = on; break;
        case GL_COLOR_ARRAY: client.colours = on; break;
        default: break;
    }
    if (on)
        ::glEnableClientState(array);
    else
        ::glDisableClientState(array);
}

}  // namespace

void multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t) {
    if (unit == GL_TEXTURE0) {
        texCoord2f(s, t);
        return;
    }
    qvl_web_immediate_tex_coord(int(unit - GL_TEXTURE0), s, t);
}

void texCoord2f(GLfloat s, GLfloat t) {
    // The emulation sizes each vertex by its first one; a second coordinate for unit 0 would
    // make every vertex one coordinate longer than its layout and the quad would be dropped.
    if (texCoord0Given) return;
    texCoord0Given = true;
    ::glTexCoord2f(s, t);
}

void vertex2f(GLfloat x, GLfloat y) {
    texCoord0Given = false;
    ::glVertex2f(x, y);
}

void vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    texCoord0Given = false;
    ::glVertex3f(x, y, z);
}

void vertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    vertexArray = {size, type, stride, pointer};
    ::glVertexPointer(size, type, stride, pointer);
}

void normalPointer(GLenum type, GLsizei stride, const void* pointer) {
    normalArray = {3, type, stride, pointer};
    ::glNormalPointer(type, stride, pointer);
}

void texCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    texCoordArray = {size, type, stride, pointer};
    ::glTexCoordPointer(size, type, stride, pointer);
}

void drawArrays(GLenum mode, GLint first, GLsizei count) {
    GLint arrayBuffer = 0;
    ::glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    if (first != 0 && arrayBuffer == 0 && client.vertices) {
        pointArraysAt(first);
        drawArrays(mode, 0, count);
        pointArraysAt(0);
        return;
    }
    if (mode == GL_QUADS) {
        // The emulation draws quads through 16-bit indices: a mesh of more vertices goes in
        // parts of whole quads that each stay within them.
        constexpr GLsizei kPart = 65532;
        for (GLsizei done = 0; done < count; done += kPart)
            ::glDrawArrays(GL_QUADS, first + done, std::min(kPart, count - done));
        return;
    }
    // A quad strip's vertices in the same order make the same surface as a triangle strip.
    ::glDrawArrays(mode == GL_QUAD_STRIP ? GL_TRIANGLE_STRIP : mode, first, count);
}

void texImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                GLenum format, GLenum type, const void* pixels) {
    // Sized, so that a multisampled 8-bit RGBA buffer resolves into a render target of the same
    // format: WebGL refuses a resolve between formats that differ.
    if (internalFormat == 4) internalFormat = GL_RGBA8;
    if (internalFormat == 3) internalFormat = GL_RGB8;
    if (format == GL_DEPTH_COMPONENT && type == GL_FLOAT) {
        // WebGL 2 takes 24-bit depth from unsigned integers only.
        internalFormat = GL_DEPTH_COMPONENT24;
        type = GL_UNSIGNED_INT;
    }
    ::glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void texParameteri(GLenum target, GLenum name, GLint value) {
    if (value == GL_CLAMP) value = GL_CLAMP_TO_EDGE;
    ::glTexParameteri(target, name, value);
}

void enable(GLenum cap) { setCap(cap, true); }
void disable(GLenum cap) { setCap(cap, false); }

void activeTexture(GLenum unit) {
    const int index = int(unit - GL_TEXTURE0);
    if (index >= 0 && index < kUnits) state.activeUnit = index;
    ::glActiveTexture(unit);
}

void bindTexture(GLenum target, GLuint texture) {
    ::glBindTexture(target, texture);
    if (target != GL_TEXTURE_2D) return;
    state.bound[state.activeUnit] = texture;
    applyTexturing(state.activeUnit);
}

void deleteTextures(GLsizei n, const GLuint* textures) {
    // GL unbinds a deleted texture from every unit; the tracked state must follow.
    for (GLsizei i = 0; i < n; ++i)
        for (int unit = 0; unit < kUnits; ++unit)
            if (textures[i] != 0 && state.bound[unit] == textures[i]) {
                state.bound[unit] = 0;
                applyTexturing(unit);
            }
    ::glDeleteTextures(n, textures);
}

void blendFunc(GLenum source, GLenum destination) {
    state.blendSource = source;
    state.blendDestination = destination;
    ::glBlendFunc(source, destination);
}

void depthFunc(GLenum function) {
    state.depthFunction = function;
    ::glDepthFunc(function);
}

void depthMask(GLboolean flag) {
    state.depthWrite = flag;
    ::glDepthMask(flag);
}

void enableClientState(GLenum array) { setClientArray(array, true); }
void disableClientState(GLenum array) { setClientArray(array, false); }

void hint(GLenum target, GLenum mode) {
    // WebGL knows only the mipmap hint; perspective-correct interpolation is what it always does.
    if (target == GL_PERSPECTIVE_CORRECTION_HINT) return;
    ::glHint(target, mode);
}

void clearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    state.clearColour = {red, green, blue, alpha};
    ::glClearColor(red, green, blue, alpha);
}

void color4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    state.colour = {red, green, blue, alpha};
    ::glColor4f(red, green, blue, alpha);
}

void color3f(GLfloat red, GLfloat green, GLfloat blue) { color4f(red, green, blue, 1.0f); }

void texEnvi(GLenum target, GLenum name, GLint value) {
    if (target == GL_TEXTURE_ENV && name == GL_TEXTURE_ENV_MODE) state.textureEnvironment[state.activeUnit] = value;
    ::glTexEnvi(target, name, value);
}

void pushAttrib(GLbitfield mask) {
    ::glGetIntegerv(GL_VIEWPORT, state.viewport.data());
    savedStates.push_back({mask, state});
}

// Puts back the groups the matching push named, as desktop GL does: enables (texturing on each
// unit, blending, depth test, culling), blending, depth, viewport, clear colour, current colour,
// and each unit's texture binding and environment with the active unit.
void popAttrib() {
    if (savedStates.empty()) return;
    const GLbitfield mask = savedStates.back().mask;
    const State saved = savedStates.back().state;
    savedStates.pop_back();
    const bool enables = mask & GL_ENABLE_BIT, textures = mask & GL_TEXTURE_BIT;
    if (enables || textures) {
        for (int unit = 0; unit < kUnits; ++unit) {
            state.activeUnit = unit;
            ::glActiveTexture(GL_TEXTURE0 + unit);
            if (textures) {
                if (state.bound[unit] != saved.bound[unit]) ::glBindTexture(GL_TEXTURE_2D, saved.bound[unit]);
                state.bound[unit] = saved.bound[unit];
                if (saved.textureEnvironment[unit] != 0 && state.textureEnvironment[unit] != saved.textureEnvironment[unit])
                    texEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, saved.textureEnvironment[unit]);
            }
            state.textureWanted[unit] = saved.textureWanted[unit];
            applyTexturing(unit);
        }
        activeTexture(GL_TEXTURE0 + (textures ? saved.activeUnit : state.activeUnit));
    }
    if (enables || (mask & GL_COLOR_BUFFER_BIT)) setCap(GL_BLEND, saved.blend);
    if (enables || (mask & GL_DEPTH_BUFFER_BIT)) setCap(GL_DEPTH_TEST, saved.depthTest);
    if (enables || (mask & GL_POLYGON_BIT)) setCap(GL_CULL_FACE, saved.cullFace);
    if (mask & GL_COLOR_BUFFER_BIT) {
        blendFunc(saved.blendSource, saved.blendDestination);
        clearColor(saved.clearColour[0], saved.clearColour[1], saved.clearColour[2], saved.clearColour[3]);
    }
    if (mask & GL_DEPTH_BUFFER_BIT) {
        depthFunc(saved.depthFunction);
        depthMask(saved.depthWrite);
    }
    if (mask & GL_VIEWPORT_BIT) ::glViewport(saved.viewport[0], saved.viewport[1], saved.viewport[2], saved.viewport[3]);
    if (mask & GL_CURRENT_BIT) color4f(saved.colour[0], saved.colour[1], saved.colour[2], saved.colour[3]);
}

void pushClientAttrib(GLbitfield) { savedClientStates.push_back(client); }

void popClientAttrib() {
    if (savedClientStates.empty()) return;
    const ClientState saved = savedClientStates.back();
    savedClientStates.pop_back();
    setClientArray(GL_VERTEX_ARRAY, saved.vertices);
    setClientArray(GL_NORMAL_ARRAY, saved.normals);
    setClientArray(GL_TEXTURE_COORD_ARRAY, saved.texCoords);
    setClientArray(GL_COLOR_ARRAY, saved.colours);
}

void shaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths) {
    std::string source;
    for (GLsizei i = 0; i < count; ++i)
        source += lengths && lengths[i] >= 0 ? std::string(strings[i], std::string::size_type(lengths[i]))
                                             : std::string(strings[i]);
    GLint type = 0;
    ::glGetShaderiv(shader, GL_SHADER_TYPE, &type);
    const ShaderStage stage = type == GL_FRAGMENT_SHADER ? ShaderStage::Fragment : ShaderStage::Vertex;
    shaderStages[shader] = stage;
    qvl_web_upgrade_shaders();  // once the context exists; later calls return at once
    const std::string prepared = prepareShaderForWeb(source, stage);
    const GLchar* text = prepared.c_str();
    ::glShaderSource(shader, 1, &text, nullptr);
}

void compileShader(GLuint shader) {
    ::glCompileShader(shader);
    // The desktop prints the link log only; in the browser a compile failure says far more.
    GLint compiled = GL_TRUE;
    ::glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return;
    GLint length = 0;
    ::glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(std::size_t(length > 0 ? length : 1) + 1, 0);
    ::glGetShaderInfoLog(shader, GLsizei(log.size()), nullptr, log.data());
    std::cerr << "shader: does not compile in the browser: " << log.data() << std::endl;
}

}  // namespace Quorvel::Web
