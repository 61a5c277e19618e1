// The arcline side: crossings, the Booleans of two regions and the union of many regions by the polyline
// sorter, and region offsets by the contour offsetter.

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "bench/compare/Sides.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace compare::arcline_side {

Measured crossings(const Workload& w, int repeat) {
    velAbsPolyArcLineListIter list(w.polylines);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            auto out = std::make_unique<velCrossingcoPageArr>();
            velListIntersector::all_crossings(list, *out);
            return out;
        },
        [](const std::unique_ptr<velCrossingcoPageArr>& out) {
            // Pairs of distinct polylines that meet, each once however often they cross.
            std::vector<std::pair<int, int>> pairs;
            for (int i = 0; i < out->size(); ++i) {
                const velCrossing& c = out->read(i);
                if (c.index1() != c.index2())
                    pairs.emplace_back(std::min(c.index1(), c.index2()), std::max(c.index1(), c.index2()));
            }
            std::sort(pairs.begin(), pairs.end());
            Answer a;
            a.value = static_cast<double>(std::unique(pairs.begin(), pairs.end()) - pairs.begin());
            return a;
        });
    return {timing, answer};
}

namespace {

// Loops, spans, area and boundary length of a result.
Answer region_answer(const velAbsPolyArcLineListCursor& out) {
    Answer a;
    a.loops = 0;
    a.size = 0;
    a.value = 0.0;
    a.length = 0.0;
    velPolylineListIter& it = out.iterator();
    it.reset();
    while (++it) {
        ++a.loops;
        a.size += it.num_pos() - 1;
        a.value += velPolylineUtils::area(it);
        a.length += velPolylineUtils::length(it);
    }
    return a;
}

// A copy of polyline k of the workload as a list of its own.
void copy_polyline(const Workload& w, int k, velAbsPolyArcLineListCursor& out) {
    velAbsPolyArcLineListIter in(w.polylines);
    in.reset();
    for (int i = 0; i <= k; ++i)
        ++in;
    out.create_last_polyline();
    velPolylineUtils::append(in, out);
}

} // namespace

Measured boolean(const Workload& w, BooleanOp op, int repeat) {
    // A and B as the sorter's Booleans want them: both anticlockwise as read; the subtraction wants plus
    // clockwise, so A is reversed here, before the clock, and the result (bounded as plus is) read back
    // with its area's sign turned.
    velAbsPolyArcLineListCursor a, b;
    copy_polyline(w, 0, a);
    copy_polyline(w, 1, b);
    if (op == BooleanOp::a_not_b) velPolylineListUtils::reverse_contours(a);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            auto out = std::make_unique<velAbsPolyArcLineListCursor>();
            velPolylineSorter sorter;
            switch (op) {
            case BooleanOp::a_and_b:
                sorter.intersection(a.iterator(), b.iterator(), *out);
                break;
            case BooleanOp::a_or_b:
                sorter.addition(a.iterator(), b.iterator(), *out);
                break;
            case BooleanOp::a_not_b:
                sorter.subtraction(a.iterator(), b.iterator(), *out);
                break;
            }
            return out;
        },
        [op](const std::unique_ptr<velAbsPolyArcLineListCursor>& out) {
            Answer r = region_answer(*out);
            if (op == BooleanOp::a_not_b) r.value = -r.value;
            return r;
        });
    return {timing, answer};
}

Measured union_all(const Workload& w, int repeat) {
    velAbsPolyArcLineListIter list(w.polylines);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            auto out = std::make_unique<velAbsPolyArcLineListCursor>();
            velPolylineSorter sorter;
            sorter.sort(list, *out);
            return out;
        },
        [](const std::unique_ptr<velAbsPolyArcLineListCursor>& out) { return region_answer(*out); });
    return {timing, answer};
}

Measured offset(const Workload& w, double d, int repeat) {
    velAbsPolyArcLineListIter list(w.polylines);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            auto out = std::make_unique<velAbsPolyArcLineListCursor>();
            velOffsetter offsetter;
            offsetter.offset(list, *out, d);
            return out;
        },
        [](const std::unique_ptr<velAbsPolyArcLineListCursor>& out) { return region_answer(*out); });
    return {timing, answer};
}

PocketSeries pocket(const Workload& w, double step, int repeat) {
    velAbsPolyArcLineListIter list(w.polylines);
    auto [timing, levels] = measure(
        repeat,
        [&] {
            std::vector<std::unique_ptr<velAbsPolyArcLineListCursor>> levels;
            velOffsetter offsetter;
            for (int k = 1; k <= pocket_level_limit; ++k) {
                auto out = std::make_unique<velAbsPolyArcLineListCursor>();
                offsetter.offset(list, *out, -k * step);
                if (out->size() == 0) break;
                levels.push_back(std::move(out));
            }
            return levels;
        },
        [](const std::vector<std::unique_ptr<velAbsPolyArcLineListCursor>>& levels) {
            std::vector<Answer> out;
            for (const auto& r : levels)
                out.push_back(region_answer(*r));
            return out;
        });
    return pocket_series(timing, levels);
}

} // namespace compare::arcline_side
