// The copying and cleaning half of velPolylineUtils: functions that write one polyline through a cursor.

#include "arcline/polyline/utils/velPolylineUtils.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"

#include "arcline/lists/torCurvePtr3PolylineListCursor.h"
#include "arcline/lists/torPolyline3ListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/platform/Interpolate.h"
#include "arcline/platform/mlVectorStripN.h"
#include "arcline/platform/utMath.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/spans/velLinexLine.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace {

// A fraction of a start parameter this near a position snaps to it (copy_with_start_move).
constexpr double start_snap_tol = velTol::parameter_snap;
// remove_kinks: straight spans at least this long take part.
constexpr double kink_min_span = velTol::span_fraction;
// remove_kinks: the two turns of a kink go opposite ways when the product of their normals is below this.
constexpr double kink_same_sense_tol = velTol::formula_zero;
// split_arcs: cuts nearer than this to an arc's end (in its parameter) are not made.
constexpr double split_end_margin = 0.01;
// smash_spans_by_length: most pieces one span is cut into, whatever the length asked for.
constexpr int max_smash_pieces = 1 << 20;
// Bulges below this are straight enough to place chord points at equal parameters.
constexpr double flat_arc_bulge = 1e-9;
// Tolerance of the crossing search of the dog-ear test.
constexpr double crossing_tol = velCirbul::intersection_tol;

// An undefined iterator reads as a polyline without positions.
int positions(const velPolylineListIter& iter) {
    return iter.index() < 0 ? 0 : iter.num_pos();
}

// The in-place scheme of the cleaning functions. Construction takes the cursor's current polyline out into a
// temporary cursor of the cursor's kind and leaves the cursor on a new empty polyline at the same index, to
// be written with the add coincident point type 0; old() reads the polyline taken out. Destruction deletes
// the old polyline with the temporary cursor and restores the cursor's add coincident point type.
class InPlace {
public:
    explicit InPlace(velPolylineListCursor& cursor)
        : m_cursor(cursor), m_type(cursor.add_coincident_point_type()), m_old(cursor.create_empty()) {
        cursor.set_add_coincident_point_type(vel_add_no_start_point);
        cursor.create_polyline();
        m_old->move_polyline_after(cursor);
        m_old->reset();
        ++*m_old;
    }
    InPlace(const InPlace&) = delete;
    InPlace& operator=(const InPlace&) = delete;
    ~InPlace() { m_cursor.set_add_coincident_point_type(m_type); }

    const velPolylineListIter& old() const { return m_old->iterator(); }

private:
    velPolylineListCursor& m_cursor;
    velAddCoincidentPointType m_type;
    std::unique_ptr<velPolylineListCursor> m_old;
};

// Fills a new one-polyline cursor with a copy of iter's current polyline.
velPolylineListCursor* single_polyline_cursor(velPolylineListCursor* cursor,
                                              const velPolylineListIter& iter) {
    if (iter.index() < 0) return cursor;
    cursor->create_polyline();
    ++*cursor;
    velPolylineUtils::append(iter, *cursor);
    return cursor;
}

// ---------------------------------------------------------------------------------------------------------
// Spikes: a walk over the polyline with unwrapped parameters. On a closed polyline of m spans, parameter
// t + m is t again, so that a window round a vertex can run through the closing point; on an open one the
// parameters stay within [0, m].

class SpikeWalk {
public:
    SpikeWalk(const velPolylineListIter& it, int xy)
        : m_it(it), m_m(it.num_pos() - 1), m_closed(velPolylineUtils::closed(it, 0.0) != 0), m_xy(xy != 0) {}

    int spans() const { return m_m; }
    bool is_closed() const { return m_closed; }

    // The span of the polyline that unwrapped span s is.
    int span(int s) const {
        const int k = s % m_m;
        return k < 0 ? k + m_m : k;
    }
    // Unwrapped parameter t as a parameter of the polyline: span(floor) plus the fraction, so that the end
    // of a span stays its end (t = m on a closed polyline is position m, the same point as 0).
    double param(double t) const {
        const double s = std::floor(t);
        if (s == t) {
            if (!m_closed) return t;
            const int k = span(static_cast<int>(s));
            return k == 0 && t != 0.0 ? static_cast<double>(m_m) : k;
        }
        return span(static_cast<int>(s)) + (t - s);
    }
    giPoint3 measured(giPoint3 p) const {
        if (m_xy) p.z = 0.0;
        return p;
    }
    giPoint3 point(double t) const { return measured(m_it.get_interpolated_pos(param(t))); }

    // Nearest point to P of unwrapped span s between its fractions f0 <= f1: the distance, and t.
    double nearest(int s, double f0, double f1, const giPoint3& P, double& t) const {
        const int k = span(s);
        double f = f0;
        double d;
        if (m_it.span_linear(k)) {
            const giPoint3 A = measured(m_it.get_interpolated_pos(k + f0));
            const giPoint3 B = measured(m_it.get_interpolated_pos(k + f1));
            double u;
            velLinexLine::closest_point(P, A, B, u);
            f = f0 + u * (f1 - f0);
            d = P.distance(A.interpolate(B, u));
        } else if (!m_xy) {
            double tt;
            velPolylineUtils::get_closest_point(P, m_it, k + f0, k + f1, tt, d);
            f = tt - k;
        } else {
            // In x and y the arc is the circular arc over its shadow's chord with the same bulge.
            const giPoint3 S = m_it.get_pos(k), E = m_it.get_pos(k + 1);
            const double P0[2] = {S.x, S.y}, P1[2] = {E.x, E.y}, Q[2] = {P.x, P.y};
            double nearest_pt[2];
            velCirbul::cbdspt_g(P0, P1, m_it.get_bulge(k), f0, f1, Q, 0.0, d, f, nearest_pt);
        }
        t = s + f;
        return d;
    }

    // Length of the piece between unwrapped parameters a <= b.
    double length(double a, double b) const {
        double sum = 0.0;
        for (double s = std::floor(a); s < b; s += 1.0) {
            const double lo = std::max(a, s), hi = std::min(b, s + 1.0);
            if (hi <= lo) continue;
            const int k = span(static_cast<int>(s));
            if (m_it.span_linear(k)) {
                sum += point(lo).distance(point(hi));
            } else {
                sum += velPolylineUtils::length(m_it, k + (lo - s), k + (hi - s));
            }
        }
        return sum;
    }

    // Writes the piece between unwrapped parameters a <= b span piece by span piece with add_span: the
    // cursor's polyline goes on from its last point to the piece's first span end. `end`, when given, is
    // the polyline parameter of b (so that a piece round a closed polyline ends on exactly the point it
    // started from, whatever the rounding of b).
    void write(double a, double b, velPolylineListCursor& cursor, double end = -1.0) const {
        for (double s = std::floor(a); s < b; s += 1.0) {
            const double lo = std::max(a, s), hi = std::min(b, s + 1.0);
            if (hi <= lo) continue;
            const int k = span(static_cast<int>(s));
            cursor.add_span(m_it, k + (lo - s), hi == b && end >= 0.0 ? end : k + (hi - s));
        }
    }

private:
    const velPolylineListIter& m_it;
    int m_m;
    bool m_closed;
    bool m_xy;
};

// A quick test that a spike window cannot grow from a vertex: its first step needs the next position
// within tol of the span before the vertex, or the previous position within tol of the span after it, and
// every point of a span lies within `reach` of its chord's midpoint (in x and y: the arc over the shadow's
// chord with the span's bulge). Only in x and y; in 3D a tilted arc's shadow is no such arc.
class SpikeDiscs {
public:
    SpikeDiscs(const velPolylineListIter& it, bool xy) : m_on(xy) {
        if (!m_on) return;
        const int n = it.num_pos();
        m_x.resize(static_cast<std::size_t>(n));
        m_y.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const giPoint3 p = it.get_pos(i);
            m_x[at(i)] = p.x;
            m_y[at(i)] = p.y;
        }
        m_reach.resize(static_cast<std::size_t>(std::max(n - 1, 0)));
        for (int k = 0; k + 1 < n; ++k) {
            const double h = 0.5 * std::hypot(m_x[at(k + 1)] - m_x[at(k)], m_y[at(k + 1)] - m_y[at(k)]);
            const double b = it.span_linear(k) ? 0.0 : std::fabs(it.get_bulge(k));
            m_reach[at(k)] = h * std::max(1.0, b) * (1.0 + disc_margin);
        }
    }
    // Whether no spike window can start at vertex i (n - 1 spans; closed: span -1 is the last one).
    bool cannot_start(int i, bool closed, double tol) const {
        if (!m_on) return false;
        const int m = static_cast<int>(m_reach.size());
        if (m < 2) return false;
        const int before = i > 0 ? i - 1 : (closed ? m - 1 : -1);
        const int previous = i > 0 ? i - 1 : (closed ? m - 1 : -1);
        if (before < 0 || i >= m) return false;
        const double slack = tol * (1.0 + disc_margin);
        return outside(i + 1, before, slack) && outside(previous, i, slack);
    }

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    // Position p lies farther than slack from every point of span k.
    bool outside(int p, int k, double slack) const {
        const double cx = 0.5 * (m_x[at(k)] + m_x[at(k + 1)]), cy = 0.5 * (m_y[at(k)] + m_y[at(k + 1)]);
        return std::hypot(m_x[at(p)] - cx, m_y[at(p)] - cy) - m_reach[at(k)] > slack;
    }
    // Room for the rounding of the discs.
    static constexpr double disc_margin = 1e-6;

    bool m_on;
    std::vector<double> m_x, m_y, m_reach;
};

// The window of a spike round one vertex: the backward front tb and the forward front tf (unwrapped), and
// whether it came to cover the whole closed polyline.
struct SpikeWindow {
    double tb = 0.0, tf = 0.0;
    bool whole = false;
};

// Grows the window round vertex i (see remove_spikes).
SpikeWindow grow_spike_window(const SpikeWalk& w, int i, double tol) {
    const int m = w.spans();
    SpikeWindow win;
    win.tb = win.tf = i;
    double lb = 0.0, lf = 0.0;
    for (;;) {
        // The next position beyond each front.
        const double qf = std::floor(win.tf) + 1.0;
        const double qb = std::ceil(win.tb) - 1.0;
        const bool can_f = w.is_closed() || qf <= m;
        const bool can_b = w.is_closed() || qb >= 0.0;
        if (!can_f && !can_b) break;
        const double len_f = can_f ? lf + w.length(win.tf, qf) : 0.0;
        const double len_b = can_b ? lb + w.length(qb, win.tb) : 0.0;
        // The side whose covered length stays the smaller moves: a short arm folded back onto a long one
        // is then walked to its end before the long one is judged against it.
        const bool forward = can_f && (!can_b || len_f <= len_b);
        // The other front's span, the part of it not yet covered; the advancing front's span, the part
        // that the move covers.
        const int s_other =
            forward ? static_cast<int>(std::ceil(win.tb)) - 1 : static_cast<int>(std::floor(win.tf));
        const double o0 = forward ? 0.0 : win.tf - s_other;
        const double o1 = forward ? win.tb - s_other : 1.0;
        if (!w.is_closed() && (s_other < 0 || s_other >= m)) break;
        const int s_adv = forward ? static_cast<int>(std::floor(win.tf)) : static_cast<int>(qb);
        const double a0 = forward ? win.tf - s_adv : 0.0;
        const double a1 = forward ? 1.0 : win.tb - s_adv;
        const double q = forward ? qf : qb;
        double c;
        if (!(w.nearest(s_other, o0, o1, w.point(q), c) < tol)) break;
        const double halfway = 0.5 * (c + (forward ? win.tb : win.tf));
        double unused;
        if (!(w.nearest(s_adv, a0, a1, w.point(halfway), unused) < tol)) break;
        if (forward) {
            lb += w.length(c, win.tb);
            win.tf = q;
            win.tb = c;
            lf = len_f;
        } else {
            lf += w.length(win.tf, c);
            win.tb = q;
            win.tf = c;
            lb = len_b;
        }
        if (w.is_closed() && win.tf - win.tb > m - 1) {
            win.whole = true;
            break;
        }
    }
    return win;
}

// Number of integers strictly between a and b.
int integers_between(double a, double b) {
    const double lo = std::floor(a) + 1.0, hi = std::ceil(b) - 1.0;
    return hi >= lo ? static_cast<int>(hi - lo) + 1 : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Copying

void velPolylineUtils::append(const velPolylineListIter& iter, velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n > 0) append(iter, 0.0, n - 1.0, cursor);
}

void velPolylineUtils::append(const velPolylineListIter& iter, double t1, double t2,
                              velPolylineListCursor& cursor) {
    // A piece of a trimmed view is copied from the polyline underneath, so that a partial arc is cut once
    // from the whole arc rather than from an already cut one. Views nest: map until the list is not one.
    const velPolylineListIter* under = nullptr;
    double u1 = t1, u2 = t2;
    if (const auto* trimmed = velTrimmedPolylineListIter::ut_dynamic_cast(&iter)) {
        under = &trimmed->underlying_iter();
        u1 = trimmed->underlying_parameter(t1);
        u2 = trimmed->underlying_parameter(t2);
    } else if (const auto* joined = velTPLIWithoutClosureBreaks::ut_dynamic_cast(&iter)) {
        under = &joined->trimmed_iter().underlying_iter();
        u1 = joined->underlying_parameter(t1);
        u2 = joined->underlying_parameter(t2);
    }
    if (under == nullptr) {
        append_function(iter, t1, t2, cursor);
        return;
    }
    if (u2 < u1) {
        // The piece runs through the closing point of the closed polyline underneath.
        append(*under, u1, positions(*under) - 1.0, cursor);
        append(*under, 0.0, u2, cursor);
    } else {
        append(*under, u1, u2, cursor);
    }
}

void velPolylineUtils::append_function(const velPolylineListIter& iter, double t1, double t2,
                                       velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (cursor.index() < 0 || !(t1 >= 0.0 && t1 <= t2 && t2 <= n - 1.0)) return;
    if (cursor.num_pos() == 0) cursor.add_interpolated_pos(iter, t1);
    double previous = t1;
    for (int k = static_cast<int>(std::floor(t1)) + 1; k <= static_cast<int>(std::floor(t2)); ++k) {
        cursor.add_span(iter, previous, k);
        previous = k;
    }
    if (t2 > previous) cursor.add_span(iter, previous, t2);
}

void velPolylineUtils::append_closed(const velPolylineListIter& iter, double t1, double t2,
                                     velPolylineListCursor& cursor) {
    if (t2 < t1) {
        append(iter, t1, positions(iter) - 1.0, cursor);
        append(iter, 0.0, t2, cursor);
    } else {
        append(iter, t1, t2, cursor);
    }
}

void velPolylineUtils::append_backwards(const velPolylineListIter& iter, double t1, double t2,
                                        velPolylineListCursor& cursor) {
    const std::unique_ptr<velPolylineListCursor> piece(cursor.create_empty());
    piece->create_polyline();
    ++*piece;
    append(iter, t2, t1, *piece);
    reverse(*piece);
    append(piece->iterator(), cursor);
}

void velPolylineUtils::append_backwards_closed(const velPolylineListIter& iter, double t1, double t2,
                                               velPolylineListCursor& cursor) {
    if (t1 < t2) {
        append_backwards(iter, t1, 0.0, cursor);
        append_backwards(iter, positions(iter) - 1.0, t2, cursor);
    } else {
        append_backwards(iter, t1, t2, cursor);
    }
}

void velPolylineUtils::add_polygonized_span(const velPolylineListIter& iter, int k, Interpolate& interp,
                                            velPolylineListCursor& cursor) {
    if (!iter.span_linear(k)) {
        const int m = interp.arc(iter.get_pos(k), iter.get_mid_pos(k), iter.get_pos(k + 1), 1.0);
        const double b = std::fabs(iter.get_bulge(k));
        // The interpolator counts chords of equal angle; equal steps of the bulge parameter would crowd the
        // points at the arc's ends and let the middle chords leave the tolerance. The point at angle psi
        // from the mid point (of the half sweep 2 atan b) has the fraction (tan(psi / 2) / b + 1) / 2.
        const double half = 2.0 * std::atan(b);
        for (int j = 1; j < m; ++j) {
            const double step = static_cast<double>(j) / m;
            const double f =
                b < flat_arc_bulge ? step : 0.5 * (std::tan(0.5 * half * (2.0 * step - 1.0)) / b + 1.0);
            cursor.add_interpolated_pos(iter, k + f);
        }
    }
    cursor.add_pos(iter, k + 1);
}

void velPolylineUtils::add_polygonized_span(const velPolylineListIter& iter, int k, double tol,
                                            velPolylineListCursor& cursor) {
    Interpolate interp(tol, 0);
    add_polygonized_span(iter, k, interp, cursor);
}

void velPolylineUtils::convert_zx_to_xy(const velPolylineListIter& iter, velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n == 0) return;
    auto map = [](const giPoint3& p) { return giPoint3(p.z, p.x, 0.0); };
    velPolyArcLineDouble line;
    line.add_pos(map(iter.get_pos(0)));
    for (int k = 0; k + 1 < n; ++k) {
        const giPoint3 E = iter.get_pos(k + 1);
        if (iter.span_linear(k)) {
            line.add_pos(map(E));
        } else {
            line.add_arc(map(velArc3Utils::circular_midpoint(iter.get_pos(k), iter.get_mid_pos(k), E)),
                         map(E));
        }
    }
    velSingleAbsArcLineListIter one(line);
    ++one;
    append(one, cursor);
}

int velPolylineUtils::point_index_in_principle_range(int i, int n) {
    if (n < 2) return 0;
    const int m = n - 1;
    if (i < 0) i += ((-i + m - 1) / m) * m;
    if (i > m) i -= ((i - 1) / m) * m;
    return i;
}

void velPolylineUtils::copy_with_start_move(const velPolylineListIter& iter, double t,
                                            velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n < 2) return;
    const int m = n - 1;
    int s = static_cast<int>(std::floor(t));
    double f = t - s;
    if (f < start_snap_tol) {
        f = 0.0;
    } else if (f > 1.0 - start_snap_tol) {
        ++s;
        f = 0.0;
    }
    s = point_index_in_principle_range(s, n);
    if (s == m) s = 0; // the last position is the first
    const bool is_closed = closed(iter, 0.0) != 0;
    cursor.create_polyline();
    ++cursor;
    cursor.add_interpolated_pos(iter, s + f);
    cursor.add_span(iter, s + f, s + 1.0);
    for (int i = 1; i < m; ++i) {
        const int k = (s + i) % m;
        // An open polyline closes with a straight span from its end back to its start.
        if (k == 0 && !is_closed) cursor.add_pos(iter, 0);
        cursor.add_span(iter, k, k + 1.0);
    }
    if (s == 0 && !is_closed) cursor.add_pos(iter, 0);
    if (f > 0.0) cursor.add_span(iter, s, s + f);
}

// ---------------------------------------------------------------------------------------------------------
// Reversal and closure

void velPolylineUtils::reverse(velPolylineListCursor& cursor) {
    const int old = cursor.index();
    if (old < 0) return;
    const int n = cursor.num_pos();
    if (n == 0) return;
    cursor.create_polyline();
    ++cursor;
    // The clone is made after the insertion so that it reads the container as it now stands.
    const std::unique_ptr<velPolylineListIter> source(cursor.iterator().create_new());
    source->set_index(old);
    cursor.add_pos(*source, n - 1);
    for (int k = n - 2; k >= 0; --k)
        cursor.add_span(*source, k + 1.0, k);
    cursor.set_index(old);
    cursor.remove();
}

void velPolylineUtils::forcably_close(velPolylineListCursor& cursor) {
    if (cursor.index() < 0) return;
    if (cursor.num_pos() >= 2 && !closed(cursor.iterator(), 0.0)) cursor.add_pos(cursor.iterator(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Subdivision and thinning

void velPolylineUtils::smash_spans_by_length(const velPolylineListIter& iter, double L,
                                             velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n == 0) return;
    cursor.add_pos(iter, 0);
    for (int k = 0; k + 1 < n; ++k) {
        const double len = span_length(k, iter);
        // A span of no length ends where the last one did.
        if (len == 0.0) continue;
        int m = 1;
        if (L > 0.0) m = static_cast<int>(std::clamp(std::ceil(len / L), 1.0, double(max_smash_pieces)));
        for (int j = 0; j < m; ++j)
            cursor.add_span(iter, k + double(j) / m, j + 1 == m ? k + 1.0 : k + double(j + 1) / m);
    }
}

void velPolylineUtils::simple_strip(const velPolylineListIter& iter, double tol,
                                    velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n < 3) {
        append(iter, cursor);
        return;
    }
    std::vector<giPoint3> p(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        p[static_cast<std::size_t>(i)] = iter.get_pos(i);
    std::vector<char> keep(static_cast<std::size_t>(n), 0);
    keep.front() = keep.back() = 1;
    const double tol2 = tol * tol;
    std::deque<std::pair<int, int>> ranges{{0, n - 1}};
    while (!ranges.empty()) {
        const auto [a, b] = ranges.front();
        ranges.pop_front();
        double best = -1.0;
        int k = -1;
        for (int i = a + 1; i < b; ++i) {
            const double d = velLinexLine::distance_to_line_squared(p[static_cast<std::size_t>(i)],
                                                                    p[static_cast<std::size_t>(a)],
                                                                    p[static_cast<std::size_t>(b)]);
            if (d > best) {
                best = d;
                k = i;
            }
        }
        if (k < 0 || best < tol2) continue;
        keep[static_cast<std::size_t>(k)] = 1;
        if (k > a + 1) ranges.emplace_back(a, k);
        if (b > k + 1) ranges.emplace_back(k, b);
    }
    for (int i = 0; i < n; ++i)
        if (keep[static_cast<std::size_t>(i)]) cursor.add_pos(iter, i);
}

void velPolylineUtils::strip(const velPolylineListIter& iter, double tol, velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n == 0) return;
    mlVectorStripN filter(3, tol);
    // Parameters of the points fed since the filter's last restart, by their number.
    std::vector<double> fed;
    double last_written = -1.0;
    auto write = [&](double t) {
        if (t == last_written) return;
        if (t == std::floor(t)) {
            cursor.add_pos(iter, static_cast<int>(t));
        } else {
            cursor.add_interpolated_pos(iter, t);
        }
        last_written = t;
    };
    auto feed = [&](double t) {
        const giPoint3 p = iter.get_interpolated_pos(t);
        const double xyz[3] = {p.x, p.y, p.z};
        fed.push_back(t);
        const int kept = filter.add(xyz);
        if (kept >= 0) write(fed[static_cast<std::size_t>(kept)]);
    };
    auto flush = [&] {
        const int kept = filter.flush();
        if (kept >= 0) write(fed[static_cast<std::size_t>(kept)]);
    };
    feed(0.0);
    for (int i = 1; i < n; ++i) {
        if (!iter.span_linear(i - 1)) {
            const giPoint3 S = iter.get_pos(i - 1), E = iter.get_pos(i);
            const double chord = S.distance(E);
            const double sagitta = chord <= tol ? 0.0 : std::fabs(iter.get_bulge(i - 1)) * chord / 2.0;
            if (sagitta >= tol) {
                flush();
                cursor.add_span(iter, i - 1.0, i);
                last_written = i;
                filter.restart();
                fed.clear();
                feed(i);
                continue;
            }
            feed(i - 0.5);
        }
        feed(i);
    }
    flush();
}

// ---------------------------------------------------------------------------------------------------------
// Cleaning in place

void velPolylineUtils::remove_spans_shorter_than(double tol, velPolylineListCursor& cursor) {
    if (cursor.index() < 0 || cursor.num_pos() < 2) return;
    InPlace in_place(cursor);
    const velPolylineListIter& old = in_place.old();
    const int m = old.num_pos() - 1;
    const bool was_closed = closed(old, 0.0) != 0;
    std::vector<double> len(static_cast<std::size_t>(m));
    for (int k = 0; k < m; ++k)
        len[static_cast<std::size_t>(k)] = span_length(k, old);
    auto kept = [&](int k) { return len[static_cast<std::size_t>(k)] > tol; };
    int start = 0;
    if (m > 1 && was_closed) {
        // Start at a corner between two kept spans, so that the closing point is one of them.
        for (int k = 0; k < m; ++k) {
            if (kept(k) && kept(k == 0 ? m - 1 : k - 1)) {
                start = k;
                break;
            }
        }
    }
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineUtils");
    const bool draw = dbg.active(2);
    bool first = true;
    for (int i = 0; i < m; ++i) {
        const int k = (start + i) % m;
        if (!kept(k)) {
            if (draw) {
                auto span = std::make_unique<velPolyArcLineDouble>(2);
                span->add_pos(old.get_pos(k));
                if (old.span_linear(k))
                    span->add_pos(old.get_pos(k + 1));
                else
                    span->add_arc(old.get_mid_pos(k), old.get_pos(k + 1));
                dbg.append_geometry(span.release(), "removed_short_spans");
            }
            continue;
        }
        if (first) cursor.add_pos(old, k);
        first = false;
        cursor.add_span(old, k, k + 1.0);
    }
    if (m >= 2 && was_closed && cursor.num_pos() >= 3 && !closed(cursor.iterator(), 0.0))
        forcably_close(cursor);
}

int velPolylineUtils::remove_kinks(double angle, double length, velPolylineListCursor& cursor) {
    if (cursor.index() < 0) return 0;
    const int n = cursor.num_pos();
    if (n < 4) return 0;
    int count = 0;
    {
        InPlace in_place(cursor);
        const velPolylineListIter& old = in_place.old();
        auto usable = [&](int k) { return old.span_linear(k) && span_length(k, old) >= kink_min_span; };
        auto direction = [&](int k) {
            giVector3 v = old.get_pos(k + 1) - old.get_pos(k);
            v.unitize();
            return v;
        };
        const double sharp = angle * utMath::pi / 180.0;
        auto is_sharp = [&](const giVector3& a, const giVector3& b) {
            return utMath::pi - std::acos(std::clamp(a.dot(b), -1.0, 1.0)) < sharp;
        };
        // Spans before `written` are in the output.
        int written = 0;
        auto write_to = [&](int end) {
            for (; written < end; ++written)
                cursor.add_span(old, written, written + 1.0);
        };
        cursor.add_pos(old, 0);
        int j = 1;
        while (j < n - 2) {
            if (!usable(j - 1)) {
                write_to(j);
                j += 1;
            } else if (!usable(j)) {
                write_to(j + 1);
                j += 2;
            } else if (span_length(j, old) > length) {
                write_to(j);
                j += 1;
            } else if (!usable(j + 1)) {
                write_to(j + 2);
                j += 3;
            } else {
                const giVector3 tA = direction(j - 1), tB = direction(j), tC = direction(j + 1);
                if (is_sharp(tA, tB) && is_sharp(tB, tC) &&
                    tB.cross(tC).dot(tA.cross(tB)) < kink_same_sense_tol) {
                    // A ends and C starts at B's mid point.
                    cursor.add_interpolated_pos(old, j + 0.5);
                    cursor.add_pos(old, j + 2);
                    written = j + 2;
                    ++count;
                    j += 3;
                } else {
                    write_to(j);
                    j += 1;
                }
            }
        }
        write_to(n - 1);
    }
    if (count > 0) remove_kinks(angle, length, cursor);
    return count;
}

int velPolylineUtils::remove_spikes(double tol, velPolylineListCursor& cursor) {
    return remove_spikes(tol, 0, cursor);
}

int velPolylineUtils::remove_xy_spikes(double tol, velPolylineListCursor& cursor) {
    return remove_spikes(tol, 1, cursor);
}

int velPolylineUtils::remove_spikes(double tol, int xy, velPolylineListCursor& cursor) {
    if (cursor.index() < 0) return 0;
    int removed = 0;
    for (bool again = true; again;) {
        again = false;
        const int n = cursor.num_pos();
        if (n < 3) break;
        const SpikeWalk walk(cursor.iterator(), xy);
        const int m = walk.spans();
        const SpikeDiscs discs(cursor.iterator(), xy != 0);
        for (int i = walk.is_closed() ? 0 : 1; i < n - 1 && !again; ++i) {
            if (discs.cannot_start(i, walk.is_closed(), tol)) continue;
            const SpikeWindow win = grow_spike_window(walk, i, tol);
            if (win.whole) {
                cursor.create_polyline();
                cursor.remove();
                return removed + 1;
            }
            // A window that one front never left is a short span beside the vertex, not a fold.
            if (!(win.tb < i && i < win.tf)) continue;
            const bool tb_position = win.tb == std::floor(win.tb);
            int count;
            if (walk.is_closed()) {
                // From the join round to it again.
                count = 2 + integers_between(win.tf, win.tb + m);
            } else {
                const bool keep_end = win.tf == m;
                count = static_cast<int>(std::floor(win.tb)) + 1 + (tb_position ? 0 : 1) +
                        (m - static_cast<int>(std::floor(win.tf))) + (keep_end ? 1 : 0);
            }
            // A window that only shaves its vertex (or cuts less than it adds) is left.
            if (count >= n) continue;
            {
                InPlace in_place(cursor);
                const SpikeWalk old(in_place.old(), xy);
                if (old.is_closed()) {
                    cursor.add_interpolated_pos(in_place.old(), old.param(win.tb));
                    old.write(win.tf, win.tb + m, cursor, old.param(win.tb));
                } else {
                    cursor.add_pos(in_place.old(), 0);
                    old.write(0.0, win.tb, cursor);
                    old.write(win.tf, m, cursor);
                    // The end of an open polyline stays where it was.
                    if (win.tf == m &&
                        !in_place.old().get_pos(m).coincident(cursor.get_pos(cursor.num_pos() - 1), 0.0))
                        cursor.add_pos(in_place.old(), m);
                }
            }
            ++removed;
            again = true;
        }
    }
    return removed;
}

bool velPolylineUtils::spans_form_dog_ear(const velPolylineListIter& iter, int j, int k, double tol,
                                          double& tj, double& tk) {
    const giPoint3 Sa = iter.get_pos(j), Ea = iter.get_pos(j + 1), Sb = iter.get_pos(k),
                   Eb = iter.get_pos(k + 1);
    const double P0a[2] = {Sa.x, Sa.y}, P1a[2] = {Ea.x, Ea.y}, P0b[2] = {Sb.x, Sb.y}, P1b[2] = {Eb.x, Eb.y};
    int count = 0, coincident = 0;
    double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
    double points[velCirbul::max_intersections][2];
    velCirbul::cbincb_g(P0a, P1a, iter.get_bulge(j), 0.0, 1.0, P0b, P1b, iter.get_bulge(k), 0.0, 1.0,
                        crossing_tol, count, ta, tb, points, coincident);
    // Spans along one line or circle overlap rather than cross.
    if (coincident) return false;
    double best = DBL_MAX;
    for (int i = 0; i < count; ++i) {
        const double a = j + ta[i], b = k + tb[i];
        if (!iter.get_interpolated_pos(a).coincident(iter.get_interpolated_pos(b), tol)) continue;
        const double loop = length(iter, a, b);
        if (loop <= tol && loop < best) {
            best = loop;
            tj = a;
            tk = b;
        }
    }
    return best != DBL_MAX;
}

int velPolylineUtils::shave_off_tips_of_dog_ears(const velPolylineListIter& iter,
                                                 velPolylineListCursor& cursor, double tol) {
    const int n = positions(iter);
    if (n == 0 || cursor.index() < 0) return 0;
    const int m = n - 1;
    const bool is_closed = closed(iter, 0.0) != 0;
    if (cursor.num_pos() == 0) cursor.add_pos(iter, 0);
    int count = 0;
    double at = 0.0; // where the copy stands
    int j = 0;
    while (j < m) {
        double tj = 0.0, tk = 0.0;
        bool found = false;
        double between = 0.0; // length of the spans strictly between j and k
        for (int k = j + 2; k < m && !found; ++k) {
            between += span_length(k - 1, iter);
            if (between > tol) break;
            // Spans 0 and m - 1 of a closed polyline meet at the closing point.
            if (is_closed && j == 0 && k == m - 1) continue;
            found = spans_form_dog_ear(iter, j, k, tol, tj, tk) && tj >= at;
        }
        if (!found) {
            cursor.add_span(iter, at, j + 1.0);
            at = j + 1.0;
            ++j;
            continue;
        }
        if (tj > at) cursor.add_span(iter, at, tj);
        at = tk;
        j = static_cast<int>(std::floor(tk));
        ++count;
    }
    // A crossing at the very end: the copy still ends at the polyline's end.
    if (!cursor.get_pos(cursor.num_pos() - 1).coincident(iter.get_pos(m), 0.0)) cursor.add_pos(iter, m);
    return count;
}

// ---------------------------------------------------------------------------------------------------------
// Arc splitting

void velPolylineUtils::split_arcs(const velPolylineListIter& iter, const giUnitVec2& d,
                                  velPolylineListCursor& cursor) {
    const int n = positions(iter);
    if (n == 0) return;
    cursor.add_pos(iter, 0);
    for (int k = 0; k + 1 < n; ++k) {
        if (iter.span_linear(k)) {
            cursor.add_span(iter, k, k + 1.0);
            continue;
        }
        const giPoint3 S = iter.get_pos(k), E = iter.get_pos(k + 1), M = iter.get_mid_pos(k);
        const double P0[2] = {S.x, S.y}, P1[2] = {E.x, E.y}, Mid[2] = {M.x, M.y};
        double b;
        velCirbul::cbmpbu(P0, P1, Mid, b);
        int count = 0;
        double t[2] = {-1.0, -1.0};
        velCirbul::cbtapa_g(P0, P1, b, d.x(), d.y(), count, t);
        std::vector<double> cuts;
        for (int i = 0; i < count; ++i)
            if (t[i] >= split_end_margin && t[i] <= 1.0 - split_end_margin) cuts.push_back(t[i]);
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        double previous = k;
        for (double c : cuts) {
            cursor.add_span(iter, previous, k + c);
            previous = k + c;
        }
        cursor.add_span(iter, previous, k + 1.0);
    }
}

void velPolylineUtils::split_to_monotone(const velPolylineListIter& iter, velPolylineListCursor& cursor) {
    if (positions(iter) == 0) return;
    const std::unique_ptr<velPolylineListCursor> split(cursor.create_empty());
    split->create_polyline();
    ++*split;
    split_arcs(iter, giUnitVec2(giAxisY), *split);
    const velPolylineListIter& src = split->iterator();
    const int n = src.num_pos();
    cursor.create_polyline();
    ++cursor;
    cursor.add_pos(src, 0);
    int sense = 0; // 1: x increasing, -1: decreasing, 0: not known yet
    for (int k = 1; k < n; ++k) {
        const double x0 = src.get_pos(k - 1).x, x1 = src.get_pos(k).x;
        if (x1 != x0) {
            const int s = x1 > x0 ? 1 : -1;
            if (sense == 0) {
                sense = s;
            } else if (s != sense) {
                if (sense < 0) reverse(cursor);
                cursor.create_polyline();
                ++cursor;
                cursor.add_pos(src, k - 1);
                sense = s;
            }
        }
        cursor.add_span(src, k - 1.0, k);
    }
    if (sense < 0 || n <= 1) reverse(cursor);
}

// ---------------------------------------------------------------------------------------------------------
// One-polyline cursors

velPolylineListCursor* velPolylineUtils::new_single_polyline_cursor(const velPolylineListIter& iter) {
    return single_polyline_cursor(new velAbsPolyArcLineListCursor(), iter);
}

velPolylineListCursor* velPolylineUtils::new_single_curve_cursor(const velPolylineListIter& iter) {
    return single_polyline_cursor(new torCurvePtr3PolylineListCursor(), iter);
}

velPolylineListCursor* velPolylineUtils::new_single_tor_polyline_cursor(const velPolylineListIter& iter) {
    return single_polyline_cursor(new torPolyline3ListCursor(ut_ptr_claim, new torCurvePtr3coDList), iter);
}
