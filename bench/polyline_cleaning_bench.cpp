// Cleaning one long noisy polyline: 100k points along a gentle curve with noise of 0.02, every twentieth
// span an arc, thinned within 0.05 by the two strip filters and rid of its spans of at most 0.05 in place.
// Items are input points.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr int num_points = 100000;
constexpr double noise = 0.02;
constexpr double tol = 0.05;

struct Noisy {
    Noisy() {
        std::mt19937 rng(1);
        std::uniform_real_distribution<double> jitter(-noise, noise);
        auto at = [&](int i) {
            const double x = i * 0.1;
            return giPoint3{x + jitter(rng), 20.0 * std::sin(x / 50.0) + jitter(rng), 0.0};
        };
        line.add_pos(at(0));
        for (int i = 1; i < num_points; ++i) {
            const giPoint3 end = at(i);
            if (i % 20 == 0) {
                giPoint3 last;
                line.get_pos(line.num_pos(), last);
                const giVector3 chord = end - last;
                // A sagitta of a fifth of the chord, to the left.
                line.add_arc(last.interpolate(end, 0.5) + giVector3(-chord.y(), chord.x(), 0.0) * 0.2, end);
            } else {
                line.add_pos(end);
            }
        }
        ++it;
    }
    velPolyArcLineDouble line;
    velSingleAbsArcLineListIter it{line};
};

const Noisy& noisy() {
    static const Noisy n;
    return n;
}

// Runs `clean(source, cursor)` into a fresh cursor standing on a new empty polyline.
template <class Clean>
void into_new_polyline(benchmark::State& state, Clean clean) {
    const Noisy& n = noisy();
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        out.create_polyline();
        ++out;
        clean(n.it, out);
        benchmark::DoNotOptimize(out.num_pos());
    }
    state.SetItemsProcessed(state.iterations() * num_points);
}

void BM_simple_strip(benchmark::State& state) {
    into_new_polyline(state, [](const velPolylineListIter& it, velPolylineListCursor& out) {
        velPolylineUtils::simple_strip(it, tol, out);
    });
}
BENCHMARK(BM_simple_strip)->Unit(benchmark::kMillisecond);

void BM_strip(benchmark::State& state) {
    into_new_polyline(state, [](const velPolylineListIter& it, velPolylineListCursor& out) {
        velPolylineUtils::strip(it, tol, out);
    });
}
BENCHMARK(BM_strip)->Unit(benchmark::kMillisecond);

// In place: the copy of the input into the cursor is made outside the timing.
void BM_remove_spans_shorter_than(benchmark::State& state) {
    const Noisy& n = noisy();
    for (auto _ : state) {
        state.PauseTiming();
        velAbsPolyArcLineListCursor list;
        list.create_polyline();
        ++list;
        velPolylineUtils::append(n.it, list);
        state.ResumeTiming();
        velPolylineUtils::remove_spans_shorter_than(tol, list);
        benchmark::DoNotOptimize(list.num_pos());
    }
    state.SetItemsProcessed(state.iterations() * num_points);
}
BENCHMARK(BM_remove_spans_shorter_than)->Unit(benchmark::kMillisecond);

} // namespace
