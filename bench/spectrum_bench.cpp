// One spectrum line's computation (window, FFT, bands, arrays; no GL draw) beside bare
// 2048-point real FFTs of FFTW (the library the analyser uses, plan as the analyser makes it)
// and of KissFFT (the smaller alternative, measured to justify the choice), and a whole
// landscape frame's 41 lines. Run from the build folder (it reads the soundtrack):
//   ./qvl_spectrum_bench
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <kissfft/kiss_fftr.h>

#include <cmath>
#include <vector>

#include "runtime/spectrum_analyser.h"
#include "scenes/wave_timing.h"

using namespace Quorvel;

namespace {

std::vector<float> testWindow() {
    std::vector<float> window(2048);
    for (size_t n = 0; n < window.size(); ++n) window[n] = std::sin(0.1f * n) + 0.3f * std::sin(1.7f * n);
    return window;
}

MusicTrack& music() {
    static MusicTrack track{MusicTrack::Silent{}};
    return track;
}

}  // namespace

static void BareFftw(benchmark::State& state) {
    float* in = fftwf_alloc_real(2048);
    fftwf_complex* out = fftwf_alloc_complex(1025);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(2048, in, out, FFTW_ESTIMATE);
    const std::vector<float> window = testWindow();
    std::copy(window.begin(), window.end(), in);
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
}
BENCHMARK(BareFftw);

static void BareKissFft(benchmark::State& state) {
    kiss_fftr_cfg config = kiss_fftr_alloc(2048, 0, nullptr, nullptr);
    const std::vector<float> window = testWindow();
    std::vector<kiss_fft_cpx> out(1025);
    for (auto _ : state) {
        kiss_fftr(config, window.data(), out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    kiss_fftr_free(config);
}
BENCHMARK(BareKissFft);

static void SpectrumLine(benchmark::State& state) {
    SpectrumAnalyser analyser(music());
    if (music().pcm.empty()) state.SkipWithError("no soundtrack: run from the build folder");
    double time = 80.0;
    for (auto _ : state) {
        analyser.compute(time);
        benchmark::DoNotOptimize(analyser.vertices.data());
        time += 0.08;
        if (time > 100.0) time = 80.0;
    }
}
BENCHMARK(SpectrumLine);

static void LandscapeFrame41Lines(benchmark::State& state) {
    SpectrumAnalyser analyser(music());
    double time = 80.0;
    for (auto _ : state) {
        for (int i = -Ostrel::kLineReach; i <= Ostrel::kLineReach; ++i) analyser.compute(Ostrel::lineTime(i, time));
        benchmark::DoNotOptimize(analyser.vertices.data());
        time += 1.0 / 60.0;
        if (time > 100.0) time = 80.0;
    }
}
BENCHMARK(LandscapeFrame41Lines)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
