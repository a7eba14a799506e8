// One GL shader object created from a GLSL source file. It reads the file and hands the text
// to GL but does not compile: the program build (engine/program_build.h) does that. The GL
// shader is deleted with the object (GL keeps it while a program still has it attached), so a
// scene that is rebuilt, as the preview tool does, leaves nothing behind in the driver.
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
    // be opened, is empty or is not text gives a line naming the file on standard error; the
    // source is still handed to GL, and the program that uses it fails to link.
    Shader(GLenum type, const char* path);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
};

// False when `source` holds bytes no shader text has (control characters, zero bytes).
bool looksLikeText(const std::string& source);

// Every character of `in` up to its end, line breaks included.
std::string readWholeStream(std::istream& in);

}  // namespace Quorvel
