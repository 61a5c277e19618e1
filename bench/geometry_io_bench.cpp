// The cost of geometry record files: writing and reading a million spans (1000 polylines of 1000 spans,
// every third span an arc) with coordinates that need all 17 digits, reported as bytes of file per second.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int num_polylines = 1000;
constexpr int spans_per_polyline = 1000;

namespace fs = std::filesystem;

// The list, and a file of it in the temporary directory, removed at exit.
struct Fixture {
    Fixture() {
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor c(list);
        for (int k = 0; k < num_polylines; ++k) {
            auto p = std::make_shared<velPolyArcLineDouble>();
            const double y0 = 2.1 * k;
            p->add_pos(giPoint3(0.0, y0, 0.3));
            for (int i = 1; i <= spans_per_polyline; ++i) {
                const double x = i * 0.7, y = y0 + ((i & 1) ? 1.3 : 0.1);
                if (i % 3 == 0) {
                    p->add_arc(giPoint3(x - 0.35, y0 + 0.9, 0.3), giPoint3(x, y, 0.3));
                } else {
                    p->add_pos(giPoint3(x, y, 0.3));
                }
            }
            c.insert_last(p);
        }
        path = (fs::temp_directory_path() /
                ("arcline-geometry-io-bench-" + std::to_string(std::random_device{}()) + ".txt"))
                   .string();
        velAbsPolyArcLineListIter it(list);
        velGeometryIO::write(path.c_str(), it);
        bytes = static_cast<std::int64_t>(fs::file_size(path));
    }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;
    ~Fixture() {
        std::error_code ec;
        fs::remove(path, ec);
    }
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    std::string path;
    std::int64_t bytes = 0;
};

const Fixture& fixture() {
    static const Fixture f;
    return f;
}

void BM_write_geometry_file(benchmark::State& state) {
    const Fixture& f = fixture();
    velAbsPolyArcLineListIter it(f.list);
    for (auto _ : state)
        velGeometryIO::write(f.path.c_str(), it);
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_write_geometry_file)->Unit(benchmark::kMillisecond);

void BM_read_geometry_file(benchmark::State& state) {
    const Fixture& f = fixture();
    for (auto _ : state) {
        auto list = std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>();
        benchmark::DoNotOptimize(velGeometryIO::read(f.path.c_str(), *list));
        state.PauseTiming();
        list.reset(); // freeing the polylines is not part of reading
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_read_geometry_file)->Unit(benchmark::kMillisecond);

} // namespace
