// GLSL 1.20 sources as the desktop reads them, made into what the browser's GL emulation
// compiles: GLSL ES 1.00 with the emulation's own declarations prepended. Pure text work, so
// the desktop's tests check it without a browser.
//
//   std::string ready = prepareShaderForWeb(source, ShaderStage::Fragment);
#pragma once

#include <string>

namespace Quorvel {

enum class ShaderStage { Vertex, Fragment };

// Drops the "#version" line (the emulation puts its declarations first, and a #version that is
// not the first line is an error), keeping the line count so compile logs point at the right
// line; replaces gl_NormalMatrix, which the emulation does not provide, with the inverse
// transpose of the model-view matrix's upper 3 x 3, computed in the shader.
std::string prepareShaderForWeb(const std::string& source, ShaderStage stage);

}  // namespace Quorvel
