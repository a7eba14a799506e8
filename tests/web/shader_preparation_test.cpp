#include "platform/web/shader_preparation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace Quorvel {
namespace {

long lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ShaderPreparation, VersionLineGoesAndLinesKeepTheirNumbers) {
    const std::string source = "#version 120\nvarying vec2 uv;\nvoid main() {\n  gl_FragColor = vec4(uv, 0.0, 1.0);\n}\n";
    const std::string ready = prepareShaderForWeb(source, ShaderStage::Fragment);
    EXPECT_FALSE(contains(ready, "#version"));
    EXPECT_EQ(lines(ready), lines(source));
    EXPECT_EQ(ready, "\n" + source.substr(source.find('\n') + 1));
    // After a comment, with blanks, and without a final line break.
    EXPECT_EQ(prepareShaderForWeb("// logo\n  #  version 120\nvoid main() {}", ShaderStage::Vertex),
              "// logo\n\nvoid main() {}");
    // A line that only mentions it, or another directive, stays.
    const std::string other = "// needs #version 120\n#define versioned 1\n#versionx\n";
    EXPECT_EQ(prepareShaderForWeb(other, ShaderStage::Vertex), other);
}

TEST(ShaderPreparation, NormalMatrixIsComputedInBothStages) {
    const std::string vertex = "#version 120\nvarying vec3 n;\nvoid main() { n = gl_NormalMatrix * gl_Normal; }\n";
    const std::string v = prepareShaderForWeb(vertex, ShaderStage::Vertex);
    EXPECT_FALSE(contains(v, "gl_NormalMatrix"));
    EXPECT_TRUE(contains(v, "n = qvl_normalMatrix(gl_ModelViewMatrix) * gl_Normal;"));
    EXPECT_TRUE(contains(v, "mat3 qvl_normalMatrix(mat4 m)"));
    // The emulation declares the matrix in vertex shaders itself: no second declaration.
    EXPECT_FALSE(contains(v, "u_modelView"));
    EXPECT_EQ(lines(v), lines(vertex) + 1);

    const std::string fragment = "#version 120\nvarying vec3 n;\nvoid main() { vec3 e = normalize(gl_NormalMatrix * n); }\n";
    const std::string f = prepareShaderForWeb(fragment, ShaderStage::Fragment);
    EXPECT_FALSE(contains(f, "gl_NormalMatrix"));
    EXPECT_FALSE(contains(f, "gl_ModelViewMatrix"));
    EXPECT_TRUE(contains(f, "uniform highp mat4 u_modelView;"));
    EXPECT_TRUE(contains(f, "normalize(qvl_normalMatrix(u_modelView) * n)"));
    EXPECT_EQ(lines(f), lines(fragment) + 2);
}

TEST(ShaderPreparation, OnlyWholeNamesAreReplaced) {
    const std::string source = "uniform mat3 gl_NormalMatrixCopy;\nvoid main() { mat3 m = my_gl_NormalMatrix; }\n";
    EXPECT_EQ(prepareShaderForWeb(source, ShaderStage::Vertex), source);
}

TEST(ShaderPreparation, EveryShaderOfTheDemoIsPrepared) {
    const char* sourceDir = std::getenv("QVL_SOURCE_DIR");
    ASSERT_NE(sourceDir, nullptr);
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(sourceDir) / "data")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".vert" && extension != ".frag") continue;
        std::ifstream file(entry.path());
        const std::string source((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const ShaderStage stage = extension == ".frag" ? ShaderStage::Fragment : ShaderStage::Vertex;
        const std::string ready = prepareShaderForWeb(source, stage);
        SCOPED_TRACE(entry.path().string());
        EXPECT_FALSE(contains(ready, "#version"));
        EXPECT_FALSE(contains(ready, "gl_NormalMatrix"));
        EXPECT_TRUE(contains(ready, "void main"));
        ++count;
    }
    EXPECT_GE(count, 20);
}

}  // namespace
}  // namespace Quorvel
