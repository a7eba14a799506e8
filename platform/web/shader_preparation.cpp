#include "platform/web/shader_preparation.h"

namespace Quorvel {

namespace {

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Replaces whole-word occurrences only: gl_NormalMatrixFoo is someone else's name.
std::string replaceWord(const std::string& text, const std::string& word, const std::string& with, bool& replaced) {
    std::string out;
    out.reserve(text.size());
    std::string::size_type at = 0;
    for (;;) {
        const std::string::size_type found = text.find(word, at);
        if (found == std::string::npos) break;
        const std::string::size_type after = found + word.size();
        const bool whole = (found == 0 || !isIdentifierChar(text[found - 1])) &&
                           (after >= text.size() || !isIdentifierChar(text[after]));
        out.append(text, at, found - at);
        out += whole ? with : word;
        replaced = replaced || whole;
        at = after;
    }
    out.append(text, at, std::string::npos);
    return out;
}

// The line's first non-blank characters are "#version" (spaces allowed after the '#').
bool isVersionLine(const std::string& line) {
    std::string::size_type i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') return false;
    i = line.find_first_not_of(" \t", i + 1);
    return i != std::string::npos && line.compare(i, 7, "version") == 0 &&
           (i + 7 >= line.size() || !isIdentifierChar(line[i + 7]));
}

}  // namespace

std::string prepareShaderForWeb(const std::string& source, ShaderStage stage) {
    std::string body;
    body.reserve(source.size());
    std::string::size_type start = 0;
    while (start <= source.size()) {
        std::string::size_type end = source.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = source.size();
        const std::string line = source.substr(start, end - start);
        if (!isVersionLine(line)) body += line;
        if (!last) body += '\n';
        start = end + 1;
        if (last) break;
    }

    bool usesNormalMatrix = false;
    body = replaceWord(body, "gl_NormalMatrix", "qvl_normalMatrix(gl_ModelViewMatrix)", usesNormalMatrix);
    if (!usesNormalMatrix) return body;

    // The inverse transpose from the cofactors: columns cross(b, c), cross(c, a), cross(a, b)
    // over the determinant, exact for any invertible model-view, scaled or not. On one line, so
    // compile logs keep the source's line numbers plus one.
    std::string prefix =
        "mat3 qvl_normalMatrix(mat4 m) { vec3 a = m[0].xyz; vec3 b = m[1].xyz; vec3 c = m[2].xyz; "
        "return mat3(cross(b, c), cross(c, a), cross(a, b)) / dot(a, cross(b, c)); }\n";
    if (stage == ShaderStage::Fragment) {
        // The emulation declares the model-view matrix for vertex shaders only; the fragment
        // shader shares the same uniform, at the vertex shader's (high) precision.
        prefix = "uniform highp mat4 u_modelView;\n" + prefix;
        bool unused = false;
        prefix = replaceWord(prefix, "gl_ModelViewMatrix", "u_modelView", unused);
        body = replaceWord(body, "gl_ModelViewMatrix", "u_modelView", unused);
    }
    return prefix + body;
}

}  // namespace Quorvel
