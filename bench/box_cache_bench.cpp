// Span box caches on a long polyline: an open zigzag of 100k spans (every third an arc). Caching its boxes
// (items: spans), and the closest point within a small box near its middle with and without the cache
// (items: queries).

#include "arcline/intersect/velPolyarcline3dBoxCache.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int num_spans = 100000;

struct Zigzag {
    Zigzag() {
        line.add_pos(giPoint3(0.0, 0.0, 0.0));
        for (int i = 1; i <= num_spans; ++i) {
            const double x = 0.5 * i, y = (i & 1) ? 1.0 : 0.0;
            if (i % 3 == 0)
                line.add_arc(giPoint3(x - 0.15, 0.5 + ((i & 1) ? 0.2 : -0.2), 0.0), giPoint3(x, y, 0.0));
            else
                line.add_pos(giPoint3(x, y, 0.0));
        }
        ++it;
        cache.cache_boxes(it);
    }
    velPolyArcLineDouble line;
    velSingleAbsArcLineListIter it{line};
    velPolyarcline3dBoxCache cache;
};

Zigzag& zigzag() {
    static Zigzag z;
    return z;
}

const giBox3 small_box{{25000.0, 0.2, -1.0}, {25002.0, 0.8, 1.0}};

void BM_cache_span_boxes(benchmark::State& state) {
    Zigzag& z = zigzag();
    velPolyarcline3dBoxCache cache;
    for (auto _ : state) {
        cache.cache_boxes(z.it);
        benchmark::DoNotOptimize(cache.get_total_box());
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_cache_span_boxes)->Unit(benchmark::kMillisecond);

void BM_closest_point_within_box(benchmark::State& state) {
    Zigzag& z = zigzag();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            velPolylineUtils::closest_point_within_box({25001.0, 3.0, 0.0}, small_box, z.it));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_closest_point_within_box)->Unit(benchmark::kMillisecond);

void BM_closest_point_within_box_cached(benchmark::State& state) {
    Zigzag& z = zigzag();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            velPolylineUtils::closest_point_within_box({25001.0, 3.0, 0.0}, small_box, z.it, z.cache));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_closest_point_within_box_cached)->Unit(benchmark::kMicrosecond);

} // namespace
