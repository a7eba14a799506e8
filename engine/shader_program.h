// One GL program object. It only creates the program and answers two questions about it (its
// info log, a uniform location); compiling, attaching and linking are plain GL calls made by
// the build sequence in engine/program_build.h. The GL program is deleted with the object.
//
//   ShaderProgram program;
//   GLint t = program.uniformLocation("t");
#pragma once

#include <GL/glew.h>

#include <string>

namespace Quorvel {

class ShaderProgram {
public:
    GLuint name;  // the GL program object

    // Creates the GL program (glCreateProgram).
    ShaderProgram();
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // The program's info log as the driver returns it; empty when there is none.
    std::string infoLog() const;
    // glGetUniformLocation: -1 when the program has no active uniform of that name.
    GLint uniformLocation(const std::string& uniformName) const;
};

}  // namespace Quorvel
