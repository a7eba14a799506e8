// Feed-forward compressor with an external key: the gain is computed from the key signal and
// applied to the main signal. With the kick as key it gives the pumping side-chain of the
// synth bus; keyed by its own input it is the mix's glue compressor. No lookahead, no make-up.
//
//   Compressor duck(-30.0f, 8.0f, 0.002, 0.18, 44100.0);
//   duck.process(synthL, synthR, kickL, kickR, n);
#pragma once

namespace Quorvel::Synth {

class Compressor {
public:
    Compressor(float thresholdDb, float ratio, double attack, double release, double sampleRate);
    // Scales left/right in place by the gain the key asks for; `amount` in [0, 1] blends toward unity.
    void process(float* left, float* right, const float* keyLeft, const float* keyRight, int count,
                 float amount = 1.0f);
    // Writes the linear gain the key asks for, per sample, without applying it (for side-chains
    // that several tracks share, each with its own depth).
    void computeGain(const float* keyLeft, const float* keyRight, float* gain, int count);
    // Gain reduction at the last processed sample, in dB (0 or negative).
    float reductionDb() const { return reductionDb_; }

private:
    // Advances the detector by one sample of the key; returns the full gain reduction in dB.
    float follow(float keyLeft, float keyRight);
    float threshold_, slope_;
    float attackCoef_, releaseCoef_;
    float envelopeDb_ = -120.0f;
    float reductionDb_ = 0.0f;
};

}  // namespace Quorvel::Synth
