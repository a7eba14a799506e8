#include "engine/program_build.h"
#include "stream_capture.h"
#include "temp_files.h"
#include "shared_gl_context.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quorvel;

namespace {
GlContext& context() {
    return sharedGlContext(16, 16);
}

const char* kVertex =
    "#version 120\n"
    "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n";
const char* kFragment =
    "#version 120\n"
    "uniform float t;\n"
    "uniform sampler2D logo;\n"
    "uniform float unused;\n"
    "void main() { gl_FragColor = texture2D(logo, gl_TexCoord[0].st) * t; }\n";

GLint currentProgram() {
    GLint name = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &name);
    return name;
}
}  // namespace

TEST(ProgramBuildGl, LinksLooksUpUniformsAndGoesBackToProgramZero) {
    REQUIRE_GL(context());
    TempFolder folder;
    const std::string vert = folder.writeText("a.vert", kVertex);
    const std::string frag = folder.writeText("a.frag", kFragment);
    boost::shared_ptr<Shader> vertexShader, fragmentShader;
    boost::shared_ptr<ShaderProgram> program;
    GLint t = -7, logo = -7, unused = -7;
    GLint currentDuringExtra = -1;
    StreamCapture out(std::cout);
    buildProgram(vert.c_str(), frag.c_str(), vertexShader, fragmentShader, program,
                 {{"t", &t}, {"logo", &logo}, {"unused", &unused}},
                 [&] { currentDuringExtra = currentProgram(); });
    ASSERT_TRUE(vertexShader && fragmentShader && program);
    EXPECT_EQ(vertexShader->type, static_cast<GLenum>(GL_VERTEX_SHADER));
    EXPECT_EQ(fragmentShader->type, static_cast<GLenum>(GL_FRAGMENT_SHADER));
    GLint linked = 0;
    glGetProgramiv(program->name, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_GE(t, 0);
    EXPECT_GE(logo, 0);
    EXPECT_EQ(unused, -1);  // dropped by the compiler as inactive
    EXPECT_EQ(program->uniformLocation("t"), t);
    EXPECT_EQ(currentDuringExtra, static_cast<GLint>(program->name));
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(out.text(), program->infoLog());  // as the driver returns it, nothing added
}

TEST(ProgramBuildGl, MissingFileStillGivesAProgramAndPrintsItsLogUnchanged) {
    REQUIRE_GL(context());
    TempFolder folder;
    const std::string vert = folder.writeText("b.vert", kVertex);
    const std::string frag = folder.file("missing.frag");
    Shader* vertexShader = nullptr;
    Shader* fragmentShader = nullptr;
    ShaderProgram* program = nullptr;
    GLint t = -7;
    StreamCapture out(std::cout);
    StreamCapture err(std::cerr);
    buildProgram(vert.c_str(), frag.c_str(), vertexShader, fragmentShader, program, {{"t", &t}});
    ASSERT_NE(program, nullptr);
    EXPECT_NE(program->name, 0u);
    EXPECT_EQ(t, -1);
    EXPECT_EQ(err.text(), "shader: cannot open " + frag + "\n");
    const std::string log = program->infoLog();
    EXPECT_EQ(out.text(), log);
    if (!log.empty()) {
        EXPECT_NE(log.back(), '\0');
    }
    EXPECT_EQ(currentProgram(), 0);
    delete program;
    delete fragmentShader;
    delete vertexShader;
}

TEST(ProgramBuildGl, NothingToLookUpMakesNoProgramCurrent) {
    REQUIRE_GL(context());
    TempFolder folder;
    const std::string vert = folder.writeText("c.vert", kVertex);
    const std::string frag = folder.writeText("c.frag", kFragment);
    boost::shared_ptr<Shader> vertexShader, fragmentShader;
    boost::shared_ptr<ShaderProgram> program;
    glUseProgram(0);
    buildProgram(vert.c_str(), frag.c_str(), vertexShader, fragmentShader, program);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_TRUE(glIsProgram(program->name));
}

TEST(ShaderGl, ReadsTheWholeFile) {
    std::istringstream in("line one\n\n  line three without break");
    EXPECT_EQ(readWholeStream(in), "line one\n\n  line three without break");
}
