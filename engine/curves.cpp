#include "engine/curves.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <fstream>
#include <iostream>
#include <sstream>

namespace Quorvel {

namespace {

// A header's count is only a hint; a silly one must not make the reader allocate gigabytes.
constexpr long kMostKeysReserved = 1 << 16;

// Reads up to `count` numbers from `text`; numbers beyond float range are clamped to it (as the
// mesh reader does), so one extreme value does not cost the key. Returns how many were read.
int readNumbers(const char*& text, float* out, int count) {
    int read = 0;
    for (; read < count; ++read) {
        char* end = nullptr;
        const double value = std::strtod(text, &end);
        if (end == text || std::isnan(value)) break;
        const double limit = std::numeric_limits<float>::max();
        out[read] = float(std::clamp(value, -limit, limit));
        text = end;
    }
    return read;
}

// Reads "COUNT WORD NAME" after the keyword; false when the line is cut short or its count is
// not a number. A count beyond range is only a capacity hint and is treated as large.
bool readHeader(const std::string& rest, CurveSet& curves, AnimationCurve*& current) {
    const char* text = rest.c_str();
    char* end = nullptr;
    const long long count = std::strtoll(text, &end, 10);  // saturates when out of range
    if (end == text) return false;
    std::istringstream fields(end);
    std::string ignoredWord;
    if (!(fields >> ignoredWord)) return false;
    std::string curveName;
    if (fields.get() == ' ') std::getline(fields, curveName);  // the rest of the line, '/' and all
    AnimationCurve& curve = curves[curveName];
    curve.name = curveName;
    if (count > 0) curve.keys.reserve(static_cast<std::size_t>(std::min<long long>(count, kMostKeysReserved)));
    current = &curve;
    return true;
}

// Reads the six numbers of a key line; false when the line has fewer.
bool readKey(const std::string& rest, std::int32_t interpolation, CurveSet& curves, AnimationCurve*& current) {
    const char* text = rest.c_str();
    float numbers[6];
    if (readNumbers(text, numbers, 6) < 6) return false;
    CurveKey key;
    key.interpolation = interpolation;
    key.time = numbers[0];
    key.value = numbers[1];
    key.leftHandleTime = numbers[2];
    key.leftHandleValue = numbers[3];
    key.rightHandleTime = numbers[4];
    key.rightHandleValue = numbers[5];
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
    bool discarding = false;  // after a header that could not be read, until the next header
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // files saved with CRLF
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string keyword = line.substr(0, space);
        const std::string rest = line.substr(space + 1);
        // One damaged line costs that line only: a bad key is skipped, and the keys after a bad
        // header are dropped rather than added to the curve before it.
        if (keyword == "curve") {
            discarding = !readHeader(rest, curves, current);
        } else if (discarding) {
            continue;
        } else if (keyword == "b") {
            readKey(rest, 0, curves, current);
        } else if (keyword == "l") {
            readKey(rest, 1, curves, current);
        } else if (keyword == "c") {
            readKey(rest, 2, curves, current);
        }
    }
}

void loadCurves(const char* path, CurveSet& curves) {
    std::ifstream file(path ? path : "");
    if (!file) {
        std::cerr << "curves: cannot open " << (path ? path : "(null)") << std::endl;
        return;
    }
    const std::size_t before = curves.size();
    loadCurves(file, curves);
    if (curves.size() == before) std::cerr << "curves: " << path << " holds no curves" << std::endl;
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
