// The cost of the list protocol: reading a million spans (1000 polylines of 1000 spans, every third span an
// arc) through each kind of iterator, against reading the polylines directly; and copying that list into
// each kind of cursor.

#include "arcline/lists/torPolyline3ListCursor.h"
#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/lists/velAbsPolyArcLineItListIter.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/lists/velReversedPolylineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/platform/itRangeIterator.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyline/velPolyLine.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int num_polylines = 1000;
constexpr int spans_per_polyline = 1000;
constexpr int total_spans = num_polylines * spans_per_polyline;

void zigzag(velAbsPolyArcLine& line, int spans, double y0) {
    line.add_pos(giPoint3(0.0, y0, 0.0));
    for (int i = 1; i <= spans; ++i) {
        const double x = i * 0.5, y = y0 + ((i & 1) ? 1.0 : 0.0);
        if (i % 3 == 0) {
            line.add_arc(giPoint3(x - 0.15, y0 + 0.6, 0.0), giPoint3(x, y, 0.0));
        } else {
            line.add_pos(giPoint3(x, y, 0.0));
        }
    }
}

// The million-span list, built once, in each storage.
struct Lists {
    Lists() {
        for (int k = 0; k < num_polylines; ++k) {
            auto p = std::make_shared<velPolyArcLineDouble>();
            zigzag(*p, spans_per_polyline, 2.0 * k);
            list_cursor.insert_last(p);
            vec.emplace_back(p->create_new());
        }
        zigzag(single, total_spans, 0.0);
        // The curve kernel's point polylines: the same positions, arcs by their ends.
        coDListcoCursor<torCurvePtr3> c(curves);
        for (const auto& p : vec) {
            std::vector<giPoint3> pts(static_cast<std::size_t>(p->num_pos()));
            for (int i = 0; i < p->num_pos(); ++i)
                p->get_pos(i + 1, pts[static_cast<std::size_t>(i)]);
            c.insert_last(std::make_shared<torPolyline3>(std::move(pts)));
        }
    }
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor list_cursor{list};
    velAbsPolyArcLineVec vec;
    velPolyArcLineDouble single;
    torCurvePtr3coDList curves;
};

const Lists& lists() {
    static const Lists l;
    return l;
}

// Reads every position, and every arc's mid point, as a consumer does.
double read_all(velPolylineListIter& it) {
    double sum = 0.0;
    it.reset();
    while (++it) {
        const int n = it.num_pos();
        sum += it.get_pos(0).x;
        for (int i = 0; i + 1 < n; ++i) {
            sum += it.get_pos(i + 1).y;
            if (!it.span_linear(i)) sum += it.get_mid_pos(i).x;
        }
    }
    return sum;
}

template <class MakeIter>
void read_through(benchmark::State& state, MakeIter make) {
    std::unique_ptr<velPolylineListIter> it = make(lists());
    for (auto _ : state)
        benchmark::DoNotOptimize(read_all(*it));
    state.SetItemsProcessed(state.iterations() * total_spans);
}

// The baseline: the same reads made on the polylines themselves, without an iterator in between.
void BM_read_polylines_directly(benchmark::State& state) {
    const Lists& l = lists();
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& p : l.vec) {
            giPoint3 q;
            p->get_pos(1, q);
            sum += q.x;
            for (int i = 1; i < p->num_pos(); ++i) {
                p->get_pos(i + 1, q);
                sum += q.y;
                if (!p->span_linear(i)) {
                    p->get_mid_pos(i, q);
                    sum += q.x;
                }
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * total_spans);
}
BENCHMARK(BM_read_polylines_directly)->Unit(benchmark::kMillisecond);

void BM_read_list_iter(benchmark::State& state) {
    read_through(state, [](const Lists& l) { return std::make_unique<velAbsPolyArcLineListIter>(l.list); });
}
BENCHMARK(BM_read_list_iter)->Unit(benchmark::kMillisecond);

void BM_read_random_access_iter(benchmark::State& state) {
    read_through(state, [](const Lists& l) { return std::make_unique<velAbsPolyArcLineListRAIter>(l.list); });
}
BENCHMARK(BM_read_random_access_iter)->Unit(benchmark::kMillisecond);

void BM_read_vector_iter(benchmark::State& state) {
    read_through(state,
                 [](const Lists& l) { return std::make_unique<velAbsPolyArcLineVecListIter>(&l.vec); });
}
BENCHMARK(BM_read_vector_iter)->Unit(benchmark::kMillisecond);

void BM_read_sequence_iter(benchmark::State& state) {
    read_through(
        state, [](const Lists& l) { return std::make_unique<velAbsPolyArcLineItListIter>(it_range(l.vec)); });
}
BENCHMARK(BM_read_sequence_iter)->Unit(benchmark::kMillisecond);

void BM_read_single_iter(benchmark::State& state) {
    read_through(state,
                 [](const Lists& l) { return std::make_unique<velSingleAbsArcLineListIter>(l.single); });
}
BENCHMARK(BM_read_single_iter)->Unit(benchmark::kMillisecond);

void BM_read_curve_polyline_iter(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        return std::make_unique<torPolyline3ListIter>(torCurvePtr3coDListcoIterator(l.curves));
    });
}
BENCHMARK(BM_read_curve_polyline_iter)->Unit(benchmark::kMillisecond);

// A trimmed view keeping 10 ranges of every polyline (10k kept ranges, 1% of each polyline cut away in 9
// gaps inside arcs and lines alike): the cost of presenting pieces instead of polylines.
void BM_read_trimmed_view_10k_ranges(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        auto t = std::make_unique<velTrimmedPolylineListIter>(velAbsPolyArcLineListIter(l.list));
        t->reset();
        while (++*t) {
            // Cuts from the end backwards, so that each lies on the first part of what is left.
            for (int c = 9; c >= 1; --c) {
                const double at = c * 100.0 + 0.45;
                t->trim(at, at + 1.1);
            }
            while (t->segment_number() > 0)
                ++*t;
        }
        t->reset();
        return t;
    });
}
BENCHMARK(BM_read_trimmed_view_10k_ranges)->Unit(benchmark::kMillisecond);

// Views that forward: a workplane view maps every point; an append view joins the list to itself.
void BM_read_workplane_view(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        const giWorkplane3 wp(giPoint3(1, 2, 3), giVector3(1, 1, 0), giVector3(-1, 1, 0));
        return std::make_unique<velPolylineListIterWP>(wp, velAbsPolyArcLineListIter(l.list));
    });
}
BENCHMARK(BM_read_workplane_view)->Unit(benchmark::kMillisecond);

void BM_read_append_view(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        const velAbsPolyArcLineVecListIter half(&l.vec);
        return std::make_unique<velPolylineListIterAppend>(half, half);
    });
    state.SetItemsProcessed(state.iterations() * 2 * total_spans);
}
BENCHMARK(BM_read_append_view)->Unit(benchmark::kMillisecond);

// Decorating views: a reversed view maps every index; a smashed view presents each arc by chords within
// 0.01 (the zigzag's arcs, radius about 0.4 and a quarter turn or so, get a few chords each) and looks up a
// parameter table built once, outside the timing.
void BM_read_reversed_view(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        return std::make_unique<velReversedPolylineListIter>(velAbsPolyArcLineListIter(l.list));
    });
}
BENCHMARK(BM_read_reversed_view)->Unit(benchmark::kMillisecond);

void BM_read_smashed_view(benchmark::State& state) {
    read_through(state, [](const Lists& l) {
        return std::make_unique<velSmashedPolylineListIter>(velAbsPolyArcLineListIter(l.list), 0.01);
    });
}
BENCHMARK(BM_read_smashed_view)->Unit(benchmark::kMillisecond);

template <class MakeCursor>
void copy_into(benchmark::State& state, MakeCursor make) {
    velAbsPolyArcLineListIter it(lists().list);
    for (auto _ : state) {
        std::unique_ptr<velPolylineListCursor> c = make();
        it.copy(*c);
        benchmark::DoNotOptimize(c->size());
        state.PauseTiming();
        c.reset(); // freeing the copy is not part of copying
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * total_spans);
}

void BM_copy_into_list_cursor_double(benchmark::State& state) {
    copy_into(state, [] { return std::make_unique<velAbsPolyArcLineListCursor>(); });
}
BENCHMARK(BM_copy_into_list_cursor_double)->Unit(benchmark::kMillisecond);

void BM_copy_into_list_cursor_single(benchmark::State& state) {
    copy_into(state, [] {
        auto c = std::make_unique<velAbsPolyArcLineListCursor>();
        c->set_arcline_type(velPolyArcLine());
        return c;
    });
}
BENCHMARK(BM_copy_into_list_cursor_single)->Unit(benchmark::kMillisecond);

void BM_copy_into_list_cursor_straight(benchmark::State& state) {
    copy_into(state, [] {
        auto c = std::make_unique<velAbsPolyArcLineListCursor>();
        c->set_arcline_type(velPolyLine());
        return c;
    });
}
BENCHMARK(BM_copy_into_list_cursor_straight)->Unit(benchmark::kMillisecond);

struct OwnVecCursor : velAbsPolyArcLineVecListCursor {
    OwnVecCursor() : velAbsPolyArcLineVecListCursor(&storage) {}
    velAbsPolyArcLineVec storage;
};

void BM_copy_into_vector_cursor(benchmark::State& state) {
    copy_into(state, [] { return std::make_unique<OwnVecCursor>(); });
}
BENCHMARK(BM_copy_into_vector_cursor)->Unit(benchmark::kMillisecond);

void BM_copy_into_curve_polyline_cursor(benchmark::State& state) {
    copy_into(state,
              [] { return std::make_unique<torPolyline3ListCursor>(ut_ptr_claim, new torCurvePtr3coDList); });
}
BENCHMARK(BM_copy_into_curve_polyline_cursor)->Unit(benchmark::kMillisecond);

} // namespace
