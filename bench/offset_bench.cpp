// The contour offsetter on the shared workloads (skipped when they are not beside the repository): whole
// region offsets (velOffsetter::offset on a list), each timed from the call to the finished result.
//   pocket_all_levels   pocket.txt offset inwards by k = 1, 2, ... until nothing is left (21 levels)
//   pocket_level        pocket.txt offset inwards by k, one level
//   blob_offset         blob_10k.txt grown (+2) and shrunk (-2)

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

bool read_workload(benchmark::State& state, const char* name, velAbsPolyArcLinecoDListPrgcoPrgcoDList& out) {
    const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / name;
    if (std::filesystem::exists(file) && velGeometryIO::read(file.string().c_str(), out)) return true;
    state.SkipWithError((std::string(name) + " not found beside the repository").c_str());
    return false;
}

// Concentric pocketing: every level from the original input until the result is empty.
void BM_offset_pocket_all_levels(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_workload(state, "pocket.txt", polylines)) return;
    velAbsPolyArcLineListIter in(polylines);
    int levels = 0, loops = 0, spans = 0;
    for (auto _ : state) {
        levels = loops = spans = 0;
        velOffsetter offsetter;
        for (int k = 1; k <= 1000; ++k) {
            velAbsPolyArcLineListCursor out;
            offsetter.offset(in, out, -static_cast<double>(k));
            if (out.size() == 0) break;
            ++levels;
            loops += out.size();
            spans += velPolylineListUtils::num_spans(out.iterator());
        }
        benchmark::DoNotOptimize(spans);
    }
    state.counters["levels"] = levels;
    state.counters["loops"] = loops;
    state.counters["spans"] = spans;
}
BENCHMARK(BM_offset_pocket_all_levels)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

void BM_offset_pocket_level(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_workload(state, "pocket.txt", polylines)) return;
    velAbsPolyArcLineListIter in(polylines);
    const double k = static_cast<double>(state.range(0));
    double area = 0.0;
    for (auto _ : state) {
        velOffsetter offsetter;
        velAbsPolyArcLineListCursor out;
        offsetter.offset(in, out, -k);
        area = velPolylineListUtils::area(out.iterator());
        benchmark::DoNotOptimize(area);
    }
    state.counters["area"] = area;
}
BENCHMARK(BM_offset_pocket_level)
    ->Arg(1)
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

// The blob by +2 (state.range(0) = 2) or -2: one loop of about 10,000 spans, trimmed where the bends are
// tighter than the distance.
void BM_offset_blob(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_workload(state, "blob_10k.txt", polylines)) return;
    velAbsPolyArcLineListIter in(polylines);
    const double d = static_cast<double>(state.range(0));
    int loops = 0, spans = 0;
    for (auto _ : state) {
        velOffsetter offsetter;
        velAbsPolyArcLineListCursor out;
        offsetter.offset(in, out, d);
        loops = out.size();
        spans = velPolylineListUtils::num_spans(out.iterator());
        benchmark::DoNotOptimize(spans);
    }
    state.counters["loops"] = loops;
    state.counters["spans"] = spans;
}
BENCHMARK(BM_offset_blob)->Arg(2)->Arg(-2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

} // namespace
