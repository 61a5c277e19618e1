// The per-polyline family and the measures of velPolylineListUtils.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/platform/Interpolate.h"
#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

namespace {

using U = velPolylineUtils;

// A clone of `in` to walk, reset.
std::unique_ptr<velPolylineListIter> walker_of(const velPolylineListIter& in) {
    std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    return w;
}

// Calls f(iter) for every polyline of `in`, on a clone.
template <class F>
void for_each_polyline(const velPolylineListIter& in, F f) {
    const auto w = walker_of(in);
    while (++*w)
        f(static_cast<const velPolylineListIter&>(*w));
}

// Writes every polyline of `in` that has positions as a new polyline of `out`, through write(iter, out).
template <class F>
void write_each(const velPolylineListIter& in, velPolylineListCursor& out, F write) {
    if (out.size() > 0) out.set_index(out.size() - 1);
    for_each_polyline(in, [&](const velPolylineListIter& it) {
        if (it.num_pos() == 0) return;
        out.create_polyline();
        ++out;
        write(it, out);
    });
}

// Calls f(list) with the cursor on every polyline in turn, then resets it. f must leave the cursor on the
// polyline's index.
template <class F>
void edit_each(velPolylineListCursor& list, F f) {
    list.reset();
    while (++list)
        f(list);
    list.reset();
}

// A copy of the cursor's current polyline in a list of its own (for the debug comparison).
std::unique_ptr<velPolylineListCursor> snapshot(const velPolylineListCursor& list) {
    return std::unique_ptr<velPolylineListCursor>(U::new_single_polyline_cursor(list.iterator()));
}

velDebugGeometry& channel() {
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineListUtils");
    return dbg;
}
constexpr int debug_level = 2;

// Runs a cleaning step on the current polyline and, with the channel on, keeps the polyline before and
// after under "<what>:input" and "<what>:output" when the step changed it.
template <class Step>
int clean_with_debug(velPolylineListCursor& list, const char* input_label, const char* output_label,
                     Step step) {
    velDebugGeometry& dbg = channel();
    if (!dbg.active(debug_level)) return step(list);
    const auto before = snapshot(list);
    const int removed = step(list);
    const auto after = snapshot(list);
    if (!velPolylineListUtils::spacially_equivalent_xy(before->iterator(), after->iterator(),
                                                       velPolylineListUtils::spike_change_tol)) {
        dbg.append_iter(before->iterator(), input_label, debug_level);
        dbg.append_iter(after->iterator(), output_label, debug_level);
    }
    return removed;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The per-polyline family

void velPolylineListUtils::strip(const velPolylineListIter& in, double tol, velPolylineListCursor& out) {
    write_each(in, out,
               [tol](const velPolylineListIter& it, velPolylineListCursor& c) { U::strip(it, tol, c); });
}

void velPolylineListUtils::simple_strip(const velPolylineListIter& in, double tol,
                                        velPolylineListCursor& out) {
    write_each(in, out, [tol](const velPolylineListIter& it, velPolylineListCursor& c) {
        U::simple_strip(it, tol, c);
    });
}

void velPolylineListUtils::smash_spans_by_length(const velPolylineListIter& in, double length,
                                                 velPolylineListCursor& out) {
    write_each(in, out, [length](const velPolylineListIter& it, velPolylineListCursor& c) {
        U::smash_spans_by_length(it, length, c);
    });
}

int velPolylineListUtils::shave_off_tips_of_dog_ears(const velPolylineListIter& in,
                                                     velPolylineListCursor& out, double tol) {
    int ears = 0;
    write_each(in, out, [&](const velPolylineListIter& it, velPolylineListCursor& c) {
        ears += U::shave_off_tips_of_dog_ears(it, c, tol);
    });
    return ears;
}

void velPolylineListUtils::remove_spans_shorter_than(double length, velPolylineListCursor& list) {
    edit_each(list, [length](velPolylineListCursor& c) { U::remove_spans_shorter_than(length, c); });
}

int velPolylineListUtils::remove_kinks(double angle, double tol, velPolylineListCursor& list) {
    int kinks = 0;
    edit_each(list, [&](velPolylineListCursor& c) {
        kinks += clean_with_debug(c, "remove_kinks:input", "remove_kinks:output",
                                  [&](velPolylineListCursor& cc) { return U::remove_kinks(angle, tol, cc); });
    });
    return kinks;
}

int velPolylineListUtils::remove_spikes(double tol, velPolylineListCursor& list) {
    return remove_spikes(tol, 0, list);
}

int velPolylineListUtils::remove_xy_spikes(double tol, velPolylineListCursor& list) {
    return remove_spikes(tol, 1, list);
}

int velPolylineListUtils::remove_spikes(double tol, int xy, velPolylineListCursor& list) {
    int spikes = 0;
    edit_each(list, [&](velPolylineListCursor& c) {
        spikes += clean_with_debug(c, "remove_spikes:input", "remove_spikes:output",
                                   [&](velPolylineListCursor& cc) {
                                       return xy ? U::remove_xy_spikes(tol, cc) : U::remove_spikes(tol, cc);
                                   });
    });
    return spikes;
}

void velPolylineListUtils::forcably_close(velPolylineListCursor& list) {
    edit_each(list, [](velPolylineListCursor& c) { U::forcably_close(c); });
}

void velPolylineListUtils::polygonize(const velPolylineListIter& in, velPolylineListCursor& out, double tol) {
    Interpolate interp(tol, 0);
    write_each(in, out, [&](const velPolylineListIter& it, velPolylineListCursor& c) {
        c.add_pos(it, 0);
        for (int k = 0; k + 1 < it.num_pos(); ++k)
            U::add_polygonized_span(it, k, interp, c);
    });
}

void velPolylineListUtils::reverse_contours(velPolylineListCursor& list) {
    edit_each(list, [](velPolylineListCursor& c) {
        if (const velAbsContourcoPrf contour = c.get_current()) {
            contour->reverse();
        } else {
            U::reverse(c);
        }
    });
}

int velPolylineListUtils::remove_arc_span_temp_state(velPolylineListCursor& list) {
    int changed = 0;
    if (auto* flagged = dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(&list)) {
        // The temporary flags live in the cursor's records; a span object's flag is a copy of them.
        edit_each(list, [&](velPolylineListCursor&) {
            const auto* view = velPolylineListIterWithOffsetFlags::ut_dynamic_cast(&flagged->iterator());
            if (!view) return;
            for (int k = 0; k + 1 < view->num_pos(); ++k) {
                if (!view->temporary_arc(k)) continue;
                velOffsetInfo info;
                view->get_offset_info(k, info);
                flagged->set_offset_flag(k, 0, info.span_position, info.span_side);
                ++changed;
            }
        });
        return changed;
    }
    edit_each(list, [&](velPolylineListCursor& c) {
        const velAbsContourcoPrf contour = c.get_current();
        if (!contour) return;
        for (int i = 1; i <= contour->size(); ++i) {
            const velAbsSpancoPrf span = contour->get_span(i);
            if (!span || !span->is_temp_arc_span()) continue;
            span->set_arc_span_temp_state(0);
            ++changed;
        }
    });
    return changed;
}

// ---------------------------------------------------------------------------------------------------------
// Measures

double velPolylineListUtils::area(const velPolylineListIter& in) {
    double sum = 0.0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::area(it); });
    return sum;
}

double velPolylineListUtils::length(const velPolylineListIter& in) {
    double sum = 0.0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::length(it); });
    return sum;
}

double velPolylineListUtils::average_span_length(const velPolylineListIter& in) {
    const int spans = num_spans(in);
    return spans > 0 ? length(in) / spans : 0.0;
}

int velPolylineListUtils::num_points(const velPolylineListIter& in) {
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += it.num_pos(); });
    return sum;
}

int velPolylineListUtils::num_spans(const velPolylineListIter& in) {
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += std::max(0, it.num_pos() - 1); });
    return sum;
}

int velPolylineListUtils::num_arc_spans(const velPolylineListIter& in) {
    if (in.all_spans_linear()) return 0;
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::num_arc_spans(it); });
    return sum;
}

int velPolylineListUtils::num_empty_polylines(const velPolylineListIter& in) {
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += it.num_pos() == 0 ? 1 : 0; });
    return sum;
}

int velPolylineListUtils::num_closed_polylines(const velPolylineListIter& in, double tol) {
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::closed(it, tol); });
    return sum;
}

int velPolylineListUtils::num_open_polylines(const velPolylineListIter& in, double tol) {
    int sum = 0;
    for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::closed(it, tol) ? 0 : 1; });
    return sum;
}

int velPolylineListUtils::closed(const velPolylineListIter& in) {
    const auto w = walker_of(in);
    while (++*w)
        if (!U::closed(*w, 0.0)) return 0;
    return 1;
}

giBox2 velPolylineListUtils::box(const velPolylineListIter& in, vel2dBox kind) {
    giBox2 b;
    for_each_polyline(in, [&](const velPolylineListIter& it) { b.merge(it.box(kind)); });
    return b;
}

giBox3 velPolylineListUtils::box(const velPolylineListIter& in, vel3dBox kind) {
    giBox3 b;
    for_each_polyline(in, [&](const velPolylineListIter& it) { b.merge(it.box(kind)); });
    return b;
}

namespace {

// The index of the closed polyline whose |area| is preferred by better(a, b) (a strictly better than b);
// -1 when none is closed.
template <class Better>
int extreme_area(const velPolylineListIter& in, Better better) {
    int found = -1;
    double best = 0.0;
    for_each_polyline(in, [&](const velPolylineListIter& it) {
        if (!U::closed(it, 0.0)) return;
        const double a = std::fabs(U::area(it));
        if (found < 0 || better(a, best)) {
            found = it.index();
            best = a;
        }
    });
    return found;
}

} // namespace

int velPolylineListUtils::largest_area(const velPolylineListIter& in) {
    return extreme_area(in, [](double a, double b) { return a > b; });
}

int velPolylineListUtils::smallest_area(const velPolylineListIter& in) {
    return extreme_area(in, [](double a, double b) { return a < b; });
}

double velPolylineListUtils::unsigned_turn_angle(const velPolylineListIter& in, int index) {
    if (index < 0) {
        double sum = 0.0;
        for_each_polyline(in, [&](const velPolylineListIter& it) { sum += U::unsigned_turn_angle(it, 0); });
        return sum;
    }
    if (index >= in.size()) return 0.0;
    const auto w = walker_of(in);
    w->set_index(index);
    return U::unsigned_turn_angle(*w, 0);
}

double velPolylineListUtils::distance_between_closest_adjacent_points(const velPolylineListIter& in) {
    double best = DBL_MAX;
    for_each_polyline(in, [&](const velPolylineListIter& it) {
        best = std::min(best, U::distance_between_closest_adjacent_points(it));
    });
    return best;
}
