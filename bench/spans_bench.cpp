// Throughput of the span primitives that every higher operation leans on: evaluation of arcs, distance
// to an arc, and span-span intersection. Figures are spans (or span pairs) per second.

#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

struct BulgeSpan {
    double p0[2], p1[2], b;
};

// Spans of chord up to about 10 starting in a square of side `region`; `arc_share` of them arcs with
// bulges in [-2, 2].
std::vector<BulgeSpan> random_spans(int n, double arc_share, unsigned seed, double region = 100.0) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> pos(0.0, region), step(-10.0, 10.0), bulge(-2.0, 2.0),
        unit(0.0, 1.0);
    std::vector<BulgeSpan> spans(n);
    for (auto& s : spans) {
        s.p0[0] = pos(rng);
        s.p0[1] = pos(rng);
        s.p1[0] = s.p0[0] + step(rng);
        s.p1[1] = s.p0[1] + step(rng);
        s.b = unit(rng) < arc_share ? bulge(rng) : 0.0;
    }
    return spans;
}

void BM_ArcEvaluatePosition(benchmark::State& state) {
    const auto spans = random_spans(4096, 1.0, 1);
    double pos[2];
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& s = spans[i++ & 4095];
        velCirbul::arc_evaluate_position(s.p0, s.p1, s.b, 0.3, pos);
        benchmark::DoNotOptimize(pos);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArcEvaluatePosition);

void BM_Cbpapo(benchmark::State& state) {
    const auto spans = random_spans(4096, 1.0, 2);
    double pos[2];
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& s = spans[i++ & 4095];
        velCirbul::cbpapo(s.p0, s.p1, s.b, 0.3, pos);
        benchmark::DoNotOptimize(pos);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cbpapo);

void BM_ArcLength3(benchmark::State& state) {
    const auto spans = random_spans(4096, 1.0, 3);
    std::vector<giPoint3> mids;
    for (const auto& s : spans) {
        double m[2];
        velCirbul::cbbump(s.p0, s.p1, s.b, m);
        mids.emplace_back(m[0], m[1], 0.0);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ & 4095;
        const auto& s = spans[k];
        benchmark::DoNotOptimize(
            velArc3Utils::arc_length({s.p0[0], s.p0[1], 0.0}, mids[k], {s.p1[0], s.p1[1], 0.0}));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArcLength3);

void BM_DistanceToArc(benchmark::State& state) {
    const auto spans = random_spans(4096, 1.0, 4);
    double d, t, nearest[2];
    const double q[2] = {50.0, 50.0};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& s = spans[i++ & 4095];
        velCirbul::cbdspt_g(s.p0, s.p1, s.b, 0.0, 1.0, q, 1e-10, d, t, nearest);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DistanceToArc);

// Span pairs that overlap in space (the pairs a spatial index hands to the intersector), for line-line
// (arg 0), mixed (arg 1: half the spans arcs) and arc-arc (arg 2).
void BM_SpanSpanIntersection(benchmark::State& state) {
    const double share = state.range(0) * 0.5;
    // Starts within a 10 x 10 square: most pairs come near each other and many cross.
    const auto spans = random_spans(4096, share, 5, 10.0);
    int count, coincident;
    double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
    std::size_t i = 0;
    long found = 0;
    for (auto _ : state) {
        const auto& a = spans[i & 4095];
        const auto& b = spans[(i * 7 + 1) & 4095];
        ++i;
        velCirbul::cbincb_g(a.p0, a.p1, a.b, 0.0, 1.0, b.p0, b.p1, b.b, 0.0, 1.0, velCirbul::intersection_tol,
                            count, ta, tb, pts, coincident);
        found += count;
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations());
    state.counters["points_per_pair"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SpanSpanIntersection)->Arg(0)->Arg(1)->Arg(2);

} // namespace
