#include "runtime/real_fft.h"

#include <fftw3.h>

#include <cstring>

namespace Quorvel {

RealFft::RealFft(int size)
    : n(size), input(fftwf_alloc_real(size_t(size))), output(fftwf_alloc_complex(size_t(size / 2 + 1))) {
    plan = fftwf_plan_dft_r2c_1d(n, input, output, FFTW_ESTIMATE | FFTW_PRESERVE_INPUT);
}

RealFft::~RealFft() {
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan));
    fftwf_free(output);
    fftwf_free(input);
}

void RealFft::transform(const float* in, float* out) {
    // FFTW reads the caller's array in place when it is aligned like the plan's (any vector's
    // storage here is); otherwise through the plan's own copy.
    float* source = const_cast<float*>(in);  // FFTW's interface is not const; r2c leaves its input alone
    if (fftwf_alignment_of(source) == fftwf_alignment_of(input)) {
        fftwf_execute_dft_r2c(static_cast<fftwf_plan>(plan), source, output);
    } else {
        std::memcpy(input, in, sizeof(float) * size_t(n));
        fftwf_execute(static_cast<fftwf_plan>(plan));
    }
    const int half = n / 2;
    // One pass over the interleaved output; the imaginary parts of X_0 and X_{N/2} are 0 and
    // have no place in the layout (out[half] holds the real part of X_{N/2}).
    for (int k = 0; k < half; ++k) {
        out[k] = output[k][0];
        out[half + k] = output[k][1];
    }
    out[half] = output[half][0];
}

}  // namespace Quorvel
