// What a debug channel costs a hot loop when it is off (level 0, the default): the same loop over the
// spans of a polyline (the length of each straight span, summed, as the cleaning routines measure them)
// without a channel call, with a drawing appended to a channel at level 0 on every span, with an
// explicit on() test, and with the virtual append_iter. An output function is installed, as in a host
// that collects debug geometry, so only the level keeps the channel quiet. Figures are spans per second.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/debug/velDebugGeometryCdgOutput.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int num_points = 4096;

std::vector<giPoint3> random_points() {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::vector<giPoint3> p(num_points, giPoint3(0, 0, 0));
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = {p[i - 1].x + step(rng), p[i - 1].y + step(rng), 0.0};
    return p;
}

// The host's output, installed for the whole run; nothing reaches it at level 0.
struct Host {
    Host() : out("bench_unused.cdg") { out.install(); }
    velDebugGeometryCdgOutput out;
};

velDebugGeometry& channel() {
    static Host host;
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineUtils");
    dbg.set_level(0);
    return dbg;
}

void BM_HotLoopWithoutChannel(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            const double d = p[i].distance(p[i - 1]);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_HotLoopWithoutChannel);

void BM_HotLoopWithDrawingAtLevel0(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            const double d = p[i].distance(p[i - 1]);
            dbg.append_line_drawing(p[i - 1], p[i], "span", 2);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_HotLoopWithDrawingAtLevel0);

void BM_HotLoopWithOnTestAtLevel0(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            const double d = p[i].distance(p[i - 1]);
            if (dbg.on(2)) dbg.append_star_drawing(p[i], d, "span", 2);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_HotLoopWithOnTestAtLevel0);

// append_iter is virtual and out of line: a call and a return on top of the level test.
void BM_HotLoopWithAppendIterAtLevel0(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    velDebugGeometry& dbg = channel();
    velAbsPolyArcLinecoDListPrgcoPrgcoDList empty;
    const velAbsPolyArcLineListIter none(empty);
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            const double d = p[i].distance(p[i - 1]);
            dbg.append_iter(none, "span", 2);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_HotLoopWithAppendIterAtLevel0);

} // namespace
