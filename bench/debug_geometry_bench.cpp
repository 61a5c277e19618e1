// What a debug channel costs a hot loop when it is off (level 0, the default). An output function is
// installed, as in a host that collects debug geometry, so only the level keeps the channel quiet.
// Figures are spans per second.
//
// SpanLengths: the loop of the library's algorithms, the length of every span of a polyline read through
// the list protocol (as the cleaning routines measure them), without a channel call, with a drawing
// appended on every span, with an explicit on() test, and with the virtual append_iter.
// Arithmetic: a loop of plain arithmetic at about 2 ns a span, with the channel call inside it and with
// the level tested once before it (`const bool draw = dbg.active(2);`). Here any call site in the loop,
// taken or not, costs: the compiler must keep the loop's values where a call cannot clobber them. Debug
// output belongs outside loops this tight.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/debug/velDebugGeometryCdgOutput.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/coDListcoCursor.h"
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

// A polyline of num_points positions, read through the list protocol.
struct Polyline {
    Polyline() {
        auto line = std::make_shared<velPolyArcLineDouble>(num_points);
        for (const giPoint3& p : random_points())
            line->add_pos(p);
        coDListcoCursor<velAbsPolyArcLinecoPrg>(list).insert_last(line);
        iter.reset();
        ++iter;
    }
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velAbsPolyArcLineListIter iter{list};
};

void BM_SpanLengthsWithoutChannel(benchmark::State& state) {
    const Polyline poly;
    const velPolylineListIter& it = poly.iter;
    channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i + 1 < it.num_pos(); ++i)
            sum += it.get_pos(i).distance(it.get_pos(i + 1));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_SpanLengthsWithoutChannel);

void BM_SpanLengthsWithDrawingAtLevel0(benchmark::State& state) {
    const Polyline poly;
    const velPolylineListIter& it = poly.iter;
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i + 1 < it.num_pos(); ++i) {
            const giPoint3 a = it.get_pos(i), b = it.get_pos(i + 1);
            dbg.append_line_drawing(a, b, "span", 2);
            sum += a.distance(b);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_SpanLengthsWithDrawingAtLevel0);

void BM_SpanLengthsWithOnTestAtLevel0(benchmark::State& state) {
    const Polyline poly;
    const velPolylineListIter& it = poly.iter;
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i + 1 < it.num_pos(); ++i) {
            const giPoint3 a = it.get_pos(i), b = it.get_pos(i + 1);
            const double d = a.distance(b);
            if (dbg.on(2)) dbg.append_star_drawing(a, d, "span", 2);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_SpanLengthsWithOnTestAtLevel0);

// append_iter is virtual and out of line: a call and a return on top of the level test.
void BM_SpanLengthsWithAppendIterAtLevel0(benchmark::State& state) {
    const Polyline poly;
    const velPolylineListIter& it = poly.iter;
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i + 1 < it.num_pos(); ++i) {
            dbg.append_iter(it, "span", 2);
            sum += it.get_pos(i).distance(it.get_pos(i + 1));
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_SpanLengthsWithAppendIterAtLevel0);

void BM_ArithmeticWithoutChannel(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    channel();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 1; i < p.size(); ++i)
            sum += p[i].distance(p[i - 1]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_ArithmeticWithoutChannel);

void BM_ArithmeticWithHoistedTestAtLevel0(benchmark::State& state) {
    const std::vector<giPoint3> p = random_points();
    velDebugGeometry& dbg = channel();
    for (auto _ : state) {
        double sum = 0.0;
        const bool draw = dbg.active(2);
        for (std::size_t i = 1; i < p.size(); ++i) {
            const double d = p[i].distance(p[i - 1]);
            if (draw) dbg.append_line_drawing(p[i - 1], p[i], "span", 2);
            sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (num_points - 1));
}
BENCHMARK(BM_ArithmeticWithHoistedTestAtLevel0);

void BM_ArithmeticWithDrawingAtLevel0(benchmark::State& state) {
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
BENCHMARK(BM_ArithmeticWithDrawingAtLevel0);

} // namespace
