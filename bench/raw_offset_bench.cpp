// The raw offset of one contour, span by span with its corner joins:
// - blob_10k (the shared benchmark workload: one closed anticlockwise outline of 10000 spans, every other an
//   arc, with concave stretches of curvature radius near 2) by +2 (outwards) and -2 (inwards, where local
//   loops form), with rounded corners and with sharp ones; skipped when the file is missing. The file is
//   looked for in $ARCLINE_BENCH_DATA, else in ../shared/bench/data beside the source tree;
// - a closed loop of 100k spans round a circle of radius 100 (arcs of the circle and chords of it in turn,
//   meeting at kinks of 3e-5 radians), by +1 (outwards) and -1;
// - offset_list over blob_10k: the offset written into an offset-flag cursor, as a command would.
// Items are input spans.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>

namespace {

std::string blob_path() {
    namespace fs = std::filesystem;
    if (const char* dir = std::getenv("ARCLINE_BENCH_DATA")) return (fs::path(dir) / "blob_10k.txt").string();
    // bench/ of the source tree -> ../shared/bench/data beside it.
    const fs::path root = fs::path(__FILE__).parent_path().parent_path();
    return (root.parent_path() / "shared" / "bench" / "data" / "blob_10k.txt").string();
}

// The blob's polyline; null when the file is missing or holds none.
const velAbsPolyArcLinecoPrg& blob() {
    static const velAbsPolyArcLinecoPrg line = [] {
        velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
        if (!velGeometryIO::read(blob_path().c_str(), list) || list.empty()) return velAbsPolyArcLinecoPrg();
        return velAbsPolyArcLinecoPrg(*list.begin());
    }();
    return line;
}

void offset_blob(benchmark::State& state, double d, int extend) {
    const velAbsPolyArcLinecoPrg& line = blob();
    if (!line) {
        state.SkipWithError(("no blob_10k.txt at " + blob_path()).c_str());
        return;
    }
    velPolyArcLineAdapter contour(*line);
    int spans = 0, temps = 0;
    for (auto _ : state) {
        velPolyArcLineOffsetter offsetter(contour, d);
        int changed = 0;
        velAbsContourcoPrf result = offsetter.offset(extend, 1, changed, 0);
        spans = result ? result->size() : 0;
        benchmark::DoNotOptimize(result);
    }
    if (velAbsContourcoPrf result = velPolyArcLineOffsetter(contour, d).offset(extend, 1, spans, 0)) {
        spans = result->size();
        for (int i = 1; i <= spans; ++i)
            temps += result->get_span(i)->is_temp_line_span() || result->get_span(i)->is_temp_arc_span();
    }
    state.counters["result_spans"] = spans;
    state.counters["temporary"] = temps;
    state.SetItemsProcessed(state.iterations() * line->num_spans());
}

void BM_raw_offset_blob_plus2(benchmark::State& state) {
    offset_blob(state, 2.0, 0);
}
void BM_raw_offset_blob_minus2(benchmark::State& state) {
    offset_blob(state, -2.0, 0);
}
void BM_raw_offset_blob_plus2_sharp(benchmark::State& state) {
    offset_blob(state, 2.0, 1);
}
void BM_raw_offset_blob_minus2_sharp(benchmark::State& state) {
    offset_blob(state, -2.0, 1);
}
BENCHMARK(BM_raw_offset_blob_plus2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_raw_offset_blob_minus2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_raw_offset_blob_plus2_sharp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_raw_offset_blob_minus2_sharp)->Unit(benchmark::kMicrosecond);

constexpr int loop_spans = 100000;

velAbsPolyArcLinecoPrg loop() {
    auto at = [](double a, double r) { return giPoint3(r * std::cos(a), r * std::sin(a), 0.0); };
    const double step = 2.0 * std::numbers::pi / loop_spans;
    auto line = std::make_shared<velPolyArcLineDouble>();
    line->add_pos(at(0.0, 100.0));
    for (int i = 1; i <= loop_spans; ++i) {
        const giPoint3 end = i == loop_spans ? at(0.0, 100.0) : at(i * step, 100.0);
        if (i % 2 == 0)
            line->add_arc(at((i - 0.5) * step, 100.0), end);
        else
            line->add_pos(end);
    }
    return line;
}

void offset_loop(benchmark::State& state, double d) {
    static const velAbsPolyArcLinecoPrg line = loop();
    velPolyArcLineAdapter contour(*line);
    for (auto _ : state) {
        velPolyArcLineOffsetter offsetter(contour, d);
        int changed = 0;
        benchmark::DoNotOptimize(offsetter.offset(0, 1, changed, 0));
    }
    state.SetItemsProcessed(state.iterations() * loop_spans);
}

void BM_raw_offset_loop_100k_plus1(benchmark::State& state) {
    offset_loop(state, 1.0);
}
void BM_raw_offset_loop_100k_minus1(benchmark::State& state) {
    offset_loop(state, -1.0);
}
BENCHMARK(BM_raw_offset_loop_100k_plus1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_raw_offset_loop_100k_minus1)->Unit(benchmark::kMillisecond);

void BM_raw_offset_list_blob(benchmark::State& state) {
    const velAbsPolyArcLinecoPrg& line = blob();
    if (!line) {
        state.SkipWithError(("no blob_10k.txt at " + blob_path()).c_str());
        return;
    }
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(list).insert_last(line);
    for (auto _ : state) {
        velAbsPolyArcLineListIter in(list);
        velPolylineWithOffsetFlagsListCursor out(ut_ptr_claim, new velAbsPolyArcLineListCursor);
        benchmark::DoNotOptimize(velPolyArcLineOffsetter::offset_list(in, out, -2.0, 0));
    }
    state.SetItemsProcessed(state.iterations() * line->num_spans());
}
BENCHMARK(BM_raw_offset_list_blob)->Unit(benchmark::kMicrosecond);

} // namespace
