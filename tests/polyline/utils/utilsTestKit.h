#pragma once
// Shared pieces of the single-polyline tests: polylines built from corner lists, an iterator standing on one
// polyline, fine polygonizations to measure against, and reference nearest points on spans computed from the
// circle through the three points (angles, not the bulge formulas under test).

#include "../../lists/listTestKit.h"

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

namespace utiltest {

using listtest::Rng;
inline constexpr double pi = std::numbers::pi;

// A vertex of a polyline under construction: the point, and the mid point of the span that ends there when
// that span is an arc.
struct V {
    giPoint3 p;
    std::optional<giPoint3> mid;
};

inline std::unique_ptr<velAbsPolyArcLine> make_line(const std::vector<V>& vs) {
    auto line = std::make_unique<velPolyArcLineDouble>();
    for (const V& v : vs) {
        if (v.mid && line->num_pos() > 0) {
            line->add_arc(*v.mid, v.p);
        } else {
            line->add_pos(v.p);
        }
    }
    return line;
}

// A polyline and an iterator standing on it.
struct One {
    std::unique_ptr<velAbsPolyArcLine> line;
    velSingleAbsArcLineListIter it;
    explicit One(std::unique_ptr<velAbsPolyArcLine> l) : line(std::move(l)), it(*line) { ++it; }
    explicit One(const std::vector<V>& vs) : One(make_line(vs)) {}
};

// The vertices of a polyline, so that tests can transform and rebuild it.
inline std::vector<V> vertices(const velPolylineListIter& it) {
    std::vector<V> out;
    for (int i = 0; i < it.num_pos(); ++i) {
        V v{it.get_pos(i), {}};
        if (i > 0 && !it.span_linear(i - 1)) v.mid = it.get_mid_pos(i - 1);
        out.push_back(v);
    }
    return out;
}

// Rounded rectangle [0, w] x [0, h], corners of radius r, anticlockwise from (r, 0).
inline std::vector<V> rounded_rectangle(double w, double h, double r) {
    const double s = r * (1.0 - std::sqrt(0.5));
    return {{{r, 0, 0}, {}},
            {{w - r, 0, 0}, {}},
            {{w, r, 0}, giPoint3{w - s, s, 0}},
            {{w, h - r, 0}, {}},
            {{w - r, h, 0}, giPoint3{w - s, h - s, 0}},
            {{r, h, 0}, {}},
            {{0, h - r, 0}, giPoint3{s, h - s, 0}},
            {{0, r, 0}, {}},
            {{r, 0, 0}, giPoint3{s, s, 0}}};
}

// Points at m equal parameter steps per span, ends included.
inline std::vector<giPoint3> polygonize(const velPolylineListIter& it, int m) {
    std::vector<giPoint3> pts;
    const int n = it.num_pos();
    if (n > 0) pts.push_back(it.get_pos(0));
    for (int k = 0; k + 1 < n; ++k)
        for (int j = 1; j <= m; ++j)
            pts.push_back(j == m ? it.get_pos(k + 1) : it.get_interpolated_pos(k + double(j) / m));
    return pts;
}

inline double polygon_length(const std::vector<giPoint3>& pts) {
    double s = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        s += pts[i].distance(pts[i - 1]);
    return s;
}

inline double shoelace(const std::vector<giPoint3>& pts) {
    double s = 0;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
        s += pts[i].x * pts[i + 1].y - pts[i + 1].x * pts[i].y;
    return 0.5 * s;
}

// Winding number of the closed polygon about (x, y).
inline int winding(const std::vector<giPoint3>& pts, double x, double y) {
    int w = 0;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const giPoint3 &a = pts[i], &b = pts[i + 1];
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y && b.y > y && side > 0) ++w;
        if (a.y > y && b.y <= y && side < 0) --w;
    }
    return w;
}

// Distance from P to segment AB.
inline double segment_distance(const giPoint3& P, const giPoint3& A, const giPoint3& B) {
    const giVector3 d = B - A;
    const double L2 = d.dot(d);
    const double u = L2 > 0 ? std::clamp((P - A).dot(d) / L2, 0.0, 1.0) : 0.0;
    return P.distance(A + d * u);
}

// Nearest point of span k to P from its circle: the circumcentre, the angle of P's shadow in the arc's plane
// measured from the mid point, and the bulge parameter of that angle (tan(psi / 2) = (2f - 1) tan(half / 2)).
// Returns the distance and sets f.
inline double reference_nearest(const velPolylineListIter& it, int k, const giPoint3& P, double& f) {
    const giPoint3 S = it.get_pos(k), E = it.get_pos(k + 1);
    auto on_chord = [&] {
        const giVector3 d = E - S;
        f = d.dot(d) > 0 ? std::clamp((P - S).dot(d) / d.dot(d), 0.0, 1.0) : 0.0;
        return P.distance(S + d * f);
    };
    if (it.span_linear(k)) return on_chord();
    const giPoint3 M = it.get_mid_pos(k);
    const giVector3 a = S - M, b = E - M, axb = a.cross(b);
    if (axb.dot(axb) == 0) return on_chord();
    const giPoint3 C = M + (b * a.dot(a) - a * b.dot(b)).cross(axb) / (2 * axb.dot(axb));
    giVector3 mhat = M - C, n = axb * -1.0;
    mhat.unitize();
    n.unitize();
    const giVector3 ehat = n.cross(mhat);
    auto angle = [&](const giPoint3& X) { return std::atan2((X - C).dot(ehat), (X - C).dot(mhat)); };
    const double half = angle(E);
    const double psi = angle(P);
    const double dS = P.distance(S), dE = P.distance(E);
    if (std::fabs(psi) <= half) {
        f = 0.5 * (std::tan(psi / 2) / std::tan(half / 2) + 1);
        const giVector3 w = P - C;
        const double off = w.dot(n), inplane = std::sqrt(std::max(0.0, w.dot(w) - off * off));
        const double R = S.distance(C);
        return std::hypot(off, inplane - R);
    }
    f = dE < dS ? 1.0 : 0.0;
    return std::min(dS, dE);
}

// Brute force: the smallest of dist(t) over parameters, by samples (m per span) refined by golden section
// about the best few. Returns the distance and sets t.
template <class Dist>
double brute_minimum(const velPolylineListIter& it, Dist dist, double& t, int m = 400) {
    const int n = it.num_pos();
    std::vector<std::pair<double, double>> samples;
    for (int k = 0; k + 1 < n; ++k)
        for (int j = 0; j <= m; ++j) {
            const double tt = k + double(j) / m;
            samples.push_back({dist(tt), tt});
        }
    std::partial_sort(samples.begin(), samples.begin() + std::min<std::size_t>(6, samples.size()),
                      samples.end());
    double best = samples.front().first;
    t = samples.front().second;
    for (std::size_t i = 0; i < std::min<std::size_t>(6, samples.size()); ++i) {
        double lo = std::max(0.0, samples[i].second - 1.0 / m),
               hi = std::min(n - 1.0, samples[i].second + 1.0 / m);
        const double g = (std::sqrt(5.0) - 1) / 2;
        for (int step = 0; step < 120; ++step) {
            const double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
            if (dist(x1) < dist(x2)) {
                hi = x2;
            } else {
                lo = x1;
            }
        }
        const double tt = 0.5 * (lo + hi), d = dist(tt);
        if (d < best) {
            best = d;
            t = tt;
        }
    }
    return best;
}

} // namespace utiltest
