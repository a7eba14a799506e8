// Loading speed of the OBJ reader on a large generated model (a 500 x 400 grid: 200,000 quads
// with v/t/n fields, about 17 MB of text), against a plain std::getline + strtof reader doing
// the same flattening, as the yardstick. Reported as milliseconds per million faces.
//
//   ninja -C build-engine qvl_bench_obj_load && build-engine/qvl_bench_obj_load
#include "engine/obj_reader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kColumns = 500;
constexpr int kRows = 400;
constexpr double kFaces = double(kColumns) * kRows;

const std::string& gridObj() {
    static const std::string text = [] {
        std::ostringstream out;
        out << "# generated grid\no Grid\n";
        for (int y = 0; y <= kRows; ++y) {
            for (int x = 0; x <= kColumns; ++x) {
                out << "v " << x * 0.01f << ' ' << y * 0.01f << ' ' << ((x * 7 + y * 3) % 11) * 0.001f << '\n';
            }
        }
        for (int y = 0; y <= kRows; ++y) {
            for (int x = 0; x <= kColumns; ++x) out << "vt " << float(x) / kColumns << ' ' << float(y) / kRows << '\n';
        }
        for (int y = 0; y <= kRows; ++y) {
            for (int x = 0; x <= kColumns; ++x) out << "vn 0 " << (x % 5) * 0.1f << " 0.9949874\n";
        }
        out << "s off\n";
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < kColumns; ++x) {
                const int a = y * (kColumns + 1) + x + 1;
                const int corners[4] = {a, a + 1, a + kColumns + 2, a + kColumns + 1};
                out << 'f';
                for (int c : corners) out << ' ' << c << '/' << c << '/' << c;
                out << '\n';
            }
        }
        return out.str();
    }();
    return text;
}

// The yardstick: what a straightforward reader of the same subset does.
struct BaselineMesh {
    std::vector<float> positions, texCoords, normals;
    std::vector<float> triangles[3], quads[3];
};

void baselineRead(std::istream& in, BaselineMesh& mesh) {
    std::string line;
    while (std::getline(in, line)) {
        const char* p = line.c_str();
        char* end = nullptr;
        if (line.compare(0, 2, "v ") == 0) {
            p += 2;
            for (int i = 0; i < 3; ++i, p = end) mesh.positions.push_back(std::strtof(p, &end));
        } else if (line.compare(0, 3, "vt ") == 0) {
            p += 3;
            for (int i = 0; i < 2; ++i, p = end) mesh.texCoords.push_back(std::strtof(p, &end));
        } else if (line.compare(0, 3, "vn ") == 0) {
            p += 3;
            for (int i = 0; i < 3; ++i, p = end) mesh.normals.push_back(std::strtof(p, &end));
        } else if (line.compare(0, 2, "f ") == 0) {
            long index[4][3];
            int fields = 0;
            p += 2;
            while (fields < 4 && *p) {
                for (int k = 0; k < 3; ++k) {
                    index[fields][k] = std::strtol(p, &end, 10);
                    p = end;
                    if (*p == '/') ++p;
                }
                ++fields;
                while (*p == ' ') ++p;
            }
            std::vector<float>* out = fields == 4 ? mesh.quads : mesh.triangles;
            for (int f = 0; f < fields; ++f) {
                const float* v = &mesh.positions[3 * (index[f][0] - 1)];
                const float* t = &mesh.texCoords[2 * (index[f][1] - 1)];
                const float* n = &mesh.normals[3 * (index[f][2] - 1)];
                out[0].insert(out[0].end(), v, v + 3);
                out[1].insert(out[1].end(), t, t + 2);
                out[2].insert(out[2].end(), n, n + 3);
            }
        }
    }
}

// Wall time of the timed loop, for a figure in plain milliseconds per million faces.
class LoopClock {
public:
    LoopClock() : start(std::chrono::steady_clock::now()) {}
    void report(benchmark::State& state) const {
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.counters["ms_per_Mfaces"] = ms / (double(state.iterations()) * kFaces / 1e6);
        state.counters["MB"] = double(gridObj().size()) / 1e6;
    }

private:
    std::chrono::steady_clock::time_point start;
};

void MeshReader(benchmark::State& state) {
    const std::string& text = gridObj();
    const LoopClock clock;
    for (auto _ : state) {
        std::istringstream in(text);
        Quorvel::Mesh mesh;
        Quorvel::readObj(in, mesh);
        if (mesh.quadPositions.size() != kFaces * 12) state.SkipWithError("mesh reader lost faces");
        benchmark::DoNotOptimize(mesh.quadPositions.data());
    }
    clock.report(state);
}

void BaselineGetlineStrtof(benchmark::State& state) {
    const std::string& text = gridObj();
    const LoopClock clock;
    for (auto _ : state) {
        std::istringstream in(text);
        BaselineMesh mesh;
        baselineRead(in, mesh);
        if (mesh.quads[0].size() != kFaces * 12) state.SkipWithError("baseline lost faces");
        benchmark::DoNotOptimize(mesh.quads[0].data());
    }
    clock.report(state);
}

}  // namespace

BENCHMARK(MeshReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BaselineGetlineStrtof)->Unit(benchmark::kMillisecond)->MinTime(2.0);
