#include "runtime/real_fft.h"

#include <fftw3.h>

#include <cstring>

namespace Quorvel {

RealFft::RealFft(int size)
    : n(size), input(fftwf_alloc_real(size_t(size))), output(fftwf_alloc_complex(size_t(size / 2 + 1))) {
    plan = fftwf_plan_dft_r2c_1d(n, input, output, FFTW_ESTIMATE);
}

RealFft::~RealFft() {
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan));
    fftwf_free(output);
    fftwf_free(input);
}

void RealFft::transform(const float* in, float* out) {
    std::memcpy(input, in, sizeof(float) * size_t(n));
    fftwf_execute(static_cast<fftwf_plan>(plan));
    const int half = n / 2;
    for (int k = 0; k <= half; ++k) out[k] = output[k][0];
    for (int k = 1; k < half; ++k) out[half + k] = output[k][1];
}

}  // namespace Quorvel
