// The polyline sorter on the union of circles_2k (2000 overlapping circles of two arcs each: 186 loops), from
// the shared workload file (skipped when it is not beside the repository): the whole sort, and its stages
// one by one so that a change can be traced to the stage it moves.
//   sort          velPolylineSorter::sort, everything
//   intersect     the BSP crossings, the order tables and the rationalising (self_intersect)
//   paths         tracing the paths, judging each by the counts on its two sides and writing the 186 that
//                 bound the union (write_visible_paths: what sort does under the winding rule)
//   rejoins       writing every traced loop (calculate_curve_rejoins), and
//   visibility    the visibility traversal of a second tree over them (keep_visible): the way taken when
//                 some loop cannot be judged at a point of its own (coinciding boundaries) and under even-odd
// Besides: the sort of a self-crossing offset-like loop of 10,000 spans, of 10,000 copies of one square, and
// the nesting tree of pocket.txt.
// The stages run on the input as sort hands it to its core (a random access view: the core reads polylines
// by index); each stage's input is made outside the timed loop.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyutils/velPolylineSorter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

namespace {

double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

bool read_circles(benchmark::State& state, velAbsPolyArcLinecoDListPrgcoPrgcoDList& polylines) {
    const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "circles_2k.txt";
    if (std::filesystem::exists(file) && velGeometryIO::read(file.string().c_str(), polylines)) return true;
    state.SkipWithError("circles_2k.txt not found beside the repository");
    return false;
}

// The sorter's stages, reached from a derived class.
class StagedSorter : public velPolylineSorter {
public:
    StagedSorter() { set_closure_function(&velPolylineSorter::all_closed, nullptr); }
    int intersect_stage(const velPolylineListIter& in) {
        const int n = self_intersect(in, -1, 0, 1, nullptr);
        fix_crossing_consistency(in);
        return n;
    }
    int rejoin_stage(const velPolylineListIter& in, velAbsPolyArcLineListCursor& loops) {
        std::vector<char> crossed;
        const int paths = calculate_curve_rejoins(in, loops, crossed, nullptr);
        copy_uncrossed(in, crossed, loops);
        return paths;
    }
    void visibility_stage(velAbsPolyArcLineListCursor& loops) { keep_visible(loops, nullptr); }
    int paths_stage(const velPolylineListIter& in, velAbsPolyArcLineListCursor& loops) {
        return write_visible_paths(in, loops);
    }
};

void BM_circles_2k_sort(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_circles(state, polylines)) return;
    velAbsPolyArcLineListIter in(polylines);
    int loops = 0;
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        velPolylineSorter sorter;
        sorter.sort(in, out);
        loops = out.size();
        benchmark::DoNotOptimize(loops);
    }
    state.counters["loops"] = loops;
}
BENCHMARK(BM_circles_2k_sort)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

void BM_circles_2k_sort_intersect(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_circles(state, polylines)) return;
    const velAbsPolyArcLineListRAIter in(polylines);
    int crossings = 0;
    for (auto _ : state) {
        StagedSorter sorter;
        crossings = sorter.intersect_stage(in);
        benchmark::DoNotOptimize(crossings);
    }
    state.counters["crossings"] = crossings;
}
BENCHMARK(BM_circles_2k_sort_intersect)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// Runs `stage` (writing loops from the input whose crossings are known) and counts the loops it writes.
template <class Stage>
void after_intersect(benchmark::State& state, const char* counter, Stage stage) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_circles(state, polylines)) return;
    const velAbsPolyArcLineListRAIter in(polylines);
    StagedSorter sorter;
    sorter.intersect_stage(in);
    int written = 0;
    for (auto _ : state) {
        velAbsPolyArcLineListCursor loops;
        stage(sorter, in, loops);
        written = loops.size();
        benchmark::DoNotOptimize(written);
    }
    state.counters[counter] = written;
}

void BM_circles_2k_sort_paths(benchmark::State& state) {
    after_intersect(state, "kept",
                    [](StagedSorter& s, const velPolylineListIter& in, velAbsPolyArcLineListCursor& loops) {
                        s.paths_stage(in, loops);
                    });
}
BENCHMARK(BM_circles_2k_sort_paths)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

void BM_circles_2k_sort_rejoins(benchmark::State& state) {
    after_intersect(state, "paths",
                    [](StagedSorter& s, const velPolylineListIter& in, velAbsPolyArcLineListCursor& loops) {
                        s.rejoin_stage(in, loops);
                    });
}
BENCHMARK(BM_circles_2k_sort_rejoins)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

void BM_circles_2k_sort_visibility(benchmark::State& state) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!read_circles(state, polylines)) return;
    const velAbsPolyArcLineListRAIter in(polylines);
    StagedSorter sorter;
    sorter.intersect_stage(in);
    velAbsPolyArcLineListCursor all;
    sorter.rejoin_stage(in, all);
    int kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        velAbsPolyArcLineListCursor loops;
        {
            std::unique_ptr<velPolylineListIter> it(all.native_iter());
            it->reset();
            while (++*it) {
                loops.create_last_polyline();
                velPolylineUtils::append(*it, loops);
            }
        }
        state.ResumeTiming();
        sorter.visibility_stage(loops);
        kept = loops.size();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["kept"] = kept;
}
BENCHMARK(BM_circles_2k_sort_visibility)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// An offset-like loop of 10,000 straight spans that crosses itself: a wavy circle (radius 100, twelve waves
// of 8) moved 16 inwards along its normals, which ties a swallowtail into every wave's inside bend. The sort
// cuts the tails off and keeps the inner boundary.
void BM_sort_self_crossing_offset_loop_10k(benchmark::State& state) {
    constexpr int spans = 10000;
    constexpr double radius = 100.0, wave = 8.0, waves = 12.0, inwards = 16.0;
    velAbsPolyArcLineListCursor in;
    in.create_last_polyline();
    velAbsPolyArcLine* loop = in.current_polyarcline();
    for (int i = 0; i <= spans; ++i) {
        const double t = 2.0 * std::numbers::pi * (i % spans) / spans;
        const double r = radius + wave * std::cos(waves * t), dr = -wave * waves * std::sin(waves * t);
        // The curve and its inward normal (the tangent turned right).
        const double x = r * std::cos(t), y = r * std::sin(t);
        const double tx = dr * std::cos(t) - r * std::sin(t), ty = dr * std::sin(t) + r * std::cos(t);
        const double len = std::hypot(tx, ty);
        loop->add_pos(giPoint3(x - inwards * ty / len, y + inwards * tx / len, 0.0));
    }
    int loops = 0;
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        velPolylineSorter sorter;
        sorter.sort(in.iterator(), out);
        loops = out.size();
        benchmark::DoNotOptimize(loops);
    }
    state.counters["loops"] = loops;
}
BENCHMARK(BM_sort_self_crossing_offset_loop_10k)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

// 10,000 copies of one square: sorted as one boundary that counts them.
void BM_sort_10k_copies_of_one_square(benchmark::State& state) {
    velAbsPolyArcLineListCursor in;
    for (int i = 0; i < 10000; ++i) {
        in.create_last_polyline();
        velAbsPolyArcLine* square = in.current_polyarcline();
        for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.0, 0.0}})
            square->add_pos(giPoint3(x, y, 0.0));
    }
    int loops = 0;
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        velPolylineSorter sorter;
        sorter.sort(in.iterator(), out);
        loops = out.size();
        benchmark::DoNotOptimize(loops);
    }
    state.counters["loops"] = loops;
}
BENCHMARK(BM_sort_10k_copies_of_one_square)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The containment tree of pocket.txt (an outer boundary with holes and islands).
void BM_pocket_nesting(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "pocket.txt";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    if (!std::filesystem::exists(file) || !velGeometryIO::read(file.string().c_str(), polylines)) {
        state.SkipWithError("pocket.txt not found beside the repository");
        return;
    }
    velAbsPolyArcLineListIter in(polylines);
    int top = 0;
    for (auto _ : state) {
        velPolylineSorter sorter;
        intNaryTree tree;
        sorter.nesting_tree(in, 0, tree);
        tree.Root();
        top = tree.NumOffspring();
        benchmark::DoNotOptimize(top);
    }
    state.counters["outermost"] = top;
}
BENCHMARK(BM_pocket_nesting)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

} // namespace
