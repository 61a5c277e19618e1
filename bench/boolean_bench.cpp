// Boolean operations on regions:
// - two_regions (the shared benchmark workload: two overlapping closed anticlockwise outlines of 2000 spans
//   each, every other an arc): A AND B, A OR B and A NOT B by velPolylineSorter::intersection, addition and
//   subtraction (which wants plus clockwise: A is reversed once, before the clock), and the same three
//   through region_intersection, region_union and region_difference, which orient their inputs by nesting
//   first. Skipped when the file is missing. The answers are checked once per run against the workload's
//   identities (area(A OR B) + area(A AND B) = area(A) + area(B), area(A NOT B) = area(A) - area(A AND B));
// - regions200: the union of 200 random regions (circles and rounded convex polygons, seeded) in a square of
//   side 100, pairwise (the running union added to the next region, 199 additions) and in one go (one sort of
//   all 200). The two answers are checked against each other once per run.
// Reading the files and building the inputs are outside the clock.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velRegionBoolean.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

// Areas of exact arcs summed in double precision: the identities hold to this relative error.
constexpr double identity_relative = 1e-9;

std::string two_regions_path() {
    return (std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "two_regions.txt").string();
}

int loops_of(const velPolylineListIter& list) {
    return list.size();
}

// Appends a copy of every polyline of `in` to `out`.
void append_all(const velPolylineListIter& in, velPolylineListCursor& out) {
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    for (it->reset(); ++*it;) {
        out.create_last_polyline();
        velPolylineUtils::append(*it, out);
    }
}

// A, B, and A reversed (clockwise, for the subtraction); empty when the file is missing.
struct TwoRegions {
    velAbsPolyArcLineListCursor a, b, a_clockwise;
    double area_a = 0.0, area_b = 0.0;
    std::string error; // set when the file is missing or an answer is wrong

    TwoRegions() {
        velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
        if (!std::filesystem::exists(two_regions_path()) ||
            !velGeometryIO::read(two_regions_path().c_str(), list) || list.size() < 2) {
            error = "no two_regions.txt (2 polylines) at " + two_regions_path();
            return;
        }
        auto it = list.begin();
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(a_list).insert_last(*it);
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(b_list).insert_last(*++it);
        velAbsPolyArcLineListIter la(a_list), lb(b_list);
        append_all(la, a);
        append_all(lb, b);
        append_all(la, a_clockwise);
        velPolylineListUtils::reverse_contours(a_clockwise);
        area_a = velPolylineListUtils::area(a.iterator());
        area_b = velPolylineListUtils::area(b.iterator());
        check();
    }

    // The three operations once, against the workload's identities.
    void check() {
        velPolylineSorter sorter;
        velAbsPolyArcLineListCursor and_out, or_out, not_out;
        sorter.intersection(a.iterator(), b.iterator(), and_out);
        const int and_code = sorter.boolean_code();
        sorter.addition(a.iterator(), b.iterator(), or_out);
        const int or_code = sorter.boolean_code();
        sorter.subtraction(a_clockwise.iterator(), b.iterator(), not_out);
        const int not_code = sorter.boolean_code();
        if (and_code != 0 || or_code != 0 || not_code != 0) {
            error = "a Boolean failed: codes AND " + std::to_string(and_code) + ", OR " +
                    std::to_string(or_code) + ", NOT " + std::to_string(not_code);
            return;
        }
        const double and_area = velPolylineListUtils::area(and_out.iterator());
        const double or_area = velPolylineListUtils::area(or_out.iterator());
        // The subtraction is bounded as plus is: clockwise, area negative.
        const double not_area = -velPolylineListUtils::area(not_out.iterator());
        const double tol = identity_relative * (area_a + area_b);
        if (std::abs(or_area + and_area - (area_a + area_b)) > tol)
            error = "area(A OR B) + area(A AND B) = " + std::to_string(or_area + and_area) + ", not " +
                    std::to_string(area_a + area_b);
        else if (std::abs(not_area - (area_a - and_area)) > tol)
            error = "area(A NOT B) = " + std::to_string(not_area) +
                    ", not area(A) - area(A AND B) = " + std::to_string(area_a - and_area);
        else if (and_area <= 0.0 || and_area >= std::min(area_a, area_b))
            error = "area(A AND B) = " + std::to_string(and_area) + " is not inside (0, min(A, B))";
        results = {loops_of(and_out.iterator()), loops_of(or_out.iterator()), loops_of(not_out.iterator())};
        areas = {and_area, or_area, not_area};
    }

    std::vector<int> results;
    std::vector<double> areas;

private:
    velAbsPolyArcLinecoDListPrgcoPrgcoDList a_list, b_list;
};

const TwoRegions& two_regions() {
    static const TwoRegions r;
    return r;
}

enum class Op { and_, or_, not_ };

void report(benchmark::State& state, const TwoRegions& r, Op op) {
    const int k = op == Op::and_ ? 0 : op == Op::or_ ? 1 : 2;
    state.counters["loops"] = r.results[k];
    state.counters["area"] = r.areas[k];
}

void two_regions_sorter(benchmark::State& state, Op op) {
    const TwoRegions& r = two_regions();
    if (!r.error.empty()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    for (auto _ : state) {
        velPolylineSorter sorter;
        velAbsPolyArcLineListCursor out;
        switch (op) {
        case Op::and_:
            sorter.intersection(r.a.iterator(), r.b.iterator(), out);
            break;
        case Op::or_:
            sorter.addition(r.a.iterator(), r.b.iterator(), out);
            break;
        case Op::not_:
            sorter.subtraction(r.a_clockwise.iterator(), r.b.iterator(), out);
            break;
        }
        benchmark::DoNotOptimize(out.iterator().size());
    }
    report(state, r, op);
}

void two_regions_region(benchmark::State& state, Op op) {
    const TwoRegions& r = two_regions();
    if (!r.error.empty()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        switch (op) {
        case Op::and_:
            region_intersection(r.a.iterator(), r.b.iterator(), out);
            break;
        case Op::or_:
            region_union(r.a.iterator(), r.b.iterator(), out);
            break;
        case Op::not_:
            region_difference(r.a.iterator(), r.b.iterator(), out);
            break;
        }
        benchmark::DoNotOptimize(out.iterator().size());
    }
    report(state, r, op);
}

void BM_boolean_two_regions_and(benchmark::State& state) {
    two_regions_sorter(state, Op::and_);
}
void BM_boolean_two_regions_or(benchmark::State& state) {
    two_regions_sorter(state, Op::or_);
}
void BM_boolean_two_regions_not(benchmark::State& state) {
    two_regions_sorter(state, Op::not_);
}
void BM_boolean_two_regions_region_intersection(benchmark::State& state) {
    two_regions_region(state, Op::and_);
}
void BM_boolean_two_regions_region_union(benchmark::State& state) {
    two_regions_region(state, Op::or_);
}
void BM_boolean_two_regions_region_difference(benchmark::State& state) {
    two_regions_region(state, Op::not_);
}
BENCHMARK(BM_boolean_two_regions_and)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boolean_two_regions_or)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boolean_two_regions_not)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boolean_two_regions_region_intersection)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boolean_two_regions_region_union)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boolean_two_regions_region_difference)->Unit(benchmark::kMicrosecond);

// --- 200 random regions

constexpr int region_count = 200;
constexpr double field = 100.0;

// A circle of two half arcs, anticlockwise.
velAbsPolyArcLinecoPrg circle(double cx, double cy, double r) {
    auto line = std::make_shared<velPolyArcLineDouble>();
    line->add_pos(giPoint3(cx + r, cy, 0.0));
    line->add_arc(giPoint3(cx, cy + r, 0.0), giPoint3(cx - r, cy, 0.0));
    line->add_arc(giPoint3(cx, cy - r, 0.0), giPoint3(cx + r, cy, 0.0));
    return line;
}

// The convex polygon of `corners` (anticlockwise) grown by `r`: every edge moved out by r, the corners
// rounded by arcs of radius r about them. Area: polygon + perimeter * r + pi r^2.
velAbsPolyArcLinecoPrg rounded_polygon(const std::vector<giPoint3>& corners, double r) {
    const std::size_t n = corners.size();
    // Outward (right-hand) unit normal of edge i, from corner i to corner i + 1.
    std::vector<giPoint3> normal(n);
    for (std::size_t i = 0; i < n; ++i) {
        const giPoint3 &p = corners[i], &q = corners[(i + 1) % n];
        const double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
        normal[i] = giPoint3(dy / len, -dx / len, 0.0);
    }
    const auto moved = [&](const giPoint3& p, const giPoint3& nrm, double d) {
        return giPoint3(p.x + d * nrm.x, p.y + d * nrm.y, 0.0);
    };
    auto line = std::make_shared<velPolyArcLineDouble>();
    line->add_pos(moved(corners[0], normal[0], r));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        line->add_pos(moved(corners[j], normal[i], r));
        const double mx = normal[i].x + normal[j].x, my = normal[i].y + normal[j].y, ml = std::hypot(mx, my);
        // The last arc ends on the first position: the same expression gives the same point, bit for bit.
        line->add_arc(moved(corners[j], giPoint3(mx / ml, my / ml, 0.0), r), moved(corners[j], normal[j], r));
    }
    return line;
}

// 200 regions, half circles and half rounded polygons (3 to 7 corners), seeded.
const velAbsPolyArcLinecoDListPrgcoPrgcoDList& random_regions() {
    static const velAbsPolyArcLinecoDListPrgcoPrgcoDList list = [] {
        velAbsPolyArcLinecoDListPrgcoPrgcoDList out;
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor cursor(out);
        std::mt19937_64 rng(20261206);
        std::uniform_real_distribution<double> at(0.0, field), size(2.0, 9.0), round(0.3, 2.0),
            angle(0.0, 2.0 * std::numbers::pi), jitter(-0.3, 0.3);
        std::uniform_int_distribution<int> corners(3, 7);
        for (int k = 0; k < region_count; ++k) {
            const double cx = at(rng), cy = at(rng);
            if (k % 2 == 0) {
                cursor.insert_last(circle(cx, cy, size(rng)));
                continue;
            }
            // Corners round a circle, each moved along it by up to 0.3 of the even spacing: convex, and no
            // two corners closer than 0.4 of the spacing.
            const int n = corners(rng);
            const double spacing = 2.0 * std::numbers::pi / n, start = angle(rng), radius = size(rng);
            std::vector<giPoint3> pts;
            for (int i = 0; i < n; ++i) {
                const double a = start + spacing * (i + jitter(rng));
                pts.emplace_back(cx + radius * std::cos(a), cy + radius * std::sin(a), 0.0);
            }
            cursor.insert_last(rounded_polygon(pts, round(rng)));
        }
        return out;
    }();
    return list;
}

// The union pairwise: the running union added to each next region in turn.
void union_pairwise(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& regions,
                    velAbsPolyArcLineListCursor& out) {
    out.clear();
    velPolylineSorter sorter;
    bool first = true;
    for (const velAbsPolyArcLinecoPrg& region : regions) {
        velAbsPolyArcLinecoDListPrgcoPrgcoDList one;
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(one).insert_last(region);
        if (first) {
            append_all(velAbsPolyArcLineListIter(one), out);
            first = false;
            continue;
        }
        velAbsPolyArcLineListCursor next;
        sorter.addition(out.iterator(), velAbsPolyArcLineListIter(one), next);
        out.clear();
        append_all(next.iterator(), out);
    }
}

void union_sorted(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& regions, velAbsPolyArcLineListCursor& out) {
    velPolylineSorter sorter;
    sorter.sort(velAbsPolyArcLineListIter(regions), out);
}

// Both unions once: the same loops and area, the area between the largest region's and the sum of all.
struct Regions200Check {
    std::string error;
    int loops = 0;
    double area = 0.0;
};

const Regions200Check& regions200_check() {
    static const Regions200Check check = [] {
        Regions200Check c;
        const auto& regions = random_regions();
        velAbsPolyArcLineListCursor pairwise, sorted;
        union_pairwise(regions, pairwise);
        union_sorted(regions, sorted);
        double largest = 0.0, total = 0.0;
        velAbsPolyArcLineListIter in(regions);
        for (in.reset(); ++in;) {
            const double a = velPolylineUtils::area(in);
            largest = std::max(largest, a);
            total += a;
        }
        const double ap = velPolylineListUtils::area(pairwise.iterator());
        const double as = velPolylineListUtils::area(sorted.iterator());
        const int lp = pairwise.iterator().size(), ls = sorted.iterator().size();
        c.loops = ls;
        c.area = as;
        if (std::abs(ap - as) > identity_relative * total || lp != ls)
            c.error = "pairwise union " + std::to_string(lp) + " loops, area " + std::to_string(ap) +
                      "; sorted " + std::to_string(ls) + " loops, area " + std::to_string(as);
        else if (as < largest || as > total)
            c.error = "union area " + std::to_string(as) + " outside [" + std::to_string(largest) + ", " +
                      std::to_string(total) + "]";
        return c;
    }();
    return check;
}

void regions200(benchmark::State& state, bool pairwise) {
    const Regions200Check& check = regions200_check();
    if (!check.error.empty()) {
        state.SkipWithError(check.error.c_str());
        return;
    }
    const auto& regions = random_regions();
    for (auto _ : state) {
        velAbsPolyArcLineListCursor out;
        pairwise ? union_pairwise(regions, out) : union_sorted(regions, out);
        benchmark::DoNotOptimize(out.iterator().size());
    }
    state.counters["loops"] = check.loops;
    state.counters["area"] = check.area;
    state.SetItemsProcessed(state.iterations() * region_count);
}

void BM_boolean_regions200_pairwise(benchmark::State& state) {
    regions200(state, true);
}
void BM_boolean_regions200_sort(benchmark::State& state) {
    regions200(state, false);
}
BENCHMARK(BM_boolean_regions200_pairwise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_boolean_regions200_sort)->Unit(benchmark::kMillisecond);

} // namespace
