#include "engine/live_objects.h"

#include <atomic>

namespace Quorvel::LiveObjects {

namespace {
std::atomic<long> counts[KindCount];
}

void created(Kind kind) { ++counts[kind]; }
void deleted(Kind kind) { --counts[kind]; }
long count(Kind kind) { return counts[kind].load(); }

long total() {
    long sum = 0;
    for (const std::atomic<long>& c : counts) sum += c.load();
    return sum;
}

const char* kindName(Kind kind) {
    switch (kind) {
        case Texture: return "textures";
        case Framebuffer: return "framebuffers";
        case Shader: return "shaders";
        case Program: return "programs";
        case Renderbuffer: return "renderbuffers";
        case Query: return "queries";
        case KindCount: break;
    }
    return "?";
}

}  // namespace Quorvel::LiveObjects
