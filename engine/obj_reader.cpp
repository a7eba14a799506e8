#include "engine/obj_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <string>

namespace Quorvel {

namespace {

// Vertex data read so far: faces index into it, 1-based.
struct ObjSource {
    std::vector<float> positions;
    std::vector<float> texCoords;
    std::vector<float> normals;
    std::size_t skippedFaces = 0;
    ObjSource() {
        positions.reserve(256);
        texCoords.reserve(256);
        normals.reserve(256);
    }
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

const char* skipBlanks(const char* p, const char* end) {
    while (p < end && isBlank(*p)) ++p;
    return p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether [p, end) starts with `word`, in any letter case.
bool startsWithWord(const char* p, const char* end, const char* word) {
    for (; *word; ++word, ++p)
        if (p >= end || (*p | 0x20) != *word) return false;
    return true;
}

// The end of the number at `p` in decimal syntax (digits, point, exponent, or inf/nan), or `p`
// when there is none. The exponent counts only with a digit after it, as in "1e" read as 1.
const char* numberEnd(const char* const begin, const char* end) {
    const char* p = begin;
    if (p < end && *p == '-') ++p;
    for (const char* word : {"infinity", "inf", "nan"})
        if (startsWithWord(p, end, word)) return p + std::strlen(word);
    const char* q = p;
    while (q < end && isDigit(*q)) ++q;
    bool digits = q > p;
    if (q < end && *q == '.') {
        const char* afterPoint = ++q;
        while (q < end && isDigit(*q)) ++q;
        digits = digits || q > afterPoint;
    }
    if (!digits) return begin;
    if (q < end && (*q == 'e' || *q == 'E')) {
        const char* e = q + 1;
        if (e < end && (*e == '+' || *e == '-')) ++e;
        if (e < end && isDigit(*e)) {
            while (e < end && isDigit(*e)) ++e;
            q = e;
        }
    }
    return q;
}

// One float in the usual stream syntax (an optional '+' included); false when there is none.
// The number is found by hand and converted by strtof, correctly rounded like from_chars, which
// not every C++ library offers for floats (Emscripten's does not). The program never changes
// the C locale, so strtof's decimal point is '.'.
bool readFloat(const char*& p, const char* end, float& value) {
    p = skipBlanks(p, end);
    const char* start = (p < end && *p == '+' && p + 1 < end && p[1] != '-') ? p + 1 : p;
    const char* stop = numberEnd(start, end);
    if (stop == start) return false;
    char buffer[64];
    std::string longText;
    const std::size_t length = std::size_t(stop - start);
    const char* text = buffer;
    if (length < sizeof buffer) {
        std::memcpy(buffer, start, length);
        buffer[length] = '\0';
    } else {
        longText.assign(start, stop);
        text = longText.c_str();
    }
    value = std::strtof(text, nullptr);
    // A number too small or too large for a float is still a number: dropping it would shift
    // every later index onto the wrong vertex. Take the nearest finite float.
    if (std::isinf(value) && !startsWithWord(*start == '-' ? start + 1 : start, stop, "inf"))
        value = std::copysign(std::numeric_limits<float>::max(), value);
    p = stop;
    return true;
}

// Reads `count` floats and appends them, or appends nothing when the line has too few.
void readFloats(const char* p, const char* end, int count, std::vector<float>& to) {
    float values[3];
    for (int i = 0; i < count; ++i) {
        if (!readFloat(p, end, values[i])) return;
    }
    to.insert(to.end(), values, values + count);
}

// Next index of a face field, skipping the '/' separators; 0 when there is none or it is not
// a plain positive number that fits (0 is never a valid 1-based index).
std::size_t readIndex(const char*& p, const char* end) {
    while (p < end && *p == '/') ++p;
    if (p < end && *p == '+') ++p;
    // Counted in 64 bits whatever size_t is: with a 32-bit size_t (WebAssembly) the limit below
    // would otherwise overflow itself and reject every index past 9.
    std::uint64_t index = 0;
    const char* digits = p;
    while (p < end && *p >= '0' && *p <= '9') {
        if (index > (std::uint64_t(1) << 40)) return 0;  // far beyond any mesh: reject before it overflows
        index = index * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    if (p == digits || index > std::numeric_limits<std::size_t>::max()) return 0;
    return static_cast<std::size_t>(index);
}

// The slot of a 1-based index in an array of `stride`-float items, or false when out of range.
bool slotOf(std::size_t index, std::size_t stride, const std::vector<float>& data, std::size_t& slot) {
    if (index == 0 || index > data.size() / stride) return false;
    slot = (index - 1) * stride;
    return true;
}

// Keeps an attribute array parallel to the positions when the attribute first shows up after
// some faces were already read (their vertices get zeros), so drawing never reads past its end.
void padTo(std::vector<float>& attribute, const std::vector<float>& positions, std::size_t stride) {
    const std::size_t wanted = positions.size() / 3 * stride;
    if (attribute.size() < wanted) attribute.resize(wanted, 0.0f);
}

// False when the face was skipped for a missing or out-of-range index.
bool readFace(const char* p, const char* end, const ObjSource& source, Mesh& mesh) {
    mesh.hasTexCoords = !source.texCoords.empty();
    mesh.hasNormals = !source.normals.empty();
    if (mesh.hasTexCoords) {
        padTo(mesh.triangleTexCoords, mesh.trianglePositions, 2);
        padTo(mesh.quadTexCoords, mesh.quadPositions, 2);
    }
    if (mesh.hasNormals) {
        padTo(mesh.triangleNormals, mesh.trianglePositions, 3);
        padTo(mesh.quadNormals, mesh.quadPositions, 3);
    }

    struct Corner {
        std::size_t position, texCoord, normal;
    };
    Corner corners[4];
    int fields = 0;
    while (fields < 4) {
        p = skipBlanks(p, end);
        if (p == end) break;
        const char* fieldEnd = p;
        while (fieldEnd < end && !isBlank(*fieldEnd)) ++fieldEnd;
        Corner& corner = corners[fields];
        const char* q = p;
        if (!slotOf(readIndex(q, fieldEnd), 3, source.positions, corner.position)) return false;
        if (mesh.hasTexCoords && !slotOf(readIndex(q, fieldEnd), 2, source.texCoords, corner.texCoord)) return false;
        if (mesh.hasNormals && !slotOf(readIndex(q, fieldEnd), 3, source.normals, corner.normal)) return false;
        ++fields;
        p = fieldEnd;
    }
    if (fields < 3) return false;

    const bool quad = fields == 4;
    std::vector<float>& positions = quad ? mesh.quadPositions : mesh.trianglePositions;
    std::vector<float>& texCoords = quad ? mesh.quadTexCoords : mesh.triangleTexCoords;
    std::vector<float>& normals = quad ? mesh.quadNormals : mesh.triangleNormals;
    for (int i = 0; i < fields; ++i) {
        const float* position = &source.positions[corners[i].position];
        positions.insert(positions.end(), position, position + 3);
        if (mesh.hasTexCoords) {
            const float* texCoord = &source.texCoords[corners[i].texCoord];
            texCoords.insert(texCoords.end(), texCoord, texCoord + 2);
        }
        if (mesh.hasNormals) {
            const float* normal = &source.normals[corners[i].normal];
            normals.insert(normals.end(), normal, normal + 3);
        }
    }
    return true;
}

void readLine(const char* line, const char* end, ObjSource& source, Mesh& mesh) {
    if (line == end || *line == '#') return;
    const char* keywordEnd = line;
    while (keywordEnd < end && *keywordEnd != ' ' && *keywordEnd != '\t') ++keywordEnd;
    const std::size_t length = static_cast<std::size_t>(keywordEnd - line);
    const char* rest = keywordEnd;
    if (length == 1 && line[0] == 'v') {
        readFloats(rest, end, 3, source.positions);
    } else if (length == 2 && line[0] == 'v' && line[1] == 't') {
        readFloats(rest, end, 2, source.texCoords);
    } else if (length == 2 && line[0] == 'v' && line[1] == 'n') {
        readFloats(rest, end, 3, source.normals);
    } else if (length == 1 && line[0] == 'f') {
        if (!readFace(rest, end, source, mesh)) ++source.skippedFaces;
    }
}

// Reads every complete line of [begin, end) and returns where the unfinished last line starts.
const char* readLines(const char* begin, const char* end, ObjSource& source, Mesh& mesh) {
    const char* p = begin;
    while (p < end) {
        const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!found) break;
        const char* lineEnd = static_cast<const char*>(found);
        readLine(p, lineEnd, source, mesh);
        p = lineEnd + 1;
    }
    return p;
}

}  // namespace

std::size_t readObj(const char* text, std::size_t size, Mesh& mesh) {
    ObjSource source;
    const char* end = text + size;
    const char* rest = readLines(text, end, source, mesh);
    readLine(rest, end, source, mesh);  // a last line without a line break
    return source.skippedFaces;
}

std::size_t readObj(std::istream& in, Mesh& mesh) {
    // Parse block by block rather than copying the whole file first: large models then need no
    // second copy of their text.
    ObjSource source;
    std::vector<char> buffer(std::size_t(1) << 16);
    std::size_t kept = 0;  // bytes of an unfinished line carried over from the previous block
    for (;;) {
        if (kept == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than the block
        in.read(buffer.data() + kept, static_cast<std::streamsize>(buffer.size() - kept));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        const char* end = buffer.data() + kept + got;
        const char* rest = readLines(buffer.data(), end, source, mesh);
        kept = static_cast<std::size_t>(end - rest);
        std::memmove(buffer.data(), rest, kept);
    }
    readLine(buffer.data(), buffer.data() + kept, source, mesh);
    return source.skippedFaces;
}

}  // namespace Quorvel
