// Leaving a circle along a long polyline: an open zigzag of 100k spans (every third an arc) read through the
// single-polyline iterator. Items are spans walked.
// - the long walk: a circle holding all but the last span, so that the search passes every span (each one
//   proved inside by its farthest point) before it finds the exit;
// - the exit search span by span: a narrow circle about the zigzag's axis that every span leaves, searched
//   from the start of every span (each search meets the circle in its first span);
// - widening a short section in the middle to the rim of a circle holding all of it but the ends.

#include "arcline/intersect/velFastPolylineCircleIntersector.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int num_spans = 100000;
constexpr double step = 0.5;

// Along the x axis, up and down between y = 0 and y = 1.
struct Zigzag {
    Zigzag() {
        line.add_pos(giPoint3(0.0, 0.0, 0.0));
        for (int i = 1; i <= num_spans; ++i) {
            const double x = i * step, y = (i & 1) ? 1.0 : 0.0;
            if (i % 3 == 0) {
                line.add_arc(giPoint3(x - 0.3 * step, 0.5 + ((i & 1) ? 0.2 : -0.2), 0.0),
                             giPoint3(x, y, 0.0));
            } else {
                line.add_pos(giPoint3(x, y, 0.0));
            }
        }
        ++it;
    }
    velPolyArcLineDouble line;
    velSingleAbsArcLineListIter it{line};
};

Zigzag& zigzag() {
    static Zigzag z;
    return z;
}

void BM_walk_to_exit_of_large_circle(benchmark::State& state) {
    Zigzag& z = zigzag();
    const double length = num_spans * step;
    // Centred at the middle, reaching to just before the last position.
    const velCircle circle(giPoint2(length / 2, 0.5), length / 2 - 0.75 * step);
    const velFastPolylineCircleIntersector fi;
    const velPolylinePosition from(&z.it, num_spans / 2.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(fi.find_first_outside_circle(z.it, from, circle, 1).parameter());
    state.SetItemsProcessed(state.iterations() * num_spans / 2);
}
BENCHMARK(BM_walk_to_exit_of_large_circle)->Unit(benchmark::kMillisecond);

void BM_exit_search_every_span(benchmark::State& state) {
    Zigzag& z = zigzag();
    const velFastPolylineCircleIntersector fi;
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k < num_spans; ++k) {
            // A circle about the span's start that its span leaves.
            const giPoint3 p = z.it.get_pos(k);
            const velCircle circle(giPoint2(p.x, p.y), 0.6);
            velPolylinePosition exit;
            fi.find_first_outside_circle_on_section(z.it, velPolylineSection(z.it, k, k + 1.0), circle, 1,
                                                    exit);
            sum += exit.parameter();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_exit_search_every_span)->Unit(benchmark::kMillisecond);

void BM_expand_section_to_circle(benchmark::State& state) {
    Zigzag& z = zigzag();
    const double length = num_spans * step;
    const velCircle circle(giPoint2(length / 2, 0.5), length / 2 - 0.75 * step);
    const velFastPolylineCircleIntersector fi;
    const velPolylineSection middle(z.it, num_spans / 2.0 - 10.0, num_spans / 2.0 + 10.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(fi.expand_section_to_circle(z.it, circle, middle).parameter_length());
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_expand_section_to_circle)->Unit(benchmark::kMillisecond);

} // namespace
