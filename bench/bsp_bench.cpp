// The BSP intersector on the workloads that matter to users:
// - segments_20k: every crossing of 20,000 random segments (52,848 crossings), from the shared workload file
//   (skipped when it is not beside the repository);
// - a self-crossing random walk of 100k spans, every other span an arc.
// Reading the input is outside the timed loop; items are crossings found.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

namespace {

void run_intersection(benchmark::State& state, velPolylineListIter& it) {
    long crossings = 0;
    for (auto _ : state) {
        velCrossData data;
        data.set_store_crossing_pairs(0);
        velListIntersector::intersect(it, data);
        crossings = data.crossings().size();
        benchmark::DoNotOptimize(crossings);
    }
    state.counters["crossings"] = static_cast<double>(crossings);
    state.SetItemsProcessed(state.iterations() * crossings);
}

void BM_segments_20k_all_crossings(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "segments_20k.txt";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!std::filesystem::exists(file) || !velGeometryIO::read(file.string().c_str(), polylines)) {
        state.SkipWithError("segments_20k.txt not found beside the repository");
        return;
    }
    velAbsPolyArcLineListIter it(polylines);
    run_intersection(state, it);
}
// With --benchmark_repetitions=N the minimum is reported beside the median: on a shared machine it is the
// steadier figure.
double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}
BENCHMARK(BM_segments_20k_all_crossings)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// A random walk of unit steps turning up to 2.5 radians each time, every other span an arc.
void BM_random_walk_100k_self_intersection(benchmark::State& state) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> turn(-2.5, 2.5), bulge(-1, 1);
    velPolyArcLineDouble line;
    giPoint3 p(0, 0, 0);
    line.add_pos(p);
    double heading = 0;
    for (int k = 0; k < 100000; ++k) {
        heading += turn(rng);
        const giPoint3 q(p.x + std::cos(heading), p.y + std::sin(heading), 0);
        if (k % 2) {
            const double b = bulge(rng);
            line.add_arc({(p.x + q.x) / 2 + b / 2 * (q.y - p.y), (p.y + q.y) / 2 - b / 2 * (q.x - p.x), 0},
                         q);
        } else {
            line.add_pos(q);
        }
        p = q;
    }
    velSingleAbsArcLineListIter it(line);
    run_intersection(state, it);
}
BENCHMARK(BM_random_walk_100k_self_intersection)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

} // namespace
