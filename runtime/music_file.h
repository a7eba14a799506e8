// The soundtrack's file name, relative to the working directory: read by the music track,
// written by the asset generator, damaged by the tests. Header only, so the generator names the
// file without linking the runtime.
#pragma once

namespace Quorvel {

constexpr const char* kMusicFile = "data/e5_t5.ogg";

}  // namespace Quorvel
