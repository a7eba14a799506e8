#include "engine/program_build.h"

#include <iostream>

namespace Quorvel {

namespace {
// Steps after construction, identical for both ways of holding the objects.
void compileLinkAndLookUp(const Shader& vertexShader, const Shader& fragmentShader, const ShaderProgram& program,
                          std::initializer_list<UniformLookup> uniforms, const std::function<void()>& whileInUse) {
    glCompileShader(vertexShader.name);
    glCompileShader(fragmentShader.name);
    glAttachShader(program.name, vertexShader.name);
    glAttachShader(program.name, fragmentShader.name);
    glLinkProgram(program.name);
    // The driver's log as it comes: no line break of our own, nothing at all when empty.
    std::cout << program.infoLog();
    if (uniforms.size() == 0 && !whileInUse) return;
    glUseProgram(program.name);
    for (const UniformLookup& uniform : uniforms) {
        const GLint location = program.uniformLocation(uniform.name);
        if (uniform.location) *uniform.location = location;
    }
    if (whileInUse) whileInUse();
    glUseProgram(0);
}
}  // namespace

void buildProgram(const char* vertexPath, const char* fragmentPath, boost::shared_ptr<Shader>& vertexShader,
                  boost::shared_ptr<Shader>& fragmentShader, boost::shared_ptr<ShaderProgram>& program,
                  std::initializer_list<UniformLookup> uniforms, const std::function<void()>& whileInUse) {
    vertexShader.reset(new Shader(GL_VERTEX_SHADER, vertexPath));
    fragmentShader.reset(new Shader(GL_FRAGMENT_SHADER, fragmentPath));
    program.reset(new ShaderProgram());
    compileLinkAndLookUp(*vertexShader, *fragmentShader, *program, uniforms, whileInUse);
}

void buildProgram(const char* vertexPath, const char* fragmentPath, Shader*& vertexShader, Shader*& fragmentShader,
                  ShaderProgram*& program, std::initializer_list<UniformLookup> uniforms,
                  const std::function<void()>& whileInUse) {
    vertexShader = new Shader(GL_VERTEX_SHADER, vertexPath);
    fragmentShader = new Shader(GL_FRAGMENT_SHADER, fragmentPath);
    program = new ShaderProgram();
    compileLinkAndLookUp(*vertexShader, *fragmentShader, *program, uniforms, whileInUse);
}

}  // namespace Quorvel
