#include "arcline/lists/velPolylineListIter.h"

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/utils/velFloatUtils.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>
#include <memory>

const utTypeID& velPolylineListIter::ut_static_type() {
    static const utTypeID id("velPolylineListIter");
    return id;
}

namespace {
[[maybe_unused]] const utTypeID& type_id_at_load = velPolylineListIter::ut_static_type();

// Equal heights as far as the storage can tell: equal within a few rounding steps, or equal once rounded to
// the precision of single-precision polylines.
bool same_height(double a, double b) {
    constexpr double snapped_tol = velTol::parameter_snap;
    return velFloatUtils::equal(a, b) ||
           std::fabs(velFloatUtils::snap(a) - velFloatUtils::snap(b)) < snapped_tol;
}
} // namespace

const utTypeID& velPolylineListIter::ut_dynamic_type() const {
    return ut_static_type();
}

int velPolylineListIter::ut_is_kind_of(const utTypeID& t) const {
    return t == ut_static_type();
}

velAbsContourcoPrf velPolylineListIter::get_current() {
    return {};
}

int velPolylineListIter::span_linear(int) const {
    return 1;
}

giPoint3 velPolylineListIter::get_mid_pos(int) const {
    return {};
}

double velPolylineListIter::get_bulge(int i) const {
    if (span_linear(i)) return 0.0;
    return velArc3Utils::bulge(get_pos(i), get_pos(i + 1), get_mid_pos(i));
}

giBox2 velPolylineListIter::span_box(int i, vel2dBox) const {
    giBox2 b;
    if (i < 0 || i > num_pos() - 2) return b;
    const giPoint3 s = get_pos(i);
    const giPoint3 e = get_pos(i + 1);
    if (span_linear(i)) {
        b.merge(s.xy());
        b.merge(e.xy());
        return b;
    }
    const giPoint3 m = get_mid_pos(i);
    if (same_height(m.z, s.z) && same_height(e.z, s.z)) {
        velArc2Utils::bounding_box(s.xy(), e.xy(), get_bulge(i), b);
        return b;
    }
    // A tilted arc: its shadow on XY is an ellipse, not a circle; the space arc's box gives its ranges.
    return velArc3Utils::bbox(s, e, m).xy();
}

giBox3 velPolylineListIter::span_box(int i, vel3dBox) const {
    giBox3 b;
    if (i < 0 || i > num_pos() - 2) return b;
    const giPoint3 s = get_pos(i);
    const giPoint3 e = get_pos(i + 1);
    if (span_linear(i)) {
        b.merge(s);
        b.merge(e);
        return b;
    }
    return velArc3Utils::bbox(s, e, get_mid_pos(i));
}

giBox2 velPolylineListIter::box(vel2dBox kind) const {
    giBox2 b;
    const int n = num_pos();
    if (n == 0) return b;
    b.merge(get_pos(0).xy());
    if (all_spans_linear()) {
        for (int i = 1; i < n; ++i)
            b.merge(get_pos(i).xy());
        return b;
    }
    for (int i = 0; i + 1 < n; ++i)
        b.merge(span_linear(i) ? giBox2(get_pos(i + 1).xy(), get_pos(i + 1).xy()) : span_box(i, kind));
    return b;
}

giBox3 velPolylineListIter::box(vel3dBox kind) const {
    giBox3 b;
    const int n = num_pos();
    if (n == 0) return b;
    b.merge(get_pos(0));
    const bool straight = all_spans_linear();
    for (int i = 1; i < n; ++i) {
        if (straight || span_linear(i - 1)) {
            b.merge(get_pos(i));
        } else {
            b.merge(span_box(i - 1, kind));
        }
    }
    return b;
}

namespace {
// Writes polylines of `it` with positions into `cursor` as a producer does: create, step, first point, then
// spans. Straight-only lists copy positions, which is all they have.
void copy_current(const velPolylineListIter& it, velPolylineListCursor& cursor, bool straight) {
    const int n = it.num_pos();
    cursor.create_polyline();
    ++cursor;
    cursor.add_pos(it, 0);
    for (int i = 1; i < n; ++i) {
        if (straight) {
            cursor.add_pos(it, i);
        } else {
            cursor.add_span(it, i - 1, i);
        }
    }
}
} // namespace

void velPolylineListIter::copy(velPolylineListCursor& cursor) {
    reset();
    const bool straight = all_spans_linear() != 0;
    while (++*this) {
        if (num_pos() > 0) copy_current(*this, cursor, straight);
    }
}

void velPolylineListIter::copy_single(velPolylineListCursor& cursor) {
    if (num_pos() > 0) copy_current(*this, cursor, false);
}

int velPolylineListIter::all_spans_linear() const {
    return 1;
}

giPoint3 velPolylineListIter::get_interpolated_pos(double t) const {
    // Parameters outside 0 .. num_pos() - 1 (NaN too, as from lengths that overflowed) are held to the
    // ends, so that no index is made from them.
    const int n = num_pos();
    if (n == 0) return {};
    t = t > 0.0 ? std::min(t, n - 1.0) : 0.0;
    const double fi = std::floor(t);
    const int i = static_cast<int>(fi);
    if (t == fi) return get_pos(i);
    const double f = t - fi;
    const giPoint3 p0 = get_pos(i);
    const giPoint3 p1 = get_pos(i + 1);
    if (span_linear(i)) return p0.interpolate(p1, f);
    // Zero chord: the arc is a point, its start.
    if (p0.distance_squared(p1) <= zero_chord_tol * zero_chord_tol) return p0;
    return torArc3Utils::evaluate(p0, get_mid_pos(i), p1, f);
}

utOstream& operator<<(utOstream& os, const velPolylineListIter& it) {
    const std::unique_ptr<velPolylineListIter> walker(it.create_new());
    os << "velPolylineListIter {\n";
    walker->reset();
    while (++*walker) {
        const int n = walker->num_pos();
        os << walker->index() << ": (" << n << ")";
        for (int i = 0; i < n; ++i) {
            if (i > 0 && !walker->span_linear(i - 1)) os << " M " << walker->get_mid_pos(i - 1);
            os << ' ' << walker->get_pos(i);
        }
        os << '\n';
    }
    return os << "}\n";
}

std::ostream& operator<<(std::ostream& os, const velPolylineListIter& it) {
    utOstream out(os);
    out << it;
    return os;
}
