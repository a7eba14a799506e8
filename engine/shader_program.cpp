#include "engine/shader_program.h"

#include <algorithm>
#include <vector>

#include "engine/live_objects.h"

namespace Quorvel {

ShaderProgram::ShaderProgram() : name(glCreateProgram()) {
    if (name != 0) LiveObjects::created(LiveObjects::Program);
}

ShaderProgram::~ShaderProgram() {
    if (name == 0) return;
    glDeleteProgram(name);
    LiveObjects::deleted(LiveObjects::Program);
}

std::string ShaderProgram::infoLog() const {
    GLint length = 0;
    glGetProgramiv(name, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length));
    GLsizei written = 0;
    glGetProgramInfoLog(name, length, &written, buffer.data());
    if (written <= 0) return std::string();
    // Some drivers report the terminating zero in `written`; never read past the buffer.
    const std::size_t count = std::min(static_cast<std::size_t>(written), buffer.size());
    return std::string(buffer.data(), count);
}

GLint ShaderProgram::uniformLocation(const std::string& uniformName) const {
    return glGetUniformLocation(name, uniformName.c_str());
}

}  // namespace Quorvel
