// libFuzzer entry point for the curve reader: any bytes must load without crashing or
// allocating without bound, and every curve read must evaluate at any time, odd ones included.
//
//   build-fuzz/qvl_fuzz_curves fuzz/corpus/curves      (see fuzz/README.md)
#include "engine/curves.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Quorvel::CurveSet curves;
    Quorvel::loadCurves(in, curves);
    const float probes[] = {-1e30f, -1.0f, 0.0f, 0.5f, 1e30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    volatile float sink = 0.0f;
    for (const auto& entry : curves) {
        const Quorvel::AnimationCurve& curve = entry.second;
        for (float time : probes) sink = sink + Quorvel::evaluate(curve, time);
        for (const Quorvel::CurveKey& key : curve.keys) {
            sink = sink + Quorvel::evaluate(curve, key.time);
            sink = sink + Quorvel::evaluate(curve, key.rightHandleTime);
        }
    }
    (void)sink;
    return 0;
}
