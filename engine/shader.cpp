#include "engine/shader.h"

#include <fstream>
#include <iostream>
#include <iterator>

#include "engine/live_objects.h"

namespace Quorvel {

std::string readWholeStream(std::istream& in) {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Shader::Shader(GLenum shaderType, const char* path) : type(shaderType), name(0) {
    std::string source;
    {
        std::ifstream file(path ? path : "");
        if (file) {
            source = readWholeStream(file);
        } else {
            // The program still builds (and fails to link); this line says which file was missing.
            std::cerr << "shader: cannot open " << (path ? path : "(null)") << std::endl;
        }
        if (file && source.empty()) std::cerr << "shader: " << path << " is empty" << std::endl;
        if (!looksLikeText(source)) std::cerr << "shader: " << path << " is not text" << std::endl;
    }
    name = glCreateShader(type);
    if (name != 0) LiveObjects::created(LiveObjects::Shader);
    const char* text = source.c_str();
    glShaderSource(name, 1, &text, nullptr);
}

Shader::~Shader() {
    if (name == 0) return;
    glDeleteShader(name);
    LiveObjects::deleted(LiveObjects::Shader);
}

bool looksLikeText(const std::string& source) {
    // GLSL is plain ASCII; control characters other than layout whitespace, or a zero byte
    // (which would also cut the source short at GL), mean the file was damaged or replaced.
    for (unsigned char c : source)
        if ((c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != '\v') || c == 0x7f) return false;
    return true;
}

}  // namespace Quorvel
