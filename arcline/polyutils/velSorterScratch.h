#pragma once
// Scratch-list chores that the sorter's stages share: copying a list into a cursor, removing polylines by a
// test, closing every polyline. The sorter works on such scratch copies so that its input stays untouched.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyline/velTolerances.h"

#include <cmath>
#include <memory>

namespace velSorterScratch {

using Scratch = velAbsPolyArcLineListCursor;

// Appends every polyline of `in` that has positions to `out`, in order.
inline void copy_all(const velPolylineListIter& in, velPolylineListCursor& out) {
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    it->reset();
    while (++*it) {
        if (it->num_pos() == 0) continue;
        out.create_last_polyline();
        velPolylineUtils::append(*it, out);
    }
}

// Removes, from the end backwards, the polylines for which drop(iterator) holds.
template <class Drop>
void remove_if(Scratch& list, Drop drop) {
    for (int i = list.size() - 1; i >= 0; --i) {
        list.set_index(i);
        if (drop(list.iterator())) list.remove();
    }
}

// A closed polyline that encloses nothing.
inline bool empty_closed(const velPolylineListIter& p) {
    return velPolylineUtils::closed(p, 0.0) && std::fabs(velPolylineUtils::area(p)) < velTol::empty_area;
}

// The last position made the first where the two lie apart: the region operations take every polyline as
// closed.
inline void close_every(Scratch& list) {
    for (int i = 0; i < list.size(); ++i) {
        list.set_index(i);
        velAbsPolyArcLine* p = list.current_polyarcline();
        if (!p || p->num_pos() < 2) continue;
        giPoint3 first, last;
        p->get_pos(1, first);
        p->get_pos(p->num_pos(), last);
        if (!(first == last)) p->add_pos(first);
    }
}

// Whether every position of every polyline of `in` (and every arc's mid point) has finite coordinates.
inline bool all_finite(const velPolylineListIter& in) {
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    it->reset();
    auto finite = [](const giPoint3& p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    };
    while (++*it) {
        const int n = it->num_pos();
        for (int i = 0; i < n; ++i) {
            if (!finite(it->get_pos(i))) return false;
            if (i + 1 < n && !it->span_linear(i) && !finite(it->get_mid_pos(i))) return false;
        }
    }
    return true;
}

} // namespace velSorterScratch
