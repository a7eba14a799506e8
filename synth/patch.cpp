#include "synth/patch.h"

#include <cmath>
#include <cstdlib>

namespace Quorvel::Synth {
namespace {

struct FloatField {
    const char* name;
    float Patch::*field;
    float lo, hi;
};

const FloatField kFloatFields[] = {
    {"detune", &Patch::detune, 0.0f, 12.0f},       {"spread", &Patch::spread, 0.0f, 1.0f},
    {"sub", &Patch::sub, 0.0f, 2.0f},              {"octave", &Patch::octave, -4.0f, 4.0f},
    {"vibrato", &Patch::vibrato, 0.0f, 2.0f},      {"vibratorate", &Patch::vibratoRate, 0.0f, 20.0f},
    {"ratio", &Patch::ratio, 0.01f, 32.0f},        {"index", &Patch::index, 0.0f, 30.0f},
    {"indexdecay", &Patch::indexDecay, 0.001f, 20.0f},
    {"cutoff", &Patch::cutoff, 10.0f, 20000.0f},   {"reso", &Patch::resonance, 0.0f, 0.98f},
    {"fenv", &Patch::filterEnv, -8.0f, 8.0f},      {"fattack", &Patch::filterAttack, 0.0f, 20.0f},
    {"fdecay", &Patch::filterDecay, 0.0f, 20.0f},  {"keytrack", &Patch::keyTrack, 0.0f, 1.0f},
    {"attack", &Patch::attack, 0.0f, 30.0f},       {"decay", &Patch::decay, 0.0f, 30.0f},
    {"sustain", &Patch::sustain, 0.0f, 1.0f},      {"release", &Patch::release, 0.0f, 30.0f},
    {"pitch", &Patch::pitch, 10.0f, 10000.0f},     {"length", &Patch::drumDecay, 0.005f, 10.0f},
    {"tone", &Patch::tone, 0.0f, 1.0f},            {"sweep", &Patch::sweep, 0.0f, 16.0f},
    {"drive", &Patch::drive, 0.1f, 20.0f},         {"gain", &Patch::gain, -96.0f, 24.0f},
    {"pan", &Patch::pan, -1.0f, 1.0f},             {"reverb", &Patch::reverb, 0.0f, 2.0f},
    {"delay", &Patch::delay, 0.0f, 2.0f},          {"chorus", &Patch::chorus, 0.0f, 1.0f},
    {"duck", &Patch::duck, 0.0f, 1.0f},
};

bool parseNumber(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

bool parseWave(const std::string& text, Wave& wave) {
    if (text == "saw") wave = Wave::Saw;
    else if (text == "square") wave = Wave::Square;
    else if (text == "sine") wave = Wave::Sine;
    else if (text == "triangle") wave = Wave::Triangle;
    else if (text == "noise") wave = Wave::Noise;
    else return false;
    return true;
}

bool parseFilterMode(const std::string& text, FilterMode& mode) {
    if (text == "lowpass") mode = FilterMode::LowPass;
    else if (text == "highpass") mode = FilterMode::HighPass;
    else if (text == "bandpass") mode = FilterMode::BandPass;
    else return false;
    return true;
}

}  // namespace

bool parseVoiceKind(const std::string& text, VoiceKind& kind) {
    static const struct { const char* name; VoiceKind kind; } kinds[] = {
        {"poly", VoiceKind::Poly},   {"fm", VoiceKind::Fm},   {"kick", VoiceKind::Kick},
        {"snare", VoiceKind::Snare}, {"clap", VoiceKind::Clap}, {"hat", VoiceKind::Hat},
        {"crash", VoiceKind::Crash}, {"sweep", VoiceKind::Sweep},
    };
    for (const auto& k : kinds) {
        if (text == k.name) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

bool setPatchParameter(Patch& patch, const std::string& name, const std::string& value, std::string& error) {
    if (name == "wave") {
        if (parseWave(value, patch.wave)) return true;
        error = "unknown wave '" + value + "' (saw, square, sine, triangle, noise)";
        return false;
    }
    if (name == "filter") {
        if (parseFilterMode(value, patch.filter)) return true;
        error = "unknown filter '" + value + "' (lowpass, highpass, bandpass)";
        return false;
    }
    double number = 0.0;
    if (name == "unison" || name == "polyphony") {
        const int lo = 1, hi = name == "unison" ? 9 : 32;
        if (!parseNumber(value, number) || number != std::floor(number) || number < lo || number > hi) {
            error = name + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
            return false;
        }
        (name == "unison" ? patch.unison : patch.polyphony) = int(number);
        return true;
    }
    for (const FloatField& f : kFloatFields) {
        if (name != f.name) continue;
        if (!parseNumber(value, number)) {
            error = "parameter " + name + " needs a number, got '" + value + "'";
            return false;
        }
        if (number < f.lo || number > f.hi) {
            error = "parameter " + name + " out of range [" + std::to_string(f.lo) + ", " + std::to_string(f.hi) + "]";
            return false;
        }
        patch.*f.field = float(number);
        return true;
    }
    error = "unknown parameter '" + name + "'";
    return false;
}

}  // namespace Quorvel::Synth
