// ADSR envelope for amplitude and filter movement: linear attack, exponential decay and release.
// It is sample-driven and knows nothing about notes; the voice calls noteOff at the gate's end.
//
//   Envelope env; env.set(0.01, 0.3, 0.6, 0.5, 44100.0); env.noteOn();
//   float level = env.next();
#pragma once

namespace Quorvel::Synth {

class Envelope {
public:
    enum class Stage { Idle, Attack, Decay, Sustain, Release };

    // Times in seconds (0 allowed: the stage is skipped), sustain as a level in [0, 1].
    void set(double attack, double decay, double sustain, double release, double sampleRate);
    // Restarts the attack from the current level, so retriggering never clicks.
    void noteOn();
    void noteOff();
    // Next level in [0, 1].
    float next();
    Stage stage() const { return stage_; }
    bool active() const { return stage_ != Stage::Idle; }
    float level() const { return level_; }

private:
    Stage stage_ = Stage::Idle;
    float level_ = 0.0f;
    float attackStep_ = 1.0f;
    float decayCoef_ = 1.0f;
    float releaseCoef_ = 1.0f;
    float sustain_ = 1.0f;
};

}  // namespace Quorvel::Synth
