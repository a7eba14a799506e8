#include "engine/texture_memory.h"

namespace Quorvel {

std::int32_t textureMemoryBytes = 0;

}  // namespace Quorvel
