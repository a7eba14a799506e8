#include "synth/master.h"

#include <cmath>

#include "synth/compressor.h"
#include "synth/dc_blocker.h"
#include "synth/dsp.h"
#include "synth/high_shelf.h"
#include "synth/limiter.h"
#include "synth/loudness.h"

namespace Quorvel::Synth {
namespace {

void applyFade(StereoBuffer& b, const AutomationLane* fade, double tempo) {
    if (!fade) return;
    const size_t n = b.left.size();
    constexpr size_t kStep = 64;  // the fade is slow; evaluate it sparsely and ramp between
    float previous = dbToGain(float(fade->valueAt(0.0)));
    for (size_t start = 0; start < n; start += kStep) {
        const double beat = double(start + kStep) / b.sampleRate * tempo / 60.0;
        const double db = fade->valueAt(beat);
        const float next = db <= -90.0 ? 0.0f : dbToGain(float(db));
        for (size_t i = start; i < std::min(n, start + kStep); ++i) {
            const float g = previous + (next - previous) * float(i - start) / float(kStep);
            b.left[i] *= g;
            b.right[i] *= g;
        }
        previous = next;
    }
}

void limitAndFade(StereoBuffer& b, float ceiling, const AutomationLane* fade, double tempo) {
    Limiter limiter(ceiling, 0.0015, 0.12, b.sampleRate);
    limiter.processBuffer(b.left, b.right);
    applyFade(b, fade, tempo);
    for (size_t i = 0; i < b.left.size(); ++i) {
        b.left[i] = clampf(sanitize(b.left[i]), -ceiling, ceiling);
        b.right[i] = clampf(sanitize(b.right[i]), -ceiling, ceiling);
    }
}

}  // namespace

void masterMix(StereoBuffer& buffer, const MasterSettings& settings, const AutomationLane* fade, double tempo) {
    DcBlocker dcL(buffer.sampleRate), dcR(buffer.sampleRate);
    HighShelf airL(buffer.sampleRate, settings.airCornerHz, settings.airGainDb);
    HighShelf airR(buffer.sampleRate, settings.airCornerHz, settings.airGainDb);
    for (size_t i = 0; i < buffer.left.size(); ++i) {
        buffer.left[i] = airL.process(dcL.process(sanitize(buffer.left[i])));
        buffer.right[i] = airR.process(dcR.process(sanitize(buffer.right[i])));
    }
    // An attack slower than a hit's first tens of milliseconds: the glue holds the mix together
    // without flattening the accents it is meant to carry.
    Compressor glue(-14.0f, 2.0f, 0.03, 0.2, buffer.sampleRate);
    glue.process(buffer.left.data(), buffer.right.data(), buffer.left.data(), buffer.right.data(),
                 int(buffer.left.size()));

    const float ceiling = dbToGain(settings.ceilingDb);
    if (!settings.normalize) {
        limitAndFade(buffer, ceiling, fade, tempo);
        return;
    }
    // The limiter takes off some loudness, so aim, measure the result and correct once; the
    // second pass lands within about 0.1 LU because the correction is small.
    double gainDb = settings.targetLufs - integratedLoudness(buffer.left, buffer.right, buffer.sampleRate);
    StereoBuffer trial;
    for (int pass = 0; pass < 2; ++pass) {
        trial = buffer;
        const float g = dbToGain(float(gainDb));
        for (size_t i = 0; i < trial.left.size(); ++i) trial.left[i] *= g, trial.right[i] *= g;
        limitAndFade(trial, ceiling, fade, tempo);
        const double measured = integratedLoudness(trial.left, trial.right, trial.sampleRate);
        if (measured < -150.0 || std::fabs(measured - settings.targetLufs) < 0.1) break;
        gainDb += settings.targetLufs - measured;
    }
    buffer = std::move(trial);
}

}  // namespace Quorvel::Synth
