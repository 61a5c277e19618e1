// Distances of velPolylineListUtils: closest points of a list to a point, a segment, a line or within a box;
// the smallest distance between two lists; and the Hausdorff distances between them.
//
// The one-way Hausdorff distance max over X in a of dist(X, b) is found by best-first bisection of a's spans.
// Each piece [f0, f1] of a span carries the distances d0, d1 of its ends to b (exact, through b's zones) and
// the feet q0, q1 of those distances on b, and an upper bound on the distance of any of its points:
// - the distance changes no faster than the length along the piece: (d0 + d1 + L) / 2;
// - the piece lies within its sagitta h of its chord (a piece of at most half a turn), and along a chord the
//   distance to one point is convex: max(d0, |X1 - q0|) and max(|X0 - q1|, d1), plus h;
// - when q0 and q1 lie on one span of b, so does the part of it between them, which lies within its own
//   sagitta of the chord q0 q1, and the distance from a chord to a chord is convex again:
//   max(d0, d1) + h + h_b. This settles parallel lines at once, where the first bound alone would bisect
//   down to the accuracy;
// - with both feet on one span, point by point in the arcs' own parameters u in [-1, 1]: an arc of half
//   chord h, bulge b and chord midpoint O is X(u) = O + h [b (1 - u^2) m + (1 + b^2) u e] / (1 + b^2 u^2)
//   (m towards its mid point, e along the chord). Against the arc of the piece's bulge on b's chord the
//   difference is the chord ends' differences, mixed with weights of sum at most 1 (at most max(d0, d1)),
//   plus b (1 - u^2) / (1 + b^2 u^2) <= b times the difference of the h m; that arc lies within
//   bulge_slope h_b |b - b_b| of b's own. So an arc piece following an arc of b with the same sweep (the
//   same arc, or an offset of it) is bounded by max(d0, d1) plus a term that vanishes for the same arc
//   and shrinks with the offset distance for an offset.
// The largest distance found at the ends of pieces is a true distance (a lower bound); pieces are split
// until no bound lies more than the accuracy above it.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZoneNearestSearch.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <queue>
#include <vector>

namespace {

using U = velPolylineUtils;

// The zones of a list are made about this many to a side of its box, or finer for lists of many spans.
constexpr double zones_per_side = 64.0;
// A piece of a span narrower than this fraction is not split further.
constexpr double min_piece_fraction = 1.0 / (1 << 30);
// Bulge of a piece of half a turn: pieces up to it lie within their sagitta of their chord.
constexpr double half_turn_bulge = 1.0;
// Over bulges up to half_turn_bulge, the points of an arc at one parameter move by at most this many half
// chords per unit change of its bulge.
constexpr double bulge_slope = 2.0;

// Distance from P to the box (0 inside); DBL_MAX for an empty box.
double box_distance(const giPoint3& P, const giBox3& b) {
    if (b.empty()) return DBL_MAX;
    const double dx = std::max({b.min().x - P.x, 0.0, P.x - b.max().x});
    const double dy = std::max({b.min().y - P.y, 0.0, P.y - b.max().y});
    const double dz = std::max({b.min().z - P.z, 0.0, P.z - b.max().z});
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Distance between two boxes (0 when they cross); DBL_MAX when either is empty.
double box_distance(const giBox3& a, const giBox3& b) {
    if (a.empty() || b.empty()) return DBL_MAX;
    const double dx = std::max({a.min().x - b.max().x, 0.0, b.min().x - a.max().x});
    const double dy = std::max({a.min().y - b.max().y, 0.0, b.min().y - a.max().y});
    const double dz = std::max({a.min().z - b.max().z, 0.0, b.min().z - a.max().z});
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The nearest point over the list: measure(iter, t) gives the distance of the nearest point of the current
// polyline (DBL_MAX when none) and its parameter; lower(box) a lower bound for the polyline's points, so
// that polylines that cannot be nearer are passed over. The first of equally near points wins.
template <class Lower, class Measure>
double nearest_over_list(const velPolylineListIter& in, int excluded, Lower lower, Measure measure,
                         int& index, double& t) {
    index = -1;
    t = -1.0;
    double best = DBL_MAX;
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    while (++*w) {
        if (w->num_pos() == 0 || w->index() == excluded) continue;
        if (best < DBL_MAX && lower(w->box(vel_3d_box)) > best) continue;
        double tt = -1.0;
        const double d = measure(static_cast<const velPolylineListIter&>(*w), tt);
        if (tt >= 0.0 && d < best) {
            best = d;
            index = w->index();
            t = tt;
        }
    }
    return best;
}

double nearest_to_point(const giPoint3& P, const velPolylineListIter& in, int excluded, int& index,
                        double& t) {
    return nearest_over_list(
        in, excluded, [&](const giBox3& b) { return box_distance(P, b); },
        [&](const velPolylineListIter& it, double& tt) {
            double d;
            U::get_closest_point(P, it, 0.0, it.num_pos() - 1.0, tt, d);
            return d;
        },
        index, t);
}

} // namespace

double velPolylineListUtils::closest_point(const giPoint3& P, const velPolylineListIter& in, int& index,
                                           double& t) {
    return nearest_to_point(P, in, -1, index, t);
}

namespace {

// Sets pos to polyline index at t of `in`, or invalid for index -1; returns d.
double as_position(const velPolylineListIter& in, double d, int index, double t, velPolylinePosition& pos) {
    if (index < 0) {
        pos.set_invalid();
    } else {
        pos.become(&in, index, t);
    }
    return d;
}

} // namespace

double velPolylineListUtils::closest_point(const giPoint3& P, const velPolylineListIter& in,
                                           velPolylinePosition& pos) {
    int index;
    double t;
    const double d = nearest_to_point(P, in, -1, index, t);
    return as_position(in, d, index, t, pos);
}

double velPolylineListUtils::closest_point(const giPoint3& P, const giPoint3& Q,
                                           const velPolylineListIter& in, velPolylinePosition& pos) {
    int index;
    double t;
    const double d = closest_point(P, Q, in, index, t);
    return as_position(in, d, index, t, pos);
}

double velPolylineListUtils::closest_point(const giPoint3& P, const giVector3& direction,
                                           const velPolylineListIter& in, int half_line,
                                           velPolylinePosition& pos) {
    int index;
    double t;
    const double d = closest_point(P, direction, in, half_line, index, t);
    return as_position(in, d, index, t, pos);
}

double velPolylineListUtils::closest_point(const giPoint3& P, const giPoint3& Q,
                                           const velPolylineListIter& in, int& index, double& t) {
    giBox3 pq;
    pq.merge(P);
    pq.merge(Q);
    return nearest_over_list(
        in, -1, [&](const giBox3& b) { return box_distance(pq, b); },
        [&](const velPolylineListIter& it, double& tt) {
            double d;
            tt = U::closest_point_to_segment(P, Q, it, d);
            return d;
        },
        index, t);
}

double velPolylineListUtils::closest_point(const giPoint3& P, const giVector3& direction,
                                           const velPolylineListIter& in, int half_line, int& index,
                                           double& t) {
    giVector3 u = direction;
    const bool line = u.unitize() > 0.0;
    // Distance from X to the line (ray) through P.
    auto distance = [&](const giPoint3& X) {
        const giVector3 v = X - P;
        if (!line) return v.length();
        double s = v.dot(u);
        if (half_line) s = std::max(s, 0.0);
        return (v - u * s).length();
    };
    return nearest_over_list(
        in, -1, [](const giBox3&) { return 0.0; },
        [&](const velPolylineListIter& it, double& tt) {
            tt = U::closest_point(P, direction, it, half_line);
            return tt < 0.0 ? DBL_MAX : distance(it.get_interpolated_pos(tt));
        },
        index, t);
}

double velPolylineListUtils::closest_point_in_plane(const giPoint3& P, const giPlane& plane,
                                                    const velPolylineListIter& in, int& index, double& t) {
    return nearest_over_list(
        in, -1, [](const giBox3&) { return 0.0; },
        [&](const velPolylineListIter& it, double& tt) {
            giLength d;
            tt = U::closest_point_in_plane(P, plane, it, d);
            return tt < 0.0 ? DBL_MAX : d.value();
        },
        index, t);
}

double velPolylineListUtils::closest_point_on_all_but(const giPoint3& P, const velPolylineListIter& in,
                                                      int excluded, int& index, double& t) {
    return nearest_to_point(P, in, excluded, index, t);
}

double velPolylineListUtils::closest_point_within_box(const giPoint3& P, const giBox3& box,
                                                      const velPolylineListIter& in, int& index, double& t) {
    return nearest_over_list(
        in, -1, [&](const giBox3& b) { return box.crosses(b) ? box_distance(P, b) : DBL_MAX; },
        [&](const velPolylineListIter& it, double& tt) {
            tt = U::closest_point_within_box(P, box, it);
            return tt < 0.0 ? DBL_MAX : P.distance(it.get_interpolated_pos(tt));
        },
        index, t);
}

double velPolylineListUtils::closest_point_within_box(const giPoint3& P, const giBox3& box,
                                                      const velPolylineListIter& in,
                                                      const velPolyarcline3dBoxCache& cache, int& index,
                                                      double& t) {
    return nearest_over_list(
        in, -1, [&](const giBox3& b) { return box.crosses(b) ? box_distance(P, b) : DBL_MAX; },
        [&](const velPolylineListIter& it, double& tt) {
            tt = U::closest_point_within_box(P, box, it, cache);
            return tt < 0.0 ? DBL_MAX : P.distance(it.get_interpolated_pos(tt));
        },
        index, t);
}

// ---------------------------------------------------------------------------------------------------------
// Smallest distance between lists

namespace {

// The smallest distance between the lists' chords (velPolylineUtils::min_distance on every pair whose boxes
// lie no farther apart than the best so far); stops as soon as it is below `stop`.
double smallest_distance(const velPolylineListIter& a, const velPolylineListIter& b, double stop,
                         int& index_a, double& t_a, int& index_b, double& t_b) {
    index_a = index_b = -1;
    t_a = t_b = -1.0;
    double best = std::sqrt(DBL_MAX);
    const std::unique_ptr<velPolylineListIter> wa(a.create_new()), wb(b.create_new());
    std::vector<giBox3> boxes_b;
    wb->reset();
    while (++*wb)
        boxes_b.push_back(wb->box(vel_3d_box));
    wa->reset();
    while (++*wa) {
        if (wa->num_pos() == 0) continue;
        const giBox3 box_a = wa->box(vel_3d_box);
        wb->reset();
        for (std::size_t j = 0; ++*wb; ++j) {
            if (wb->num_pos() == 0 || box_distance(box_a, boxes_b[j]) > best) continue;
            double ta, tb;
            const double d = U::min_distance(*wa, *wb, ta, tb);
            if (d < best) {
                best = d;
                index_a = wa->index();
                index_b = wb->index();
                t_a = ta;
                t_b = tb;
                if (best == 0.0 || best < stop) return best;
            }
        }
    }
    return best;
}

} // namespace

double velPolylineListUtils::min_distance(const velPolylineListIter& a, const velPolylineListIter& b,
                                          int& index_a, double& t_a, int& index_b, double& t_b) {
    return smallest_distance(a, b, -1.0, index_a, t_a, index_b, t_b);
}

double velPolylineListUtils::min_distance(const velPolylineListIter& a, const velPolylineListIter& b) {
    int ia, ib;
    double ta, tb;
    return smallest_distance(a, b, -1.0, ia, ta, ib, tb);
}

int velPolylineListUtils::min_distance_smaller_than(const velPolylineListIter& in, const giPoint3& P,
                                                    double d) {
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    while (++*w) {
        if (w->num_pos() == 0 || !(box_distance(P, w->box(vel_3d_box)) < d)) continue;
        if (w->num_pos() == 1) {
            if (P.distance(w->get_pos(0)) < d) return 1;
            continue;
        }
        if (U::min_distance_smaller_than(*w, P, d)) return 1;
    }
    return 0;
}

int velPolylineListUtils::min_distance_smaller_than(const velPolylineListIter& a,
                                                    const velPolylineListIter& b, double d) {
    int ia, ib;
    double ta, tb;
    return smallest_distance(a, b, d, ia, ta, ib, tb) < d ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Hausdorff distances

namespace {

// A decision asked of the bisection: is the distance below d (strict), or at most d give or take `slack`
// (the accuracy of the bisection, so that equal lists are equal despite rounding)?
struct Threshold {
    double d;
    bool strict;
    double slack;
    // The distance found already settles the answer: not below (at most) d.
    bool exceeded(double found) const { return strict ? found >= d : found > d + slack; }
    // A bound that settles a piece: all its points are below (at most) d.
    bool settles(double bound) const { return strict ? bound < d : bound <= d + slack; }
};

// The largest distance from the points of a list to the list `b`, which the constructor zones.
class OneWay {
public:
    OneWay(const velPolylineListIter& b, double accuracy) : m_accuracy(accuracy) {
        const std::unique_ptr<velPolylineListIter> w(b.create_new());
        const giBox3 limits = velPolylineListUtils::box(*w, vel_3d_box);
        const double side = std::max({limits.xlength(), limits.ylength(), limits.zlength()});
        const double per_side =
            std::max(zones_per_side, std::sqrt(velPolylineListUtils::num_spans(*w) + 0.0));
        m_zones =
            std::make_unique<velPolylineListZoneNode<3>>(*w, std::max(side / per_side, velTol::coincident));
        m_zones->complete_subdivision();
    }

    // The largest distance from a point of `a` to b. With a threshold it returns as soon as the distance
    // found settles it, and does not split pieces that the threshold settles.
    double run(const velPolylineListIter& a, const Threshold* threshold) {
        double best = 0.0;
        const std::unique_ptr<velPolylineListIter> w(a.create_new());
        w->reset();
        while (++*w) {
            if (polyline(*w, threshold, best)) break;
        }
        return best;
    }

private:
    // The nearest point of b to X.
    struct Foot {
        double d = DBL_MAX;
        giPoint3 q;
        int index = -1;
        double t = -1.0;
    };
    // A piece [f0, f1] of span k with its ends, their feet and its bound.
    struct Piece {
        int k;
        double f0, f1;
        giPoint3 X0, X1;
        Foot e0, e1;
        double bound;
        bool operator<(const Piece& o) const { return bound < o.bound; }
    };

    Foot foot(const giPoint3& X) const {
        Foot f;
        if (velZoneNearestSearch<3>::nearest_on_list(*m_zones, X, f.index, f.t, f.d))
            f.q = m_zones->individual_polyline_zones(f.index).iterator().get_interpolated_pos(f.t);
        return f;
    }

    // The bound of a piece of span k of `it` (see the file comment).
    double bound(const velPolylineListIter& it, const Piece& p) const {
        const double d0 = p.e0.d, d1 = p.e1.d;
        const double chord = p.X0.distance(p.X1);
        const double b =
            it.span_linear(p.k) ? 0.0 : std::fabs(velArc2Utils::trimmed_bulge(p.f0, p.f1, it.get_bulge(p.k)));
        double ub = 0.5 * (d0 + d1 + velArc2Utils::arc_length(chord, b));
        if (b > half_turn_bulge) return ub;
        const double h = 0.5 * b * chord;
        ub = std::min(ub,
                      std::min(std::max(d0, p.X1.distance(p.e0.q)), std::max(p.X0.distance(p.e1.q), d1)) + h);
        // Both feet on one span of b.
        if (p.e0.index != p.e1.index) return ub;
        const velPolylineListIter& other = m_zones->individual_polyline_zones(p.e0.index).iterator();
        const double lo = std::min(p.e0.t, p.e1.t), hi = std::max(p.e0.t, p.e1.t);
        const int j = std::min(static_cast<int>(std::floor(lo)), other.num_pos() - 2);
        if (j < 0 || hi > j + 1.0) return ub;
        const double bj = other.span_linear(j)
                              ? 0.0
                              : std::fabs(velArc2Utils::trimmed_bulge(lo - j, hi - j, other.get_bulge(j)));
        if (bj > half_turn_bulge) return ub;
        const double hb = 0.5 * p.e0.q.distance(p.e1.q);
        ub = std::min(ub, std::max(d0, d1) + h + bj * hb);
        // Point by point in the arcs' own parameters: the piece against the arc of its own bulge on b's
        // chord, and that arc against b's own (see the file comment).
        const giVector3 va = arm(it, p.k, p.f0, p.f1, p.X0, p.X1),
                        vb = arm(other, j, lo - j, hi - j, p.e0.q, p.e1.q);
        const double apart = bj > 0.0 ? (va - vb * (b / bj)).length() : b * std::fabs(0.5 * chord - hb);
        return std::min(ub, std::max(d0, d1) + apart + bulge_slope * hb * std::fabs(b - bj));
    }

    // From the chord's midpoint to the mid point of the part [f0, f1] of span k (from A to B): h b m for an
    // arc of half chord h, bulge b and unit m towards its mid point; nothing for a straight span.
    static giVector3 arm(const velPolylineListIter& it, int k, double f0, double f1, const giPoint3& A,
                         const giPoint3& B) {
        if (it.span_linear(k)) return {};
        const giPoint3 M =
            it.get_interpolated_pos(k + velArc2Utils::trimmed_mid_parameter(f0, f1, it.get_bulge(k)));
        return M - A.interpolate(B, 0.5);
    }

    // Runs the bisection over the current polyline of `it`, raising best; true when the threshold is settled
    // against (the distance found exceeds it).
    bool polyline(const velPolylineListIter& it, const Threshold* threshold, double& best) {
        const int n = it.num_pos();
        auto raise = [&](double d) {
            best = std::max(best, d);
            return threshold && threshold->exceeded(best);
        };
        std::vector<Foot> ends;
        for (int i = 0; i < n; ++i) {
            ends.push_back(foot(it.get_pos(i)));
            if (raise(ends.back().d)) return true;
        }
        auto done = [&](double ub) {
            return ub <= best + m_accuracy || (threshold && threshold->settles(ub));
        };
        std::priority_queue<Piece> pieces;
        for (int k = 0; k + 1 < n; ++k) {
            Piece p{k,
                    0.0,
                    1.0,
                    it.get_pos(k),
                    it.get_pos(k + 1),
                    ends[static_cast<std::size_t>(k)],
                    ends[static_cast<std::size_t>(k) + 1],
                    0.0};
            p.bound = bound(it, p);
            if (!done(p.bound)) pieces.push(p);
        }
        while (!pieces.empty()) {
            const Piece p = pieces.top();
            pieces.pop();
            if (done(p.bound)) break; // the largest bound left: every other piece is settled too
            if (p.f1 - p.f0 < min_piece_fraction) continue;
            const double fm = 0.5 * (p.f0 + p.f1);
            const giPoint3 Xm = it.get_interpolated_pos(p.k + fm);
            const Foot em = foot(Xm);
            if (raise(em.d)) return true;
            for (Piece half : {Piece{p.k, p.f0, fm, p.X0, Xm, p.e0, em, 0.0},
                               Piece{p.k, fm, p.f1, Xm, p.X1, em, p.e1, 0.0}}) {
                half.bound = bound(it, half);
                if (!done(half.bound)) pieces.push(half);
            }
        }
        return false;
    }

    double m_accuracy;
    std::unique_ptr<velPolylineListZoneNode<3>> m_zones;
};

double accuracy_for(const velPolylineListIter& a, const velPolylineListIter& b) {
    giBox3 all = velPolylineListUtils::box(a, vel_3d_box);
    all.merge(velPolylineListUtils::box(b, vel_3d_box));
    return std::max(velTol::coincident, velPolylineListUtils::distance_accuracy * all.diagonal());
}

// The one-way distance from a to b, with the cases of lists without positions.
double one_way(const velPolylineListIter& a, const velPolylineListIter& b, double accuracy,
               const Threshold* threshold) {
    if (velPolylineListUtils::num_points(a) == 0) return 0.0;
    if (velPolylineListUtils::num_points(b) == 0) return DBL_MAX;
    return OneWay(b, accuracy).run(a, threshold);
}

// Whether the Hausdorff distance of the lists is below d (strict) or at most d within the accuracy.
int hausdorff_within(const velPolylineListIter& a, const velPolylineListIter& b, double d, bool strict) {
    const double accuracy = accuracy_for(a, b);
    const Threshold threshold{d, strict, strict ? 0.0 : accuracy};
    if (threshold.exceeded(one_way(a, b, accuracy, &threshold))) return 0;
    return threshold.exceeded(one_way(b, a, accuracy, &threshold)) ? 0 : 1;
}

} // namespace

double velPolylineListUtils::max_distance_one_way(const velPolylineListIter& a,
                                                  const velPolylineListIter& b) {
    return one_way(a, b, accuracy_for(a, b), nullptr);
}

double velPolylineListUtils::max_distance(const velPolylineListIter& a, const velPolylineListIter& b) {
    const double accuracy = accuracy_for(a, b);
    return std::max(one_way(a, b, accuracy, nullptr), one_way(b, a, accuracy, nullptr));
}

int velPolylineListUtils::max_distance_smaller_than(const velPolylineListIter& a,
                                                    const velPolylineListIter& b, double d) {
    return hausdorff_within(a, b, d, true);
}

int velPolylineListUtils::spacially_equivalent_xy(const velPolylineListIter& a, const velPolylineListIter& b,
                                                  double tol) {
    const velFlattenedPolylineListIter fa(a, 0.0), fb(b, 0.0);
    return hausdorff_within(fa, fb, tol, false);
}
