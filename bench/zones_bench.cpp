// Zone queries on blob_10k (one closed polyline of 10,000 spans, half of them arcs, about 700 long), each
// beside the brute-force scan that answers the same question, so that the gain shows in one table:
// - making the zones (items: spans);
// - spans_near_point, and the spans within a distance of a point through the zones and by scanning every
//   span box of the cache;
// - the closest point in the plane and in space through the zones, and by velPolylineUtils' scan.
// The queries cycle through 1024 seeded points: argument 0 anywhere in the blob's box grown by a tenth
// (most far off the curve, many near its centre, where much of the curve is nearly equally far), argument
// 1 within 2 of a vertex in x and y (a tool near its path). Items: queries. Skipped when the workload file
// is not beside the repository.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <vector>

namespace {

// Zones down to about seven spans' length: a few spans per zone.
constexpr double zone_width = 0.5;
// The distance of the within-distance queries.
constexpr double near_distance = 1.0;
// Points near the curve lie within this of a vertex in x and in y.
constexpr double near_offset = 2.0;

struct Blob {
    Blob() {
        const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "blob_10k.txt";
        if (!std::filesystem::exists(file) || !velGeometryIO::read(file.string().c_str(), polylines)) return;
        it = std::make_unique<velAbsPolyArcLineListIter>(polylines);
        flat = std::make_unique<velFlattenedPolylineListIter>(*it, 0.0);
        zones2 = std::make_unique<velPolylineListZoneNode<2>>(*flat, zone_width);
        zones2->complete_subdivision();
        zones3 = std::make_unique<velPolylineListZoneNode<3>>(*it, zone_width);
        zones3->complete_subdivision();
        one = std::unique_ptr<velPolylineListIter>(flat->create_new());
        one->set_index(0);
        giBox2 box = zones2->limits();
        box.offset(0.1 * box.xlength());
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> x(box.min().x, box.max().x), y(box.min().y, box.max().y);
        std::uniform_real_distribution<double> off(-near_offset, near_offset);
        std::uniform_int_distribution<int> vertex(0, one->num_pos() - 1);
        for (int k = 0; k < 1024; ++k) {
            points[0].push_back({x(rng), y(rng)});
            const giPoint3 v = one->get_pos(vertex(rng));
            points[1].push_back({v.x + off(rng), v.y + off(rng)});
        }
    }
    bool ok() const { return zones2 != nullptr; }
    // Query k of a point set: 0 anywhere in the box, 1 near the curve.
    const giPoint2& point(int set, std::size_t k) const { return points[set][k & 1023]; }

    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    std::unique_ptr<velAbsPolyArcLineListIter> it;
    std::unique_ptr<velFlattenedPolylineListIter> flat;
    std::unique_ptr<velPolylineListZoneNode<2>> zones2;
    std::unique_ptr<velPolylineListZoneNode<3>> zones3;
    std::unique_ptr<velPolylineListIter> one;
    std::vector<giPoint2> points[2];
};

Blob& blob() {
    static Blob b;
    return b;
}

#define NEED_BLOB(state)                                                                                     \
    if (!blob().ok()) {                                                                                      \
        (state).SkipWithError("blob_10k.txt not found beside the repository");                               \
        return;                                                                                              \
    }

void BM_zones_make_and_divide(benchmark::State& state) {
    NEED_BLOB(state)
    for (auto _ : state) {
        velPolylineListZoneNode<2> zones(*blob().flat, zone_width);
        benchmark::DoNotOptimize(zones.complete_subdivision());
    }
    state.SetItemsProcessed(state.iterations() * blob().zones2->box_cache().num_spans(0));
}
BENCHMARK(BM_zones_make_and_divide)->Unit(benchmark::kMillisecond);

void BM_spans_near_point_zones(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    std::vector<const intcoDynArr*> near;
    std::size_t k = 0, found = 0;
    for (auto _ : state)
        found += blob().zones2->spans_near_point(blob().point(set, k++), near);
    state.counters["spans_per_query"] = static_cast<double>(found) / static_cast<double>(k);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_spans_near_point_zones)->Arg(0)->Arg(1);

void BM_spans_within_distance_zones(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    const velPolylineZoneNode<2>& tree = blob().zones2->individual_polyline_zones(0);
    std::vector<int> near;
    std::size_t k = 0, found = 0;
    for (auto _ : state) {
        near.clear();
        tree.spans_in_zones_within_distance_of_point(blob().point(set, k++), near_distance, near);
        found += near.size();
    }
    state.counters["spans_per_query"] = static_cast<double>(found) / static_cast<double>(k);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_spans_within_distance_zones)->Arg(0)->Arg(1);

// The same question by scanning every span box of the cache.
void BM_spans_within_distance_scan(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    const velPolyarcline2dBoxCache& cache = blob().zones2->box_cache();
    const int spans = cache.num_spans(0);
    std::vector<int> near;
    std::size_t k = 0, found = 0;
    for (auto _ : state) {
        near.clear();
        giBox2 around(blob().point(set, k), blob().point(set, k));
        ++k;
        around.offset(near_distance);
        for (int j = 0; j < spans; ++j)
            if (cache.get_span_box(0, j).crosses(around)) near.push_back(j);
        found += near.size();
    }
    state.counters["spans_per_query"] = static_cast<double>(found) / static_cast<double>(k);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_spans_within_distance_scan)->Arg(0)->Arg(1);

void BM_closest_point_2d_zones(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    std::size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(velZonedPolylineListUtils::closest_point_2d(blob().point(set, k++),
                                                                             *blob().flat, *blob().zones2));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_closest_point_2d_zones)->Arg(0)->Arg(1);

void BM_closest_point_3d_zones(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    std::size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(velZonedPolylineListUtils::closest_point(blob().point(set, k++).xyz(0.0),
                                                                          *blob().it, *blob().zones3));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_closest_point_3d_zones)->Arg(0)->Arg(1);

// The same question by velPolylineUtils' scan of every span.
void BM_closest_point_scan(benchmark::State& state) {
    NEED_BLOB(state)
    const int set = static_cast<int>(state.range(0));
    std::size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            velPolylineUtils::closest_point(blob().point(set, k++).xyz(0.0), *blob().one));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_closest_point_scan)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
