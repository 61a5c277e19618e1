// The filters of velPolylineListUtils: polylines removed from a list in place by a property, and cleaning.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using U = velPolylineUtils;

// Removes from `list` every polyline for which doomed(iter) holds (iter standing on it); returns how many.
// The cursor is left reset.
template <class Pred>
int remove_if(velPolylineListCursor& list, Pred doomed) {
    int removed = 0;
    list.reset();
    if (++list) {
        // remove() makes the next polyline current at the same index, or the cursor undefined after the last.
        while (list.index() >= 0) {
            if (doomed(static_cast<const velPolylineListIter&>(list.iterator()))) {
                list.remove();
                ++removed;
            } else if (!++list) {
                break;
            }
        }
    }
    list.reset();
    return removed;
}

// Replaces the cursor's current polyline by src's current one; the cursor stays at the same index.
void replace_current(velPolylineListCursor& list, const velPolylineListIter& src) {
    const int here = list.index();
    const velAddCoincidentPointType type = list.add_coincident_point_type();
    list.set_add_coincident_point_type(vel_add_no_start_point);
    list.create_polyline();
    ++list;
    U::append(src, list);
    list.set_add_coincident_point_type(type);
    list.set_index(here);
    list.remove(); // the copy, after it, takes its place
}

} // namespace

int velPolylineListUtils::remove_closed_polylines(double tol, velPolylineListCursor& list) {
    return remove_if(list, [tol](const velPolylineListIter& it) { return U::closed(it, tol) != 0; });
}

int velPolylineListUtils::remove_open_polylines(double tol, velPolylineListCursor& list) {
    return remove_if(list, [tol](const velPolylineListIter& it) { return U::closed(it, tol) == 0; });
}

int velPolylineListUtils::remove_polylines_longer_than(double length, velPolylineListCursor& list) {
    return remove_if(list, [length](const velPolylineListIter& it) { return U::length(it) > length; });
}

int velPolylineListUtils::remove_polylines_shorter_than(double length, velPolylineListCursor& list) {
    return remove_if(list, [length](const velPolylineListIter& it) { return U::length(it) < length; });
}

int velPolylineListUtils::remove_polylines_with_less_points_than(int n, velPolylineListCursor& list) {
    return remove_if(list, [n](const velPolylineListIter& it) { return it.num_pos() < n; });
}

int velPolylineListUtils::remove_closed_polylines_with_less_points_than(int n, velPolylineListCursor& list) {
    return remove_if(
        list, [n](const velPolylineListIter& it) { return it.num_pos() < n && U::closed(it, 0.0) != 0; });
}

int velPolylineListUtils::remove_closed_polylines_with_less_area_than(double area,
                                                                      velPolylineListCursor& list) {
    const double limit = std::fabs(area);
    const double spike_tol = std::max(std::sqrt(limit), velTol::coincident);
    return remove_if(list, [&](const velPolylineListIter& it) {
        if (it.num_pos() == 0) return true;
        if (!U::closed(it, 0.0) || !(std::fabs(U::area(it)) < limit)) return false;
        // Small: it goes when it is spikes all through, so that nothing of it survives spike removal.
        const std::unique_ptr<velPolylineListCursor> copy(U::new_single_polyline_cursor(it));
        U::remove_spikes(spike_tol, *copy);
        return copy->num_pos() == 0;
    });
}

int velPolylineListUtils::remove_thin_closed_polylines(double width, double area,
                                                       velPolylineListCursor& list) {
    return remove_if(list, [&](const velPolylineListIter& it) {
        if (!U::closed(it, width)) return false;
        const double a = std::fabs(U::area(it));
        // Mean width a / length below `width`, written without dividing by a length that may be 0.
        return a < area && U::length(it) * width > a;
    });
}

namespace {

// Whether the current polyline has a span that clean(tol) removes: its ends within tol, and for an arc its
// mid point too. Read from the positions, so that polylines with none are left without building span objects.
bool has_degenerate_span(const velPolylineListIter& p, double tol) {
    for (int k = 0, n = p.num_pos() - 1; k < n; ++k) {
        const giPoint3 s = p.get_pos(k);
        if (s.distance(p.get_pos(k + 1)) <= tol && (p.span_linear(k) || s.distance(p.get_mid_pos(k)) <= tol))
            return true;
    }
    return false;
}

} // namespace

int velPolylineListUtils::clean(double tol, velPolylineListCursor& list) {
    int removed = 0;
    list.reset();
    while (++list) {
        if (!has_degenerate_span(list.iterator(), tol)) continue;
        if (const velAbsContourcoPrf contour = list.get_current()) {
            removed += contour->clean(tol);
            continue;
        }
        // No contour view of this storage: clean a copy that has one and write it back.
        const std::unique_ptr<velPolylineListCursor> copy(U::new_single_polyline_cursor(list.iterator()));
        const velAbsContourcoPrf contour = copy->get_current();
        const int n = contour ? contour->clean(tol) : 0;
        if (n == 0) continue;
        removed += n;
        replace_current(list, copy->iterator());
    }
    remove_polylines_with_less_points_than(1, list);
    return removed;
}
