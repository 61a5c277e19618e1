// The arcline side: what the library can do today (crossings, and the union of many regions by the polyline
// sorter). Booleans of two regions and valid offsets are not built yet; the table shows "not yet" for them.

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
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
        [](const std::unique_ptr<velAbsPolyArcLineListCursor>& out) {
            Answer a;
            a.loops = 0;
            a.size = 0;
            a.value = 0.0;
            a.length = 0.0;
            velPolylineListIter& it = out->iterator();
            it.reset();
            while (++it) {
                ++a.loops;
                a.size += it.num_pos() - 1;
                a.value += velPolylineUtils::area(it);
                a.length += velPolylineUtils::length(it);
            }
            return a;
        });
    return {timing, answer};
}

} // namespace compare::arcline_side
