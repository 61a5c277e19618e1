#include "arcline/polyutils/velRawOffsetJoins.h"

#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velExtendJoin.h"
#include "arcline/polyutils/velOffsetJoinSettings.h"
#include "arcline/polyutils/velRawOffsetMeet.h"

#include <cmath>

namespace {

// Ends of consecutive spans closer than this meet half way between them.
constexpr double meet_half_way = 1e-12;

double xy_length2(const giVector3& v) {
    return v.x() * v.x() + v.y() * v.y();
}

double xy_length(const giVector3& v) {
    return std::sqrt(xy_length2(v));
}

// Appends a span to a connected result: it starts where the result ends.
void append(const velRawOffsetSpan& span, velRawOffsetJoins::Spans& out) {
    out.push_back(span);
    const std::size_t n = out.size();
    if (n > 1 && out[n - 1].s != out[n - 2].e) out[n - 1].s = out[n - 2].e;
}

// The last span goes; the one before takes over its end, so a closed result stays closed.
void remove_end_span(velRawOffsetJoins::Spans& out) {
    const giPoint3 end = out.back().e;
    out.pop_back();
    if (!out.empty()) out.back().e = end;
}

} // namespace

bool velRawOffsetJoins::no_length(const velRawOffsetSpan& span) {
    const double dx = span.e.x - span.s.x, dy = span.e.y - span.s.y;
    if (dx * dx + dy * dy > velTol::span_fraction * velTol::span_fraction) return false;
    // A tiny chord may close a large arc.
    return !span.arc || std::fabs(span.b) <= 1.0;
}

void velRawOffsetJoins::dress(velRawOffsetSpan& span, const velRawOffsetSpan& after,
                              const Settings& settings) {
    if (!settings.span_info) return;
    const velSpanSide side = velOffsetJoinSettings::corner_side(after.side);
    if (side != velSpanSideNone) span.set_label(after.position, side);
}

bool velRawOffsetJoins::add_span(velRawOffsetSpan span, Spans& out, const Settings& settings) {
    if (no_length(span)) return false;
    if (!out.empty()) {
        velRawOffsetSpan& last = out.back();
        const giPoint3 E = last.e, S0 = span.s;
        const double dx = S0.x - E.x, dy = S0.y - E.y, gap2 = dx * dx + dy * dy;
        if (gap2 > 0.0 && gap2 <= settings.tol * settings.tol) {
            // Ends that lie within rounding of each other meet half way: weighting by the lengths would
            // move the point by less than that.
            double t = 0.5;
            if (gap2 > meet_half_way * meet_half_way) {
                const double before = last.length(), after = span.length();
                if (before + after > 0.0) t = before / (before + after);
            }
            const giPoint3 Q = E.interpolate(S0, t);
            last.e = Q;
            span.s = Q;
            if (no_length(span)) {
                last.e = span.e;
                return false;
            }
            if (no_length(last)) remove_end_span(out);
        } else if (gap2 > 0.0) {
            velRawOffsetSpan bridge = velRawOffsetSpan::line(E, S0);
            dress(bridge, span, settings);
            append(bridge, out);
        }
    }
    append(span, out);
    return true;
}

void velRawOffsetJoins::add_line(const giPoint3& S, const giPoint3& E, const velRawOffsetSpan& after,
                                 Spans& out, const Settings& settings) {
    velRawOffsetSpan line = velRawOffsetSpan::line(S, E);
    dress(line, after, settings);
    add_span(line, out, settings);
}

int velRawOffsetJoins::extend(velRawOffsetSpan& prev, velRawOffsetSpan& cur, Spans& out,
                              const Settings& settings) {
    const giVector3 T1 = prev.end_tangent(), T2 = cur.start_tangent();
    if (!velCornerGeometry::convex(T1, T2, settings.offset)) return 0;
    const velCornerGeometry corner(T1, T2, settings.offset);
    if (corner.degenerate()) return 0;
    const double max = settings.max_corner_offset;
    // A corner beside a temporary span (a collapsed arc) lies on a loop that the sorter cuts away; a chamfer
    // there would fold back across the material and leave a loop of the wrong sense, so it is joined sharp.
    const bool chamfer = settings.chamfer && !prev.temporary() && !cur.temporary();
    if (!prev.arc && !cur.arc) {
        if (!chamfer || max < 0.0 || corner.corner_distance <= max) {
            const giPoint3 X = prev.e + corner.T1 * corner.extension;
            prev.e = X;
            cur.s = X;
            return 1;
        }
        // Not even a chamfer reaches within max of the input corner: round it.
        if (std::fabs(settings.offset) > max) return 0;
        return chamfer_lines(prev, cur, corner, max, out, settings);
    }
    if (!chamfer || max < 0.0) return along_circles(prev, cur);
    if (std::fabs(settings.offset) > max) return 0;
    return tangent_lines(prev, cur, corner, max, corner.corner_distance > max, out, settings);
}

velRawOffsetSpan velRawOffsetJoins::arc_for_circle(const velRawOffsetSpan& span, double& r, int which) {
    giPoint3 centre;
    span.centre_radius(centre, r);
    if (span.b < 0.0) r = -r;
    // The point of the circle opposite the mid point.
    const giPoint3 mid = span.mid();
    const giPoint3 Q(2.0 * centre.x - mid.x, 2.0 * centre.y - mid.y, mid.z);
    return which == 0 ? velRawOffsetSpan::arc_through(span.e, Q, span.s)
                      : velRawOffsetSpan::arc_through(span.s, Q, span.e);
}

int velRawOffsetJoins::along_circles(velRawOffsetSpan& prev, velRawOffsetSpan& cur) {
    double r_prev = 0.0, r_cur = 0.0;
    velRawOffsetSpan on_prev, on_cur; // the continuations
    if (prev.arc) on_prev = arc_for_circle(prev, r_prev, 0);
    if (cur.arc) on_cur = arc_for_circle(cur, r_cur, 1);
    if (!prev.arc) on_prev = velRawOffsetSpan::line(prev.e, prev.e + prev.end_tangent() * std::fabs(r_cur));
    if (!cur.arc) on_cur = velRawOffsetSpan::line(cur.s - cur.start_tangent() * std::fabs(r_prev), cur.s);
    double t_prev[2], t_cur[2];
    const int n = velRawOffsetMeet::intersect(on_prev, on_cur, t_prev, t_cur, 2);
    if (n == 0) return 0;
    // The crossing nearest to the end of `prev`: the smaller parameter on its continuation.
    const double t = n == 2 ? std::fmin(t_prev[0], t_prev[1]) : t_prev[0];
    const giPoint3 X = on_prev.point(t);
    giPoint3 c_prev, c_cur;
    double unused = 0.0;
    prev.centre_radius(c_prev, unused);
    cur.centre_radius(c_cur, unused);
    prev.e = X;
    cur.s = X;
    if (prev.arc) prev.b = velExtendJoin::find_bulge_factor(prev.s, X, c_prev, r_prev);
    if (cur.arc) cur.b = velExtendJoin::find_bulge_factor(X, cur.e, c_cur, r_cur);
    return 1;
}

int velRawOffsetJoins::chamfer_lines(velRawOffsetSpan& prev, velRawOffsetSpan& cur,
                                     const velCornerGeometry& corner, double max, Spans& out,
                                     const Settings& settings) {
    const double k = corner.chamfer_extension(max);
    const giPoint3 C1 = prev.e + corner.T1 * k, C2 = cur.s - corner.T2 * k;
    prev.e = C1;
    add_line(C1, C2, cur, out, settings);
    cur.s = C2;
    return 1;
}

int velRawOffsetJoins::tangent_lines(velRawOffsetSpan& prev, velRawOffsetSpan& cur,
                                     const velCornerGeometry& corner, double max, bool chamfer, Spans& out,
                                     const Settings& settings) {
    const double k = chamfer ? corner.chamfer_extension(max) : corner.extension;
    const giPoint3 E = prev.e;
    const giPoint3 C1 = E + corner.T1 * k, C2 = cur.s - corner.T2 * k;
    const bool prev_arc = prev.arc;
    if (!prev_arc) prev.e = C1; // the last change of `prev`: appends follow
    if (prev_arc) add_line(E, C1, cur, out, settings);
    if (chamfer) add_line(C1, C2, cur, out, settings);
    add_line(C2, cur.s, cur, out, settings);
    return 1;
}

void velRawOffsetJoins::round(const velRawOffsetSpan& before_in, const velRawOffsetSpan& after_in,
                              const giVector3& T1, const giVector3& T2, bool before_collapsed,
                              bool after_collapsed, Spans& out, const Settings& settings) {
    // A span of no length has no tangent: no corner to round. (Lengths compared squared.)
    if (xy_length2(T1) == 0.0 || xy_length2(T2) == 0.0) return;
    const double d = settings.offset;
    const giPoint3 P = before_in.e;
    const giPoint3 A = P + velRawOffsetSpan::right_normal(T1) * d,
                   B = P + velRawOffsetSpan::right_normal(T2) * d;
    const giVector3 D = B - A;
    const double D2 = xy_length2(D), tol2 = settings.tol * settings.tol;
    if (D2 < velTol::span_fraction * velTol::span_fraction) return;
    const giVector3 S = T1 + T2, W = T1 - T2;
    const bool aligned = D.x() * S.x() + D.y() * S.y() > 0.0 ||
                         xy_length2(S) < velTol::corner_reversal * velTol::corner_reversal;
    // An overlap whose ends lie within the join tolerance: the gap closing joins them.
    if (!aligned && D2 <= tol2) return;
    // The far point of the circle of radius |offset| about P, in the direction of W.
    const auto far_point = [&] { return P + W * (std::fabs(d) / xy_length(W)); };
    velRawOffsetSpan corner;
    if (aligned) {
        if (D2 <= tol2 || xy_length2(W) <= velTol::span_fraction * velTol::span_fraction)
            corner = velRawOffsetSpan::line(A, B);
        else
            corner = velRawOffsetSpan::arc_through(A, far_point(), B);
    } else if (!before_in.arc && !after_in.arc) {
        corner = velRawOffsetSpan::temporary_line(A, B);
    } else if ((before_collapsed || after_collapsed) && !A.coincident(B, velTol::span_fraction)) {
        corner = velRawOffsetSpan::temporary_line(A, B);
    } else {
        const giPoint3 M = far_point();
        corner = velRawOffsetSpan::arc_through(A, M, B);
        if (std::fabs(corner.b) > 1.0) {
            // Longer than a half circle: two temporary arcs, split at the mid point pulled towards P.
            const giPoint3 M1 = M - W * (velTol::corner_split_pull * std::fabs(d) / xy_length(W));
            corner = velRawOffsetSpan::arc_through(A, M1, B);
            corner.temp_arc = true;
            velRawOffsetSpan first = corner;
            first.trim(0.0, 0.5);
            first.e = M1;
            dress(first, after_in, settings);
            add_span(first, out, settings);
            corner.trim(0.5, 1.0);
            corner.s = M1;
        }
    }
    dress(corner, after_in, settings);
    add_span(corner, out, settings);
}
