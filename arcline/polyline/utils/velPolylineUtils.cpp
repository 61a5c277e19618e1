#include "arcline/polyline/utils/velPolylineUtils.h"

#include "arcline/intersect/velPolyarcline3dBoxCache.h"

#include "arcline/platform/giAngle.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/spans/velLinexLine.h"
#include "arcline/polyline/spans/velSpanSolver.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// span_length measures an arc of bulge at most this by its chord.
constexpr double flat_bulge = velTol::flat_bulge;
// Consecutive points nearer than this make no corner in the turning sum.
constexpr double same_point_tol = velTol::coincident;
// Largest sweep of one piece of an arc in the turning sum. Any piece under half a turn keeps each step
// between consecutive tangents below 180 degrees, in a flattened view too; a quarter of that keeps the
// steps well away from it.
constexpr double max_turn_piece = utMath::pi / 4.0;
// Points whose cross product is at most this fraction of the squared spread lie on one line (planar()).
constexpr double collinear_ratio = velTol::collinear;
// farthest_partition: bisection levels of the samples of one piece (1 + 2 + 4 + 8 samples).
constexpr int partition_levels = 4;
constexpr double infinity = std::numeric_limits<double>::infinity();

// An undefined iterator reads as a polyline without positions.
int positions(const velPolylineListIter& iter) {
    return iter.index() < 0 ? 0 : iter.num_pos();
}

// The span k of the polyline as a curve of the span solver.
velSpanSolver::Curve span_curve(const velPolylineListIter& iter, int k) {
    const giPoint3 S = iter.get_pos(k), E = iter.get_pos(k + 1);
    if (iter.span_linear(k)) return velSpanSolver::curve(S, E, nullptr, velTol::zero_chord);
    const giPoint3 M = iter.get_mid_pos(k);
    return velSpanSolver::curve(S, E, &M, velTol::zero_chord);
}

// The nearest point to the feature among the points of the polyline inside the box; -1.0 when none.
// With a box cache of the list, spans whose cached box does not cross the box are passed over unsolved.
double nearest_within_box(const velSpanSolver::Feature& f, const giBox3& box, const velPolylineListIter& iter,
                          const velPolyarcline3dBoxCache* cache = nullptr) {
    const int n = positions(iter);
    if (n == 1) return box.contains(iter.get_pos(0)) ? 0.0 : -1.0;
    double best = DBL_MAX, t = -1.0;
    const int seg = iter.index();
    if (cache && !cache->get_seg_box(seg).crosses(box)) return -1.0;
    for (int k = 0; k + 1 < n; ++k) {
        if (cache && !cache->get_span_box(seg, k).crosses(box)) continue;
        const velSpanSolver::Curve c = span_curve(iter, k);
        for (const auto& [u0, u1] : velSpanSolver::ranges_in_box(c, box)) {
            double u;
            const double d2 = velSpanSolver::nearest(c, u0, u1, f, u);
            if (d2 < best) {
                best = d2;
                t = k + velSpanSolver::fraction(u);
            }
        }
    }
    return t;
}

// The nearest point of the whole polyline to the feature: its parameter and squared distance.
double nearest_to_feature(const velSpanSolver::Feature& f, const velPolylineListIter& iter, double& best) {
    const int n = positions(iter);
    best = DBL_MAX;
    if (n == 0) return -1.0;
    if (n == 1) {
        best = f.distance_squared(iter.get_pos(0));
        return 0.0;
    }
    double t = -1.0;
    for (int k = 0; k + 1 < n; ++k) {
        double u;
        const double d2 = velSpanSolver::nearest(span_curve(iter, k), -1.0, 1.0, f, u);
        if (d2 < best) {
            best = d2;
            t = k + velSpanSolver::fraction(u);
        }
    }
    return t;
}

// Signed angle from u to v in XY, in degrees within (-180, 180].
double signed_degrees(const giVector3& u, const giVector3& v) {
    double a = utMath::degrees(std::atan2(u.x() * v.y() - u.y() * v.x(), u.x() * v.x() + u.y() * v.y()));
    if (a > 180.0) a -= 360.0;
    return a;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Closure, counts, shape

int velPolylineUtils::closed(const velPolylineListIter& iter, double tol) {
    const int n = positions(iter);
    if (n == 0) return 0;
    return iter.get_pos(0).coincident(iter.get_pos(n - 1), tol) ? 1 : 0;
}

int velPolylineUtils::num_arc_spans(const velPolylineListIter& iter) {
    if (iter.all_spans_linear()) return 0;
    int count = 0;
    for (int k = 0, n = positions(iter); k + 1 < n; ++k)
        count += iter.span_linear(k) ? 0 : 1;
    return count;
}

double velPolylineUtils::distance_between_closest_adjacent_points(const velPolylineListIter& iter) {
    double best = DBL_MAX;
    const int n = positions(iter);
    for (int k = 0; k + 1 < n; ++k)
        best = std::min(best, iter.get_pos(k).distance(iter.get_pos(k + 1)));
    return best;
}

int velPolylineUtils::planar(const velPolylineListIter& iter, double tol, giPlane& plane) {
    const int n = positions(iter);
    if (n == 0) return 0;
    std::vector<giPoint3> pts;
    for (int k = 0; k < n; ++k) {
        if (k > 0 && !iter.span_linear(k - 1)) pts.push_back(iter.get_mid_pos(k - 1));
        pts.push_back(iter.get_pos(k));
    }
    const giPoint3 o = pts.front();
    const giPoint3* far = &o;
    for (const giPoint3& p : pts)
        if (p.distance_squared(o) > far->distance_squared(o)) far = &p;
    const giVector3 d = *far - o;
    giVector3 best_cross;
    for (const giPoint3& p : pts) {
        const giVector3 x = d.cross(p - o);
        if (x.length_squared() > best_cross.length_squared()) best_cross = x;
    }
    giVector3 normal;
    if (best_cross.length() > collinear_ratio * d.length_squared()) {
        normal = best_cross;
    } else if (d.length_squared() > 0.0) {
        // On one line: of the planes through it, the one nearest to horizontal.
        normal = d.cross(giVector3(0.0, 0.0, 1.0).cross(d));
        if (normal.length_squared() == 0.0) normal = giVector3(1.0, 0.0, 0.0);
    } else {
        normal = giVector3(0.0, 0.0, 1.0);
    }
    normal.unitize();
    const bool flip =
        normal.z() != 0.0 ? normal.z() < 0.0 : (normal.x() != 0.0 ? normal.x() < 0.0 : normal.y() < 0.0);
    const giUnitVec3 un(flip ? -normal : normal);
    plane = giPlane(o, un);

    for (const giPoint3& p : pts)
        if (std::fabs(plane.signed_distance(p)) > tol) return 0;
    // An arc swings farthest from the plane where its height over it, W.n / D, has an extreme.
    for (int k = 0; k + 1 < n; ++k) {
        const velSpanSolver::Curve c = span_curve(iter, k);
        if (c.b == 0.0) continue;
        giVector3 A[3];
        c.numerator(o, A);
        const giVector3 nv = un.vector();
        const velSpanSolver::Poly N{A[0].dot(nv), A[1].dot(nv), A[2].dot(nv), 0, 0, 0};
        velSpanSolver::Roots r{};
        for (int i = 0, m = velSpanSolver::rational_extremes(N, 2, c.b, 1, -1.0, 1.0, r); i < m; ++i)
            if (std::fabs(plane.signed_distance(c.at(r[static_cast<std::size_t>(i)]))) > tol) return 0;
    }
    return 1;
}

void velPolylineUtils::span_param(const velPolylineListIter& iter, double t, int& k, double& f) {
    const int n = positions(iter);
    if (n < 2) {
        k = -1;
        f = 0.0;
        return;
    }
    k = std::clamp(static_cast<int>(std::floor(t)), 0, n - 2);
    f = t - k;
}

// ---------------------------------------------------------------------------------------------------------
// Lengths

double velPolylineUtils::span_length(int k, const velPolylineListIter& iter) {
    const double L = iter.get_pos(k).distance(iter.get_pos(k + 1));
    if (iter.span_linear(k)) return L;
    const double b = std::fabs(iter.get_bulge(k));
    if (b <= flat_bulge) return L;
    return std::atan(b) * L * (b * b + 1.0) / b;
}

double velPolylineUtils::span_length_at_par(const velPolylineListIter& iter, int k, double f) {
    const double chord = iter.get_pos(k).distance(iter.get_interpolated_pos(k + f));
    if (iter.span_linear(k)) return chord;
    return velArc2Utils::arc_length(chord, std::fabs(velArc2Utils::trimmed_bulge(0.0, f, iter.get_bulge(k))));
}

double velPolylineUtils::span_par_at_length(const velPolylineListIter& iter, int k, double s) {
    const double L = iter.get_pos(k).distance(iter.get_pos(k + 1));
    const double b = iter.span_linear(k) ? 0.0 : iter.get_bulge(k);
    return std::clamp(velArc2Utils::parameter_at_distance(giPoint2(0.0, 0.0), giPoint2(L, 0.0), b, s), 0.0,
                      1.0);
}

double velPolylineUtils::length(const velPolylineListIter& iter) {
    const int n = positions(iter);
    if (n < 2) return 0.0;
    return length(iter, 0.0, n - 1.0);
}

double velPolylineUtils::length(const velPolylineListIter& iter, double t1, double t2) {
    const int n = positions(iter);
    if (n < 2 || !(t1 <= t2)) return 0.0;
    t1 = std::clamp(t1, 0.0, n - 1.0);
    t2 = std::clamp(t2, 0.0, n - 1.0);
    const double c = std::ceil(t1), f = std::floor(t2);
    if (f < c) {
        // Both ends within one span.
        const int k = static_cast<int>(f);
        return span_length_at_par(iter, k, t2 - k) - span_length_at_par(iter, k, t1 - k);
    }
    const int ci = static_cast<int>(c), fi = static_cast<int>(f);
    double sum = 0.0;
    // The piece of span c - 1 beyond t1 measures as its mirror from the span's start.
    if (t1 != c) sum += span_length_at_par(iter, ci - 1, c - t1);
    for (int k = ci; k < fi; ++k)
        sum += span_length(k, iter);
    if (t2 != f) sum += span_length_at_par(iter, fi, t2 - f);
    return sum;
}

double velPolylineUtils::length_closed(const velPolylineListIter& iter, double t1, double t2) {
    if (t1 <= t2) return length(iter, t1, t2);
    return length(iter, t1, positions(iter) - 1.0) + length(iter, 0.0, t2);
}

int velPolylineUtils::longer_than(const velPolylineListIter& iter, double d) {
    double sum = 0.0;
    for (int k = 0, n = positions(iter); k + 1 < n; ++k) {
        sum += span_length(k, iter);
        if (sum >= d) return 1;
    }
    return 0;
}

double velPolylineUtils::get_par_at_length(const velPolylineListIter& iter, double t, double s, int forward,
                                           int wrap) {
    const int n = positions(iter);
    if (n < 2 || !(s >= 0.0)) return -1.0;
    const bool round = wrap && closed(iter, 0.0);
    const int k0 = std::clamp(static_cast<int>(std::floor(t)), 0, n - 2);
    const double f = t - k0;
    // Measure from the start of span k0 (forwards) or from its end (backwards).
    s += forward ? span_length_at_par(iter, k0, f) : span_length_at_par(iter, k0, 1.0 - f);
    if (round) {
        const double whole = length(iter);
        if (whole == 0.0) return s == 0.0 ? t : -1.0;
        // Whole laps bring the walk back to where it started.
        if (s > whole) s = std::fmod(s, whole);
    }
    int k = k0;
    for (int steps = 0; steps <= 2 * n; ++steps) {
        if (std::isnan(s)) return -1.0;
        const double len = span_length(k, iter);
        if (len >= s)
            return forward ? k + span_par_at_length(iter, k, s) : k + 1.0 - span_par_at_length(iter, k, s);
        s -= len;
        k += forward ? 1 : -1;
        if (k > n - 2 || k < 0) {
            if (!round) return -1.0;
            k = forward ? 0 : n - 2;
        }
    }
    // Rounding left a sliver beyond a whole lap: the walk ends where it started.
    return t;
}

giPoint3 velPolylineUtils::point_at_length(const velPolylineListIter& iter, double s) {
    const int n = positions(iter);
    if (n == 0) return {};
    if (n == 1 || s <= 0.0) return iter.get_pos(0);
    const double t = get_par_at_length(iter, 0.0, s, 1, 0);
    return iter.get_interpolated_pos(t < 0.0 ? n - 1.0 : t);
}

double velPolylineUtils::point_at_z_offset(const velPolylineListIter& iter, double t, double dz, int forward,
                                           giPoint3& p) {
    p = giPoint3();
    const int n = positions(iter);
    if (n == 0 || !(t >= 0.0 && t <= n - 1.0)) return -1.0;
    if (dz == 0.0) {
        p = iter.get_interpolated_pos(t);
        return t;
    }
    if (n < 2) return -1.0;
    const double target = iter.get_interpolated_pos(t).z + dz;
    int k0;
    double f;
    span_param(iter, t, k0, f);
    const double u_start = 2.0 * f - 1.0;
    const giPoint3 level(0.0, 0.0, target);
    for (int k = k0; k >= 0 && k <= n - 2; k += forward ? 1 : -1) {
        const velSpanSolver::Curve c = span_curve(iter, k);
        giVector3 A[3];
        c.numerator(level, A);
        // Height over the target times D(u): a quadratic in u.
        const velSpanSolver::Poly q{A[0].z(), A[1].z(), A[2].z(), 0, 0, 0};
        const bool first = k == k0;
        const double lo = forward && first ? u_start : -1.0;
        const double hi = !forward && first ? u_start : 1.0;
        velSpanSolver::Roots r{};
        const int m = velSpanSolver::roots(q, 2, lo, hi, r);
        if (m > 0) {
            const double u = forward ? r[0] : r[static_cast<std::size_t>(m - 1)];
            const double found = k + velSpanSolver::fraction(u);
            p = iter.get_interpolated_pos(found);
            return found;
        }
    }
    return -1.0;
}

// ---------------------------------------------------------------------------------------------------------
// Area

double velPolylineUtils::area(const velPolylineListIter& iter) {
    const int n = positions(iter);
    if (n < 2) return 0.0;
    const bool straight = num_arc_spans(iter) == 0;
    if (n < 4 && straight) return 0.0;
    const giPoint3 P0 = iter.get_pos(0);
    double sum = 0.0;
    giPoint3 a = P0;
    for (int k = 0; k + 1 < n; ++k) {
        const giPoint3 e = iter.get_pos(k + 1);
        sum += 0.5 * ((a.x - P0.x) * (e.y - P0.y) - (a.y - P0.y) * (e.x - P0.x));
        if (!straight && !iter.span_linear(k)) {
            const double p0[2] = {a.x, a.y}, p1[2] = {e.x, e.y};
            double segment;
            velCirbul::cbbuar(p0, p1, iter.get_bulge(k), segment);
            sum += segment;
        }
        a = e;
    }
    return sum;
}

// ---------------------------------------------------------------------------------------------------------
// Tangents

giUnitVec3 velPolylineUtils::span_tangent(const velPolylineListIter& iter, int k, double f) {
    if (span_length(k, iter) == 0.0) return {};
    const giPoint3 S = iter.get_pos(k), E = iter.get_pos(k + 1);
    if (iter.span_linear(k)) return giUnitVec3(E - S);
    return giUnitVec3(torArc3Utils::derivative(S, iter.get_mid_pos(k), E, 1, f));
}

giUnitVec3 velPolylineUtils::tangent_after(const velPolylineListIter& iter, double t) {
    const int n = positions(iter);
    if (n < 2) return {};
    int k = static_cast<int>(std::floor(t));
    double f = t - k;
    if (k >= n - 1) {
        if (closed(iter, 0.0)) {
            k = 0;
            f = 0.0;
        } else {
            k = n - 2;
            f = 1.0;
        }
    }
    giUnitVec3 tan = span_tangent(iter, k, f);
    for (int j = k + 1; tan.invalid() && j < n - 1; ++j)
        tan = span_tangent(iter, j, 0.0);
    for (int j = k - 1; tan.invalid() && j >= 0; --j)
        tan = span_tangent(iter, j, 1.0);
    return tan;
}

giUnitVec3 velPolylineUtils::tangent_before(const velPolylineListIter& iter, double t) {
    const int n = positions(iter);
    if (n < 2) return {};
    int k = std::min(static_cast<int>(std::floor(t)), n - 1);
    double f = t - k;
    if (f == 0.0) {
        if (k >= 1) {
            k -= 1;
            f = 1.0;
        } else if (closed(iter, 0.0)) {
            k = n - 2;
            f = 1.0;
        }
    }
    giUnitVec3 tan = span_tangent(iter, k, f);
    for (int j = k - 1; tan.invalid() && j >= 0; --j)
        tan = span_tangent(iter, j, 1.0);
    for (int j = k + 1; tan.invalid() && j < n - 1; ++j)
        tan = span_tangent(iter, j, 0.0);
    return tan;
}

double velPolylineUtils::signed_turn_angle(const velPolylineListIter& iter) {
    return turn_angle(iter, 1, 1);
}

double velPolylineUtils::unsigned_turn_angle(const velPolylineListIter& iter, int xy) {
    return turn_angle(iter, xy, 0);
}

double velPolylineUtils::turn_angle(const velPolylineListIter& iter, int xy, int is_signed) {
    const int n = positions(iter);
    if (n < 2) return 0.0;
    double sum = 0.0;
    giPoint3 before, last, second;
    int fed = 0;
    // One accumulation step: the corner at `last` between the directions from `before` and to p.
    auto step = [&](giPoint3 p) {
        if (xy) p.z = 0.0;
        if (!last.is_unset() && p.coincident(last, same_point_tol)) return;
        if (!before.is_unset() && !last.is_unset()) {
            const giVector3 in = last - before, out = p - last;
            sum += is_signed ? signed_degrees(in, out) : giAngle::unsigned_angle(in, out).degrees();
        }
        if (++fed == 2) second = p;
        before = last;
        last = p;
    };
    step(iter.get_pos(0));
    for (int k = 0; k + 1 < n; ++k) {
        const velSpanSolver::Curve c = span_curve(iter, k);
        if (c.b > 0.0) {
            // The arc as its tangent polygon: pieces of equal sweep, each replaced by the two tangents at its
            // ends, which meet at the apex over the piece's mid point. The polygon's sides run exactly along
            // the arc's tangents, so its corners add up to the arc's sweep and the corners at its ends are
            // those of the arc's end tangents.
            const double half = 2.0 * std::atan(c.b);
            const int pieces = std::max(1, static_cast<int>(std::ceil(2.0 * half / max_turn_piece)));
            const double step_angle = 2.0 * half / pieces;
            auto u_at = [&](double psi) { return std::tan(0.5 * psi) / c.b; };
            for (int j = 0; j < pieces; ++j) {
                const double psi0 = -half + j * step_angle, psi1 = psi0 + step_angle;
                const giPoint3 A = c.at(u_at(psi0)), B = c.at(u_at(psi1)),
                               M = c.at(u_at(0.5 * (psi0 + psi1)));
                const giPoint3 chord_mid = A.interpolate(B, 0.5);
                const double bp = std::tan(0.25 * step_angle);
                step(chord_mid + (M - chord_mid) * (2.0 / (1.0 - bp * bp)));
            }
        }
        step(iter.get_pos(k + 1));
    }
    // The corner at the closing point.
    if (closed(iter, 0.0) && fed > 2) step(second);
    return sum;
}

// ---------------------------------------------------------------------------------------------------------
// Closest points and distances

giLength velPolylineUtils::get_min_distance(const giPoint3& P, const giPoint3& A, const giPoint3& B) {
    double t;
    return get_min_distance(P, A, B, t);
}

giLength velPolylineUtils::get_min_distance(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                            double& t) {
    velLinexLine::closest_point(P, A, B, t);
    return giLength::from_squared(P.distance_squared(A.interpolate(B, t)));
}

giLength velPolylineUtils::get_min_distance(const giPoint3& A, const giPoint3& B, const giPoint3& C,
                                            const giPoint3& D) {
    double s, t;
    return get_min_distance(A, B, C, D, s, t);
}

giLength velPolylineUtils::get_min_distance(const giPoint3& A, const giPoint3& B, const giPoint3& C,
                                            const giPoint3& D, double& s, double& t) {
    velLinexLine::closest_point(A, B, C, D, s, t);
    return giLength::from_squared(A.interpolate(B, s).distance_squared(C.interpolate(D, t)));
}

double velPolylineUtils::closest_point(const giPoint3& P, const velPolylineListIter& iter) {
    double t, d;
    get_closest_point(P, iter, 0.0, positions(iter) - 1.0, t, d);
    return t;
}

double velPolylineUtils::closest_point(const giPoint3& P, const velPolylineListIter& iter, double t1,
                                       double t2) {
    double t, d;
    get_closest_point(P, iter, t1, t2, t, d);
    return t;
}

void velPolylineUtils::get_closest_point(const giPoint3& P, const velPolylineListIter& iter, double t1,
                                         double t2, double& t, double& d) {
    t = -1.0;
    d = DBL_MAX;
    const int n = positions(iter);
    const double end = n - 1.0;
    if (!(t1 >= 0.0 && t1 <= end && t2 >= 0.0 && t2 <= end)) return;
    // The nearest point within [a, z], a <= z: the range ends, then every span the range covers.
    auto search = [&](double a, double z, double& tt, double& dd) {
        double best2 = P.distance_squared(iter.get_interpolated_pos(a));
        tt = a;
        const double d2 = P.distance_squared(iter.get_interpolated_pos(z));
        if (d2 < best2) {
            best2 = d2;
            tt = z;
        }
        dd = std::sqrt(best2);
        for (int k = static_cast<int>(std::floor(a)); k < z && k <= n - 2; ++k) {
            const double s0 = std::max(a, static_cast<double>(k)) - k, s1 = std::min(z, k + 1.0) - k;
            // Straight spans, and arcs whose mid point lies on the chord, through the segment update.
            const bool straight = iter.span_linear(k) != 0;
            const velSpanSolver::Curve c = straight ? velSpanSolver::Curve() : span_curve(iter, k);
            if (c.b == 0.0) {
                update_close_point_on_linespan(P, iter.get_interpolated_pos(k + s0),
                                               iter.get_interpolated_pos(k + s1), k + s0, k + s1, best2, dd,
                                               tt);
                continue;
            }
            double f;
            const double e2 = velSpanSolver::nearest_on_arc(c, s0, s1, P, f);
            if (e2 < best2) {
                best2 = e2;
                dd = std::sqrt(e2);
                tt = k + f;
            }
        }
        return best2;
    };
    if (t1 <= t2) {
        search(t1, t2, t, d);
        return;
    }
    // Through the closing point: the two ranges either side of it.
    const double best2 = search(t1, end, t, d);
    double t_other, d_other;
    if (search(0.0, t2, t_other, d_other) < best2) {
        t = t_other;
        d = d_other;
    }
}

void velPolylineUtils::update_close_point_on_linespan(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                                      double tA, double tB, double& best2, double& best,
                                                      double& t) {
    if (A.coincident(B, 0.0)) return;
    giBox3 reach(A, B);
    reach.offset(best);
    if (!reach.contains(P)) return;
    double u;
    velLinexLine::closest_point(P, A, B, u);
    const double d2 = P.distance_squared(A.interpolate(B, u));
    if (d2 < best2) {
        best2 = d2;
        best = std::sqrt(d2);
        t = tA + u * (tB - tA);
    }
}

double velPolylineUtils::closest_point(const giPoint3& P, const giPoint3& Q,
                                       const velPolylineListIter& iter) {
    const int n = positions(iter);
    double t = -1.0;
    giLength best = giLength::from_squared(DBL_MAX);
    for (int k = 0; k + 1 < n; ++k) {
        double s, u;
        const giLength d = get_min_distance(P, Q, iter.get_pos(k), iter.get_pos(k + 1), s, u);
        if (d < best) {
            best = d;
            t = k + u;
        }
    }
    return t;
}

double velPolylineUtils::closest_point_to_segment(const giPoint3& P, const giPoint3& Q,
                                                  const velPolylineListIter& iter, double& d) {
    giVector3 dir = Q - P;
    const double L = dir.unitize();
    double best2;
    const double t = nearest_to_feature(
        L > 0.0 ? velSpanSolver::Feature{P, dir, 0.0, L} : velSpanSolver::Feature::point(P), iter, best2);
    d = t < 0.0 ? DBL_MAX : std::sqrt(best2);
    return t;
}

double velPolylineUtils::closest_point(const giPoint3& P, const giVector3& direction,
                                       const velPolylineListIter& iter, int half_line) {
    giVector3 d = direction;
    velSpanSolver::Feature f = velSpanSolver::Feature::point(P);
    if (d.unitize() > 0.0) f = {P, d, half_line ? 0.0 : -infinity, infinity};
    double best2;
    return nearest_to_feature(f, iter, best2);
}

double velPolylineUtils::closest_point_in_plane(const giPoint3& P, const giPlane& plane,
                                                const velPolylineListIter& iter, giLength& d) {
    // Distances within the plane are distances to the line through P along its normal.
    double best2;
    const double t = nearest_to_feature({P, plane.normal().vector(), -infinity, infinity}, iter, best2);
    d = t < 0.0 ? giLength(DBL_MAX) : giLength::from_squared(best2);
    return t;
}

double velPolylineUtils::closest_point_within_box(const giPoint3& P, const giBox3& box,
                                                  const velPolylineListIter& iter) {
    return nearest_within_box(velSpanSolver::Feature::point(P), box, iter);
}

double velPolylineUtils::closest_point_within_box(const giPoint3& P, const giPoint3& Q, const giBox3& box,
                                                  const velPolylineListIter& iter) {
    giVector3 d = Q - P;
    const double L = d.unitize();
    return nearest_within_box(
        L > 0.0 ? velSpanSolver::Feature{P, d, 0.0, L} : velSpanSolver::Feature::point(P), box, iter);
}

double velPolylineUtils::closest_point_within_box(const giPoint3& P, const giBox3& box,
                                                  const velPolylineListIter& iter,
                                                  const velPolyarcline3dBoxCache& cache) {
    return nearest_within_box(velSpanSolver::Feature::point(P), box, iter, &cache);
}

double velPolylineUtils::closest_point_within_box(const giPoint3& P, const giPoint3& Q, const giBox3& box,
                                                  const velPolylineListIter& iter,
                                                  const velPolyarcline3dBoxCache& cache) {
    giVector3 d = Q - P;
    const double L = d.unitize();
    return nearest_within_box(
        L > 0.0 ? velSpanSolver::Feature{P, d, 0.0, L} : velSpanSolver::Feature::point(P), box, iter, &cache);
}

double velPolylineUtils::min_distance(const velPolylineListIter& a, const velPolylineListIter& b, double& tA,
                                      double& tB) {
    tA = tB = -1.0;
    const int na = positions(a), nb = positions(b);
    double best2 = DBL_MAX;
    if (na == 0 || nb == 0) return std::sqrt(best2);
    // One position is one span of no length.
    const int spans_a = std::max(1, na - 1), spans_b = std::max(1, nb - 1);
    for (int i = 0; i < spans_a; ++i) {
        const giPoint3 A = a.get_pos(i), B = a.get_pos(std::min(i + 1, na - 1));
        for (int j = 0; j < spans_b; ++j) {
            double s, u;
            const giLength d = get_min_distance(A, B, b.get_pos(j), b.get_pos(std::min(j + 1, nb - 1)), s, u);
            if (d.squared() < best2) {
                best2 = d.squared();
                tA = na > 1 ? i + s : 0.0;
                tB = nb > 1 ? j + u : 0.0;
                if (best2 == 0.0) return 0.0;
            }
        }
    }
    return std::sqrt(best2);
}

int velPolylineUtils::min_distance_smaller_than(const velPolylineListIter& iter, const giPoint3& P,
                                                double d) {
    for (int k = 0, n = positions(iter); k + 1 < n; ++k) {
        double t, dist;
        get_closest_point(P, iter, k, k + 1.0, t, dist);
        if (dist < d) return 1;
    }
    return 0;
}

double velPolylineUtils::farthest_partition(const velPolylineListIter& iter, const std::vector<double>& cuts,
                                            const velPolylineListIter& others, double tol, double& t,
                                            int& piece) {
    t = -1.0;
    piece = -1;
    const int n = positions(iter);
    if (n < 2) return 0.0;
    const std::unique_ptr<velPolylineListIter> walker(others.create_new());
    auto distance = [&](const giPoint3& X) {
        double best = DBL_MAX;
        walker->reset();
        while (++*walker) {
            double tt, d;
            get_closest_point(X, *walker, 0.0, walker->num_pos() - 1.0, tt, d);
            best = std::min(best, d);
        }
        return best;
    };
    std::vector<double> bounds{0.0};
    for (double c : cuts)
        bounds.push_back(std::clamp(c, bounds.back(), n - 1.0));
    bounds.push_back(n - 1.0);
    double best = -1.0;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
        const double a = bounds[i], z = bounds[i + 1];
        const double L = length(iter, a, z);
        double piece_best = -1.0, piece_t = a;
        for (int level = 1; level <= partition_levels && !(piece_best > tol); ++level) {
            const int parts = 1 << level;
            for (int j = 1; j < parts; j += 2) {
                double tp = get_par_at_length(iter, a, L * j / parts, 1, 0);
                tp = tp < 0.0 ? z : std::clamp(tp, a, z);
                const double d = distance(iter.get_interpolated_pos(tp));
                if (d > piece_best) {
                    piece_best = d;
                    piece_t = tp;
                }
            }
        }
        if (piece_best > best) {
            best = piece_best;
            t = piece_t;
            piece = static_cast<int>(i);
        }
    }
    return best < tol ? 0.0 : best;
}

int velPolylineUtils::number_of_regions_closer_than(const velPolylineListIter& iter, const giPoint3& P,
                                                    double d) {
    const int n = positions(iter);
    if (n == 0) return 0;
    if (n == 1) return iter.get_pos(0).distance_squared(P) < d * d ? 1 : 0;
    int count = 0;
    bool open = false; // the last stretch found reaches the end of the span before
    bool starts_at_start = false, ends_at_end = false;
    for (int k = 0; k + 1 < n; ++k) {
        const velSpanSolver::Curve c = span_curve(iter, k);
        giVector3 A[3];
        c.numerator(P, A);
        // |X - P|^2 < d^2  <=>  |W|^2 - d^2 D^2 < 0, a quartic in u.
        velSpanSolver::Poly q = velSpanSolver::squared_norm(A);
        const double b2 = c.b * c.b, d2 = d * d;
        q[0] -= d2;
        q[2] -= 2.0 * d2 * b2;
        q[4] -= d2 * b2 * b2;
        velSpanSolver::Roots r{};
        const int m = velSpanSolver::roots(q, 4, -1.0, 1.0, r);
        std::array<double, velSpanSolver::max_degree + 3> cuts{};
        std::size_t nc = 0;
        cuts[nc++] = -1.0;
        for (int i = 0; i < m; ++i)
            if (r[static_cast<std::size_t>(i)] > cuts[nc - 1] && r[static_cast<std::size_t>(i)] < 1.0)
                cuts[nc++] = r[static_cast<std::size_t>(i)];
        cuts[nc++] = 1.0;
        for (std::size_t i = 0; i + 1 < nc; ++i) {
            const double mid = 0.5 * (cuts[i] + cuts[i + 1]);
            const bool inside = P.distance_squared(c.at(mid)) < d2;
            if (inside) {
                // A stretch that goes on from the span before (through its end) is the same stretch.
                if (!(open && i == 0)) ++count;
                if (k == 0 && i == 0) starts_at_start = true;
            }
            open = inside;
        }
        ends_at_end = open;
    }
    // A stretch through the closing point was counted at both ends.
    if (count > 1 && starts_at_start && ends_at_end && closed(iter, 0.0)) --count;
    return count;
}
