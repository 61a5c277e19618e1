// The contour view of one long poly-arc-line: a closed loop of 100k spans round a circle, every other span an
// arc. Walking it span by span (each span a handle object), copying it span by span into an empty contour,
// and reversing it. Items are spans.

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int num_spans = 100000;

velPolyArcLineDouble* loop() {
    auto at = [](double a, double r) { return giPoint3(r * std::cos(a), r * std::sin(a), 0.0); };
    const double step = 2.0 * std::numbers::pi / num_spans;
    auto* line = new velPolyArcLineDouble;
    line->add_pos(at(0.0, 100.0));
    for (int i = 1; i <= num_spans; ++i) {
        const giPoint3 end = i == num_spans ? at(0.0, 100.0) : at(i * step, 100.0);
        if (i % 2 == 0)
            line->add_arc(at((i - 0.5) * step, 100.0 + 1e-3), end);
        else
            line->add_pos(end);
    }
    return line;
}

void BM_contour_walk(benchmark::State& state) {
    velPolyArcLineAdapter contour(loop(), ut_ptr_claim);
    for (auto _ : state) {
        double sum = 0.0;
        contour.reset();
        while (++contour)
            sum += contour.get_current()->end_point().x;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_contour_walk)->Unit(benchmark::kMillisecond);

void BM_contour_append_spans(benchmark::State& state) {
    const velPolyArcLineAdapter contour(loop(), ut_ptr_claim);
    for (auto _ : state) {
        velAbsContourcoPrf copy = contour.clone();
        for (int i = 1; i <= num_spans; ++i)
            copy->append(contour.get_span(i));
        benchmark::DoNotOptimize(copy->size());
    }
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_contour_append_spans)->Unit(benchmark::kMillisecond);

void BM_contour_reverse(benchmark::State& state) {
    velPolyArcLineAdapter contour(loop(), ut_ptr_claim);
    for (auto _ : state)
        contour.reverse();
    state.SetItemsProcessed(state.iterations() * num_spans);
}
BENCHMARK(BM_contour_reverse)->Unit(benchmark::kMillisecond);

} // namespace
