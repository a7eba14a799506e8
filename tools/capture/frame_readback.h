// Reading the rendered window back as an upright picture (top row first), and writing it as PNG.
//
//   std::vector<unsigned char> rgba = readBackUpright(width, height);
//   writePng("frame.png", rgba, width, height);
#pragma once

#include <string>
#include <vector>

namespace Quorvel::Capture {

// GL returns rows bottom first; pictures are stored top first.
void flipRowsInPlace(std::vector<unsigned char>& rgba, int width, int height);

// The back buffer of the current context, RGBA, top row first, alpha forced opaque.
std::vector<unsigned char> readBackUpright(int width, int height);

// Throws std::runtime_error when the file cannot be written.
void writePng(const std::string& path, const std::vector<unsigned char>& rgba, int width, int height);

}  // namespace Quorvel::Capture
