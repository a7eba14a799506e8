#include "engine/shader.h"

#include <fstream>
#include <iostream>
#include <iterator>

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
    }
    name = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(name, 1, &text, nullptr);
}

}  // namespace Quorvel
