#include "arcline/intersect/velFastPolylineCircleIntersector.h"

#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// One span in bulge form in XY. A span whose ends coincide (in space within the iterator's zero chord
// tolerance, or in XY) is a point: nothing happens along it.
struct Span2 {
    double P0[2];
    double P1[2];
    double b = 0.0;
    bool point = false;
};

Span2 span_of(const velPolylineListIter& line, int k) {
    const giPoint3 a = line.get_pos(k), e = line.get_pos(k + 1);
    Span2 s{{a.x, a.y}, {e.x, e.y}, 0.0, false};
    s.point = a.distance(e) <= velTol::zero_chord || (a.x == e.x && a.y == e.y);
    if (!s.point && !line.span_linear(k)) {
        const giPoint3 m = line.get_mid_pos(k);
        const double M[2] = {m.x, m.y};
        velCirbul::cbmpbu(s.P0, s.P1, M, s.b);
    }
    return s;
}

double dist(const double a[2], const double b[2]) {
    return std::hypot(a[0] - b[0], a[1] - b[1]);
}

// Smallest distance from p to the span: the clamped foot on a segment, the arc distance routine on an arc.
double smallest_distance(const double P0[2], const double P1[2], double b, const double p[2]) {
    if (b == 0.0) {
        const double dx = P1[0] - P0[0], dy = P1[1] - P0[1];
        const double len2 = dx * dx + dy * dy;
        double u = len2 > 0.0 ? ((p[0] - P0[0]) * dx + (p[1] - P0[1]) * dy) / len2 : 0.0;
        u = std::clamp(u, 0.0, 1.0);
        const double foot[2] = {P0[0] + u * dx, P0[1] + u * dy};
        return dist(foot, p);
    }
    double d = 0.0, t = 0.0, nearest[2];
    velCirbul::cbdspt_g(P0, P1, b, 0.0, 1.0, p, velFastPolylineCircleIntersector::arc_distance_tol, d, t,
                        nearest);
    return d;
}

// Largest distance from c to the span: an end, or on an arc the point of its circle opposite c when the
// arc passes there.
double largest_distance(const Span2& s, const double c[2]) {
    const double ends = std::max(dist(s.P0, c), dist(s.P1, c));
    if (s.b == 0.0) return ends;
    double A[2], rho = 0.0;
    velCirbul::cbbucr(s.P0, s.P1, s.b, A, rho);
    rho = std::fabs(rho);
    const double ac = dist(A, c);
    // Centred on c: every point of the arc is at rho.
    if (ac == 0.0) return std::max(ends, rho);
    const double F[2] = {A[0] + rho * (A[0] - c[0]) / ac, A[1] + rho * (A[1] - c[1]) / ac};
    const double t = velCirbul::arc_evaluate_parameter(s.P0, s.P1, s.b, F);
    return t >= 0.0 && t <= 1.0 ? std::max(ends, ac + rho) : ends;
}

bool outside(const double p[2], const velCircle& circle) {
    const double c[2] = {circle.centre.x, circle.centre.y};
    return dist(p, c) > circle.radius + velFastPolylineCircleIntersector::on_circle_tol;
}

// The first fraction in [f0, f1] of span s (walking up from f0 when forward, else down from f1) at which it
// leaves the circle, or -1.
double span_exit(const Span2& s, double f0, double f1, const velCircle& circle, bool forward) {
    if (s.point || !(f1 > f0)) return -1.0;
    const double c[2] = {circle.centre.x, circle.centre.y};
    if (largest_distance(s, c) < circle.radius) return -1.0;
    // The circle as its upper and lower half, each an arc of bulge 1.
    const double R = circle.radius;
    const double east[2] = {c[0] + R, c[1]}, west[2] = {c[0] - R, c[1]};
    constexpr int most = 2 * velCirbul::max_intersections + 2;
    std::array<double, most> t{};
    int n = 0;
    t[n++] = f0;
    t[n++] = f1;
    for (int half = 0; half < 2; ++half) {
        const double* H0 = half == 0 ? east : west;
        const double* H1 = half == 0 ? west : east;
        int count = 0, coincident = 0;
        double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
        double pts[velCirbul::max_intersections][2];
        velCirbul::cbincb_g(s.P0, s.P1, s.b, f0, f1, H0, H1, 1.0, 0.0, 1.0,
                            velFastPolylineCircleIntersector::intersection_tol, count, ta, tb, pts,
                            coincident);
        for (int i = 0; i < count; ++i)
            t[static_cast<std::size_t>(n++)] = std::clamp(ta[i], f0, f1);
    }
    std::sort(t.begin(), t.begin() + n);
    // Between consecutive meeting points the span stays on one side; its middle tells which.
    auto leaves = [&](int i) {
        const double lo = t[static_cast<std::size_t>(i)], hi = t[static_cast<std::size_t>(i) + 1];
        if (!(hi > lo)) return false;
        double p[2];
        velCirbul::cbpapo(s.P0, s.P1, s.b, 0.5 * (lo + hi), p);
        return outside(p, circle);
    };
    if (forward) {
        for (int i = 0; i + 1 < n; ++i)
            if (leaves(i)) return t[static_cast<std::size_t>(i)];
    } else {
        for (int i = n - 2; i >= 0; --i)
            if (leaves(i)) return t[static_cast<std::size_t>(i) + 1];
    }
    return -1.0;
}

// The first parameter in [a, b] of the current polyline of `line` at which it leaves the circle, walking
// up from a when forward, else down from b; -1 when it does not.
double range_exit(const velPolylineListIter& line, double a, double b, const velCircle& circle,
                  bool forward) {
    const int n = line.num_pos();
    if (n < 2 || !(b > a)) return -1.0;
    const int first = std::clamp(static_cast<int>(std::floor(a)), 0, n - 2);
    const int last = std::clamp(static_cast<int>(std::ceil(b)) - 1, 0, n - 2);
    for (int i = 0; i <= last - first; ++i) {
        const int k = forward ? first + i : last - i;
        const double f0 = std::max(a - k, 0.0), f1 = std::min(b - k, 1.0);
        const double x = span_exit(span_of(line, k), f0, f1, circle, forward);
        if (x >= 0.0) return k + x;
    }
    return -1.0;
}

giPoint2 xy(const giPoint3& p) {
    return {p.x, p.y};
}

} // namespace

double velFastPolylineCircleIntersector::smallest_distance(const velAbsSpan& span,
                                                           const giPoint2& point) const {
    const giPoint3 a = span.start_point(), e = span.end_point();
    const double P0[2] = {a.x, a.y}, P1[2] = {e.x, e.y}, p[2] = {point.x, point.y};
    return ::smallest_distance(P0, P1, span.get_bulge(), p);
}

bool velFastPolylineCircleIntersector::span_is_outside_circle(const velAbsSpan& span,
                                                              const velCircle& circle) const {
    return smallest_distance(span, circle.centre) > circle.radius;
}

int velFastPolylineCircleIntersector::find_first_outside_circle_on_section(const velPolylineListIter& iter,
                                                                           const velPolylineSection& section,
                                                                           const velCircle& circle,
                                                                           int direction,
                                                                           velPolylinePosition& exit) const {
    const velPolylineSection on_iter(
        velPolylinePosition(&iter, section.polyline_index(), section.start().parameter()),
        velPolylinePosition(&iter, section.polyline_index(), section.end().parameter()));
    if (!on_iter.valid()) {
        exit.set_invalid();
        return 0;
    }
    const velPolylinePosition start = on_iter.start();
    const velPolylineListIter& line = start.my_polyline();
    const double P = line.num_pos() - 1.0, s = start.parameter(), e = on_iter.end().parameter();
    const bool forward = direction > 0;
    // The pieces of the section in walking order.
    std::array<std::array<double, 2>, 2> pieces{};
    int count = 1;
    if (!on_iter.wraps()) {
        pieces[0] = {s, e};
    } else {
        pieces[0] = forward ? std::array<double, 2>{s, P} : std::array<double, 2>{0.0, e};
        pieces[1] = forward ? std::array<double, 2>{0.0, e} : std::array<double, 2>{s, P};
        count = 2;
    }
    for (int i = 0; i < count; ++i) {
        const auto& piece = pieces[static_cast<std::size_t>(i)];
        const double x = range_exit(line, piece[0], piece[1], circle, forward);
        if (x >= 0.0) {
            exit = start.moved_to(x);
            return 1;
        }
    }
    exit = start.moved_to(forward ? e : s);
    return 0;
}

velPolylinePosition
velFastPolylineCircleIntersector::find_first_outside_circle(const velPolylineListIter& iter,
                                                            const velPolylinePosition& position,
                                                            const velCircle& circle, int direction) const {
    const velPolylinePosition here(&iter, position.polyline_index(), position.parameter());
    if (!here.valid() || !circle.inside(xy(here.point()))) return position;
    const velPolylineListIter& line = here.my_polyline();
    const double P = line.num_pos() - 1.0, t = here.parameter();
    const bool forward = direction > 0;
    double x = forward ? range_exit(line, t, P, circle, true) : range_exit(line, 0.0, t, circle, false);
    if (x >= 0.0) return here.moved_to(x);
    if (!velPolylineUtils::closed(line, 0.0)) return here.moved_to(forward ? P : 0.0);
    // On round the closure point, back to where the walk began.
    x = forward ? range_exit(line, 0.0, t, circle, true) : range_exit(line, t, P, circle, false);
    return here.moved_to(x >= 0.0 ? x : t);
}

velPolylineSection velFastPolylineCircleIntersector::expand_section_to_circle(
    const velPolylineListIter& iter, const velCircle& circle, const velPolylineSection& section) const {
    const int index = section.polyline_index();
    const velPolylinePosition start(&iter, index, section.start().parameter());
    const velPolylinePosition end(&iter, index, section.end().parameter());
    const velPolylineSection here(start, end);
    if (!here.valid()) return section;
    const bool start_in = circle.inside(xy(start.point())), end_in = circle.inside(xy(end.point()));
    if (!start_in && !end_in) return section;
    const velPolylineListIter& line = start.my_polyline();
    const double P = line.num_pos() - 1.0, s = start.parameter(), e = end.parameter();
    const bool closed = velPolylineUtils::closed(line, 0.0) != 0;
    if (closed && here.is_whole_polyline()) return here;
    // The gap from the end forward to the start, in parameters; the ends meet when a walk crosses it.
    const double gap = s > e ? s - e : s - e + P;
    double s2 = s, e2 = e;
    bool meet = false;
    if (end_in) {
        e2 = find_first_outside_circle(iter, end, circle, 1).parameter();
        const double walked = (e2 > e || !closed) ? e2 - e : e2 - e + P;
        meet = meet || walked >= gap;
    }
    if (start_in) {
        s2 = find_first_outside_circle(iter, start, circle, 0).parameter();
        const double walked = (s2 < s || !closed) ? s - s2 : s - s2 + P;
        meet = meet || walked >= gap;
    }
    if (meet) return {start.moved_to(0.0), start.moved_to(P)};
    // The closure point as the section writes it: 0 where it starts, P where it ends.
    if (closed && s2 == P && e2 != P) s2 = 0.0;
    if (closed && e2 == 0.0 && s2 != 0.0) e2 = P;
    return {start.moved_to(s2), start.moved_to(e2)};
}
