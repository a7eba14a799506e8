// Process-wide count of texture storage bytes allocated, printed once after loading.
// Only ever grows: releasing a texture does not give bytes back to the figure.
#pragma once

#include <cstdint>

namespace Quorvel {

extern std::int32_t textureMemoryBytes;

}  // namespace Quorvel
