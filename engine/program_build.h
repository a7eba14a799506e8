// The one build sequence every scene uses to turn a .vert/.frag pair into a linked program:
// create both shaders and the program, compile vertex then fragment, attach both, link, write
// the info log to standard output as it is (no line break added), then, with the program in
// use, look up the uniforms in the order given and run the optional extra step, and go back
// to program 0. It checks no compile or link status: a broken program is kept as it is.
//
//   buildProgram("data/logo.vert", "data/logo.frag", vertexShader, fragmentShader, program,
//                {{"t", &tLocation}, {"logo", &logoLocation}, {"clouds", &cloudsLocation}});
#pragma once

#include "engine/shader.h"
#include "engine/shader_program.h"

#include <boost/shared_ptr.hpp>

#include <functional>
#include <initializer_list>

namespace Quorvel {

// One uniform to look up: its name and where to store its location.
struct UniformLookup {
    const char* name;
    GLint* location;
};

// Runs the build sequence, storing the new objects in shared handles. `whileInUse` runs after
// the lookups while the program is still current (for uniforms set once, such as tables).
// glUseProgram is called only when there is something to look up or run.
void buildProgram(const char* vertexPath, const char* fragmentPath, boost::shared_ptr<Shader>& vertexShader,
                  boost::shared_ptr<Shader>& fragmentShader, boost::shared_ptr<ShaderProgram>& program,
                  std::initializer_list<UniformLookup> uniforms = {},
                  const std::function<void()>& whileInUse = {});

// The same for scenes that keep their objects through plain pointers for the whole run.
void buildProgram(const char* vertexPath, const char* fragmentPath, Shader*& vertexShader,
                  Shader*& fragmentShader, ShaderProgram*& program,
                  std::initializer_list<UniformLookup> uniforms = {},
                  const std::function<void()>& whileInUse = {});

}  // namespace Quorvel
