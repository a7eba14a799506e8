// A 2048-point real-input FFT in the layout the spectrum analyser reads: out[k] is the real
// part of X_k (0 <= k <= N/2) and out[N/2 + k] its imaginary part (1 <= k < N/2); unnormalised,
// X_k = sum x_n e^(-2 pi i k n / N). FFTW does the work: it was 6x faster than KissFFT on the
// 2048-point transform here (bench/spectrum_bench.cpp). The plan is made once, with
// FFTW_ESTIMATE so every run picks the same algorithm and gives the same bits; transform()
// allocates nothing. Not thread-safe to construct (FFTW's planner is global).
//
//   RealFft fft(2048);  fft.transform(samples, spectrum);
#pragma once

namespace Quorvel {

class RealFft {
public:
    explicit RealFft(int size);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    int size() const { return n; }
    // Reads `size()` floats from `in` and writes `size()` floats to `out` in the layout above.
    void transform(const float* in, float* out);

private:
    int n;
    float* input;      // FFTW-aligned copies, so the plan may use SIMD
    float (*output)[2];
    void* plan;
};

}  // namespace Quorvel
