// One GL shader object created from a GLSL source file. It reads the file and hands the text
// to GL but does not compile: the program build (engine/program_build.h) does that. The GL
// shader is never deleted; it lives as long as the GL context.
//
//   boost::shared_ptr<Shader> vertex(new Shader(GL_VERTEX_SHADER, "data/logo.vert"));
//   glCompileShader(vertex->name);
#pragma once

#include <GL/glew.h>

#include <iosfwd>
#include <string>

namespace Quorvel {

class Shader {
public:
    GLenum type;  // GL_VERTEX_SHADER or GL_FRAGMENT_SHADER
    GLuint name;  // the GL shader object

    // Reads the whole file at `path` and creates the shader with that source. A file that cannot
    // be opened gives an empty source (and a line naming the file on standard error).
    Shader(GLenum type, const char* path);
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
};

// Every character of `in` up to its end, line breaks included.
std::string readWholeStream(std::istream& in);

}  // namespace Quorvel
