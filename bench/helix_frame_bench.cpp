// CPU work of one helix frame outside GL: local times, the six curve lookups and evaluations,
// both camera matrices and the flash levels. The geometry is built once at load, so nothing
// else runs on the CPU per frame besides issuing the draws. Run from the build folder:
//   ./qvl_helix_frame_bench
#include <benchmark/benchmark.h>

#include "engine/camera.h"
#include "scenes/helix_camera.h"
#include "scenes/helix_timing.h"

using namespace Quorvel;
using namespace Quorvel::Ostrel;

static void HelixFrameCpu(benchmark::State& state) {
    CurveSet curves;
    loadCurves("data/helix.anim", curves);
    if (curves.empty()) state.SkipWithError("data/helix.anim missing: run from the build folder");
    Camera camera;
    camera.focalLength = 0.047f;
    const std::vector<double> beats = helixBeatTimes();
    std::vector<double> flashTimes(3, 0.0);
    double time = 5.0;
    for (auto _ : state) {
        const HelixFrameTimes times = helixFrameTimes(time, 5.0, 8.0);
        const HelixCameraPlacement placement = helixCameraPlacement(curves, times.curveTime);
        camera.rotation = placement.rotation;
        camera.location = {0.0f, 0.0f, 0.0f};
        const std::vector<float> projection = camera.projectionMatrix();
        const std::vector<float> view = camera.viewMatrix();
        updateFlashTimes(time, beats, flashTimes);
        float levels = 0.0f;
        for (double f : flashTimes) levels += rungLevel(time, f);
        benchmark::DoNotOptimize(projection.data());
        benchmark::DoNotOptimize(view.data());
        benchmark::DoNotOptimize(levels);
        time += 1.0 / 60.0;
        if (time >= 74.0) time = 5.0;
    }
}
BENCHMARK(HelixFrameCpu);

BENCHMARK_MAIN();
