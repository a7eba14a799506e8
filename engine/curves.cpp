#include "engine/curves.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace Quorvel {

namespace {

// A header's count is only a hint; a silly one must not make the reader allocate gigabytes.
constexpr long kMostKeysReserved = 1 << 16;

// Reads "COUNT WORD NAME" after the keyword; false when the line is cut short.
bool readHeader(const std::string& rest, CurveSet& curves, AnimationCurve*& current) {
    std::istringstream fields(rest);
    long count = 0;
    std::string ignoredWord;
    if (!(fields >> count >> ignoredWord)) return false;
    std::string curveName;
    if (fields.get() == ' ') std::getline(fields, curveName);  // the rest of the line, '/' and all
    AnimationCurve& curve = curves[curveName];
    curve.name = curveName;
    if (count > 0) curve.keys.reserve(static_cast<std::size_t>(std::min(count, kMostKeysReserved)));
    current = &curve;
    return true;
}

// Reads the six numbers of a key line; false when the line is cut short.
bool readKey(const std::string& rest, std::int32_t interpolation, CurveSet& curves, AnimationCurve*& current) {
    std::istringstream fields(rest);
    CurveKey key;
    key.interpolation = interpolation;
    if (!(fields >> key.time >> key.value >> key.leftHandleTime >> key.leftHandleValue >> key.rightHandleTime >>
          key.rightHandleValue)) {
        return false;
    }
    if (!current) current = &curves[std::string()];  // keys before any header
    current->keys.push_back(key);
    return true;
}

// The segment's time (or value) at parameter u with c = 1 - u.
double bezier(double c, double u, double p0, double p1, double p2, double p3) {
    return c * c * c * p0 + 3.0 * c * c * u * p1 + 3.0 * c * u * u * p2 + u * u * u * p3;
}

float evaluateBezier(const CurveKey& a, const CurveKey& b, float t) {
    float u = 0.5f;
    float step = 0.25f;
    float c = 1.0f - u;
    // A fixed number of halvings, no tolerance: u ends within 2^-19 of the answer.
    for (int i = 0; i < 18; ++i) {
        c = 1.0f - u;
        const float x = static_cast<float>(bezier(c, u, a.time, a.rightHandleTime, b.leftHandleTime, b.time));
        u = t < x ? u - step : u + step;
        step *= 0.5f;
    }
    c = 1.0f - u;
    return static_cast<float>(bezier(c, u, a.value, a.rightHandleValue, b.leftHandleValue, b.value));
}

float evaluateLinear(const CurveKey& a, const CurveKey& b, float t) {
    if (a.value == b.value) return a.value;
    // Two keys at one time leave no slope to follow; keep the first key's value.
    if (a.time == b.time) return a.value;
    return static_cast<float>(a.value + (static_cast<double>(t) - a.time) * (static_cast<double>(b.value) - a.value) /
                                            (static_cast<double>(b.time) - a.time));
}

}  // namespace

void loadCurves(std::istream& in, CurveSet& curves) {
    AnimationCurve* current = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // files saved with CRLF
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string keyword = line.substr(0, space);
        const std::string rest = line.substr(space + 1);
        bool complete = true;
        if (keyword == "curve") {
            complete = readHeader(rest, curves, current);
        } else if (keyword == "b") {
            complete = readKey(rest, 0, curves, current);
        } else if (keyword == "l") {
            complete = readKey(rest, 1, curves, current);
        } else if (keyword == "c") {
            complete = readKey(rest, 2, curves, current);
        }
        // A line cut short means the file is damaged from here on: keep what came before.
        if (!complete) return;
    }
}

void loadCurves(const char* path, CurveSet& curves) {
    std::ifstream file(path ? path : "");
    loadCurves(file, curves);
}

float evaluate(const AnimationCurve& curve, float time) {
    const std::vector<CurveKey>& keys = curve.keys;
    if (keys.empty()) return 0.0f;
    // The last key at or before `time`, or the first key when `time` lies before the second.
    std::size_t i = keys.size() - 1;
    while (i > 0 && time < keys[i].time) --i;
    if (i + 1 == keys.size()) return keys[i].value;
    const CurveKey& a = keys[i];
    const CurveKey& b = keys[i + 1];
    switch (a.interpolation) {
        case 0:
            return evaluateBezier(a, b, time);
        case 1:
            return evaluateLinear(a, b, time);
        default:
            return a.value;
    }
}

}  // namespace Quorvel
