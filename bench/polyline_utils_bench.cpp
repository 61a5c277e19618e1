// The single-polyline measures on one long polyline: a closed loop of 100k spans round a circle, every other
// span an arc bulging outwards, read through the single-polyline iterator. Items are spans.

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int num_spans = 100000;

struct Loop {
    Loop() {
        auto at = [](double a, double r) { return giPoint3(r * std::cos(a), r * std::sin(a), 0.0); };
        const double step = 2.0 * std::numbers::pi / num_spans;
        line.add_pos(at(0.0, 100.0));
        for (int i = 1; i <= num_spans; ++i) {
            const giPoint3 end = i == num_spans ? at(0.0, 100.0) : at(i * step, 100.0);
            if (i % 2 == 0) {
                line.add_arc(at((i - 0.5) * step, 100.0 + 1e-3), end);
            } else {
                line.add_pos(end);
            }
        }
        ++it;
    }
    velPolyArcLineDouble line;
    velSingleAbsArcLineListIter it{line};
};

const Loop& loop() {
    static const Loop l;
    return l;
}

void BM_area(benchmark::State& state) {
    const Loop& l = loop();
    for (auto _ : state)
        benchmark::DoNotOptimize(velPolylineUtils::area(l.it));
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_area)->Unit(benchmark::kMillisecond);

void BM_length(benchmark::State& state) {
    const Loop& l = loop();
    for (auto _ : state)
        benchmark::DoNotOptimize(velPolylineUtils::length(l.it));
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_length)->Unit(benchmark::kMillisecond);

// Points alternate inside and outside the loop, so that every span is searched.
void BM_closest_point(benchmark::State& state) {
    const Loop& l = loop();
    int i = 0;
    for (auto _ : state) {
        const giPoint3 P((i++ % 2) ? 150.0 : 20.0, 3.0, 1.0);
        benchmark::DoNotOptimize(velPolylineUtils::closest_point(P, l.it));
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_closest_point)->Unit(benchmark::kMillisecond);

// Inside test: points alternate inside and outside the loop, both within its box, so that every span is
// tested (the box is computed once and handed in, as callers that test many points do).
void BM_point_inside(benchmark::State& state) {
    const Loop& l = loop();
    const giBox2 box = l.it.box(vel_2d_box);
    int i = 0;
    for (auto _ : state) {
        const giPoint2 P = (i++ % 2) ? giPoint2(99.0, 99.0) : giPoint2(20.0, 3.0);
        benchmark::DoNotOptimize(velPolylineUtils::point_inside_closed_polyline(P, l.it, &box));
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_point_inside)->Unit(benchmark::kMillisecond);

} // namespace
