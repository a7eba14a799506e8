// The face's per-frame morph: every position of the drawn copy rebuilt from the base, second
// and third shapes (the generated face.obj, face2.obj, face3.obj). Run from the build folder:
//   ./qvl_face_morph_bench
#include <benchmark/benchmark.h>

#include "engine/mesh.h"
#include "scenes/face_timing.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

static void FaceMorph(benchmark::State& state) {
    const Mesh base("data/face.obj"), second("data/face2.obj"), third("data/face3.obj");
    Mesh face("data/face.obj");
    const size_t count = base.quadPositions.size();
    if (count == 0 || second.quadPositions.size() != count || third.quadPositions.size() != count)
        state.SkipWithError("face meshes missing or unequal: run from the build folder");
    // Both weights strictly between 0 and 1: the most arithmetic a frame can ask for.
    const double d = state.range(0) / 100.0;
    for (auto _ : state) {
        morphFace(base.quadPositions.data(), second.quadPositions.data(), third.quadPositions.data(), count,
                  morphWeight(d), snapWeight(d), face.quadPositions.data());
        benchmark::DoNotOptimize(face.quadPositions.data());
        benchmark::ClobberMemory();
    }
    state.counters["vertices"] = double(count / 3);
}
BENCHMARK(FaceMorph)->Arg(3305)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
