#include "arcline/polyline/spans/velLinexLine.h"

#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Parameters of a foot within this much of [0, 1] count as on the segment.
constexpr double lo_limit = -velLinexLine::param_tol;
constexpr double hi_limit = 1.0 + velLinexLine::param_tol;

template <class P>
double dot3(const P& a, const P& b);
template <>
double dot3(const giPoint2& a, const giPoint2& b) {
    return a.x * b.x + a.y * b.y;
}
template <>
double dot3(const giPoint3& a, const giPoint3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Differences as points, so that one template serves both dimensions.
giPoint2 diff(const giPoint2& a, const giPoint2& b) {
    return {a.x - b.x, a.y - b.y};
}
giPoint3 diff(const giPoint3& a, const giPoint3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class P>
void foot(const P& p, const P& a, const P& b, double& t) {
    const P d = diff(b, a);
    const double l2 = dot3(d, d);
    // A zero-length segment is its start point.
    t = l2 == 0.0 ? 0.0 : dot3(diff(p, a), d) / l2;
}

template <class P>
int clamped_foot(const P& p, const P& a, const P& b, double& t) {
    foot(p, a, b, t);
    const int on = t >= lo_limit && t <= hi_limit;
    t = std::clamp(t, 0.0, 1.0);
    return on;
}

template <class P>
double dist2_to_segment(const P& p, const P& a, const P& b) {
    // The parameter as it comes: 0 / 0 for a degenerate segment (a = b), which has no foot.
    const P d = diff(b, a);
    double t = dot3(diff(p, a), d) / dot3(d, d);
    if (std::isnan(t)) return DBL_MAX;
    t = std::clamp(t, 0.0, 1.0);
    return p.distance_squared(a.interpolate(b, t));
}

} // namespace

void velLinexLine::closest_point_on_infinite_line(const giPoint2& P, const giPoint2& A, const giPoint2& B,
                                                  double& t) {
    foot(P, A, B, t);
}
void velLinexLine::closest_point_on_infinite_line(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                                  double& t) {
    foot(P, A, B, t);
}
int velLinexLine::closest_point(const giPoint2& P, const giPoint2& A, const giPoint2& B, double& t) {
    return clamped_foot(P, A, B, t);
}
int velLinexLine::closest_point(const giPoint3& P, const giPoint3& A, const giPoint3& B, double& t) {
    return clamped_foot(P, A, B, t);
}
double velLinexLine::distance_to_line_squared(const giPoint2& P, const giPoint2& A, const giPoint2& B) {
    return dist2_to_segment(P, A, B);
}
double velLinexLine::distance_to_line_squared(const giPoint3& P, const giPoint3& A, const giPoint3& B) {
    return dist2_to_segment(P, A, B);
}
double velLinexLine::distance_to_line(const giPoint2& P, const giPoint2& A, const giPoint2& B) {
    return std::sqrt(dist2_to_segment(P, A, B));
}
double velLinexLine::distance_to_line(const giPoint3& P, const giPoint3& A, const giPoint3& B) {
    return std::sqrt(dist2_to_segment(P, A, B));
}

void velLinexLine::closest_point(const giPoint3& A, const giPoint3& B, const giPoint3& C, const giPoint3& D,
                                 double& s, double& t) {
    if (A == B) {
        s = 0.0;
        closest_point(A, C, D, t);
        return;
    }
    if (C == D) {
        t = 0.0;
        closest_point(C, A, B, s);
        return;
    }
    const giPoint3 d1 = diff(B, A), d2 = diff(D, C), r = diff(A, C);
    const double a = dot3(d1, d1), e = dot3(d2, d2), b = dot3(d1, d2);
    const double c = dot3(d1, r), f = dot3(d2, r);
    const double det = a * e - b * b;
    if (det == 0.0) {
        // Parallel: any foot of A on CD, and back onto AB.
        closest_point(A, C, D, t);
        closest_point(C.interpolate(D, t), A, B, s);
    } else {
        s = (b * f - c * e) / det;
        t = (a * f - b * c) / det;
    }
    if (s >= 0.0 && s <= 1.0 && t >= 0.0 && t <= 1.0) return;

    // The closest points involve an end: try C and D onto AB, then A and B onto CD.
    double best = DBL_MAX;
    auto consider = [&](double sc, double tc) {
        const double d2c = A.interpolate(B, sc).distance_squared(C.interpolate(D, tc));
        if (d2c < best) {
            best = d2c;
            s = sc;
            t = tc;
        }
    };
    double u;
    closest_point(C, A, B, u);
    consider(u, 0.0);
    closest_point(D, A, B, u);
    consider(u, 1.0);
    closest_point(A, C, D, u);
    consider(0.0, u);
    closest_point(B, C, D, u);
    consider(1.0, u);
}

void velLinexLine::closest_point(const giPoint2& A, const giPoint2& B, const giPoint2& C, const giPoint2& D,
                                 double& s, double& t) {
    closest_point(A.xyz(0.0), B.xyz(0.0), C.xyz(0.0), D.xyz(0.0), s, t);
}

int velLinexLine::infinite_intersect(const giPoint2& A, const giPoint2& B, const giPoint2& C,
                                     const giPoint2& D, double& s, double& t) {
    if (A == B) {
        closest_point(A, C, D, t);
        s = 0.0;
        return 0;
    }
    if (C == D) {
        closest_point(C, A, B, s);
        t = 0.0;
        return 0;
    }
    const giVector2 d1 = B - A, d2 = D - C, r = C - A;
    const double det = d1.cross(d2);
    constexpr double parallel_det = velTol::span_fraction * velTol::span_fraction;
    if (std::fabs(det) > parallel_det) {
        s = r.cross(d2) / det;
        t = r.cross(d1) / det;
        return s >= lo_limit && s <= hi_limit && t >= lo_limit && t <= hi_limit;
    }
    // Parallel: they meet when the nearest points of the two lines' segments touch.
    closest_point(A, C, D, t);
    const giPoint2 on_cd = C.interpolate(D, t);
    closest_point(on_cd, A, B, s);
    return on_cd.coincident(A.interpolate(B, s), param_tol);
}

int velLinexLine::intersect(const giPoint2& A, const giPoint2& B, const giPoint2& C, const giPoint2& D,
                            double& s, double& t) {
    const int result = infinite_intersect(A, B, C, D, s, t);
    s = std::clamp(s, 0.0, 1.0);
    t = std::clamp(t, 0.0, 1.0);
    return result;
}
