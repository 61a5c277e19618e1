#pragma once
// Shared pieces of the contour offsetter's tests.

#include "offsetTestKit.h"
#include "tests/support/metamorphic.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace offsettertest {

using support::Polylines;
using utiltest::pi;
using utiltest::Rng;
using utiltest::V;

inline Polylines copies(const velPolylineListIter& in) {
    Polylines out;
    velPolylineListIter& it = const_cast<velPolylineListIter&>(in);
    it.reset();
    while (++it) {
        velAbsPolyArcLineListCursor one;
        one.create_last_polyline();
        velPolylineUtils::append(it, one);
        out.emplace_back(one.current_polyarcline()->create_new());
    }
    return out;
}

inline Polylines copies(const Polylines& in) {
    Polylines out;
    for (const auto& p : in)
        out.emplace_back(p->create_new());
    return out;
}

// The region offset of `in` by d (velOffsetter::offset on a list), as values.
inline Polylines region_offset(const Polylines& in, double d, velOffsetter* offsetter = nullptr) {
    velAbsPolyArcLineVec vec = copies(in);
    velAbsPolyArcLineVecListIter it(&vec);
    velAbsPolyArcLineListCursor out;
    velOffsetter own;
    (offsetter ? *offsetter : own).offset(it, out, d);
    return copies(out.iterator());
}

// An iterator over a list of values (not copyable: it points at the vector).
struct ListOf {
    velAbsPolyArcLineVec vec;
    velAbsPolyArcLineVecListIter it{&vec};
    explicit ListOf(const Polylines& lines) : vec(copies(lines)) {}
    ListOf(const ListOf&) = delete;
};

// --- Measures

inline double area_of(const Polylines& lines) {
    return support::list_props_of(lines).area;
}

// Points along every span at `per_span` + 1 equal parameter steps (on the arcs for arc spans).
inline std::vector<giPoint3> samples(const velAbsPolyArcLine& line, int per_span) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    return utiltest::polygonize(it, per_span);
}

// Distance in XY from P to the nearest input boundary, by the reference nearest point of every span.
inline double boundary_distance(const giPoint3& P, const Polylines& input) {
    double best = DBL_MAX;
    const giPoint3 Q(P.x, P.y, 0.0);
    for (const auto& line : input) {
        velSingleAbsArcLineListIter it(*line);
        ++it;
        for (int k = 0; k + 1 < it.num_pos(); ++k) {
            double f = 0.0;
            best = std::min(best, utiltest::reference_nearest(it, k, Q, f));
        }
    }
    return best;
}

// The winding number of the input region about (x, y), from polygons of 256 points per span (the points
// asked about lie far from the boundary compared with the polygons' error).
inline int winding_of(double x, double y, const Polylines& input) {
    int w = 0;
    for (const auto& line : input) {
        velSingleAbsArcLineListIter it(*line);
        ++it;
        w += utiltest::winding(utiltest::polygonize(it, 256), x, y);
    }
    return w;
}

// --- Shapes (anticlockwise unless reversed): vertices with the mid points of the arcs that end there

inline std::vector<V> circle(double cx, double cy, double r) {
    return {{{cx + r, cy, 0}, {}},
            {{cx - r, cy, 0}, giPoint3{cx, cy + r, 0}},
            {{cx + r, cy, 0}, giPoint3{cx, cy - r, 0}}};
}

inline giPoint3 turned(double cx, double cy, double angle, double x, double y) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {cx + c * x - s * y, cy + s * x + c * y, 0.0};
}

// A rectangle of half sizes (a, b) turned by `angle`.
inline std::vector<V> turned_rect(double cx, double cy, double a, double b, double angle) {
    auto at = [&](double x, double y) { return turned(cx, cy, angle, x, y); };
    return {{at(-a, -b), {}}, {at(a, -b), {}}, {at(a, b), {}}, {at(-a, b), {}}, {at(-a, -b), {}}};
}

// Two half circles of radius r joined by straight sides of length 2 half, turned by `angle`.
inline std::vector<V> stadium(double cx, double cy, double half, double r, double angle) {
    auto at = [&](double x, double y) { return turned(cx, cy, angle, x, y); };
    return {{at(-half, -r), {}},
            {at(half, -r), {}},
            {at(half, r), at(half + r, 0)},
            {at(-half, r), {}},
            {at(-half, -r), at(-half - r, 0)}};
}

// The rectangle [0, w] x [0, h] with rounded corners of radius r and its bottom side bent inwards into an
// arc of sagitta `dent` (a concave stretch of the outer boundary).
inline std::vector<V> dented_outline(double w, double h, double r, double dent) {
    std::vector<V> vs = utiltest::rounded_rectangle(w, h, r);
    vs[1].mid = giPoint3{w / 2, dent, 0};
    return vs;
}

inline std::unique_ptr<velAbsPolyArcLine> line_of(const std::vector<V>& vs, bool clockwise = false) {
    auto line = utiltest::make_line(vs);
    if (clockwise) line->reverse();
    return line;
}

// A region of 1 to 6 loops: a dented rounded outline about 30 x 20 with up to two holes (circles, turned
// rectangles, stadiums), a circle hole holding an island now and then. The loops neither cross nor touch,
// and every hole keeps more than 1 from the outline.
inline Polylines random_region(Rng& rng) {
    Polylines out;
    const double w = rng.uniform(24, 32), h = rng.uniform(16, 22);
    const double dent_radius = rng.uniform(0.5, 4.0), dent = rng.uniform(0.3, 1.5);
    out.push_back(line_of(dented_outline(w, h, dent_radius, dent)));
    for (const double cx : {w / 4, 3 * w / 4}) {
        if (rng.pick(0, 4) == 0) continue;
        const double cy = h / 2 + rng.uniform(-1, 1);
        switch (rng.pick(0, 2)) {
        case 0: {
            const double r = rng.uniform(1.5, 4.0);
            out.push_back(line_of(circle(cx, cy, r), true));
            if (r > 2.8 && rng.pick(0, 1) == 0) out.push_back(line_of(circle(cx, cy, rng.uniform(0.4, 1.2))));
            break;
        }
        case 1: {
            const double a = rng.uniform(1, 3), b = rng.uniform(1, 3), angle = rng.uniform(0, pi);
            out.push_back(line_of(turned_rect(cx, cy, a, b, angle), true));
            break;
        }
        default: {
            const double half = rng.uniform(0.5, 2), r = rng.uniform(0.6, 1.5), angle = rng.uniform(0, pi);
            out.push_back(line_of(stadium(cx, cy, half, r, angle), true));
        }
        }
    }
    return out;
}

// --- Polygons for the outside oracles

struct XY {
    double x, y;
};

// The closed polyline as a ring of points on it (first point not repeated).
inline std::vector<XY> ring_of(const velAbsPolyArcLine& line, double sagitta, double* error = nullptr) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    std::vector<XY> out;
    for (int k = 0; k + 1 < it.num_pos(); ++k) {
        const giPoint3 S = it.get_pos(k), E = it.get_pos(k + 1);
        out.push_back({S.x, S.y});
        if (it.span_linear(k)) continue;
        const giPoint3 M = it.get_mid_pos(k);
        const double d = 2 * (S.x * (M.y - E.y) + M.x * (E.y - S.y) + E.x * (S.y - M.y));
        const double s2 = S.x * S.x + S.y * S.y, m2 = M.x * M.x + M.y * M.y, e2 = E.x * E.x + E.y * E.y;
        const double cx = (s2 * (M.y - E.y) + m2 * (E.y - S.y) + e2 * (S.y - M.y)) / d;
        const double cy = (s2 * (E.x - M.x) + m2 * (S.x - E.x) + e2 * (M.x - S.x)) / d;
        const double r = std::hypot(S.x - cx, S.y - cy);
        const double a0 = std::atan2(S.y - cy, S.x - cx), a1 = std::atan2(E.y - cy, E.x - cx);
        const bool ccw = (M.x - S.x) * (E.y - S.y) - (M.y - S.y) * (E.x - S.x) > 0; // mid point right of S->E
        double sweep = a1 - a0;
        if (ccw)
            while (sweep <= 0)
                sweep += 2 * pi;
        else
            while (sweep >= 0)
                sweep -= 2 * pi;
        const double step = 2 * std::acos(std::max(-1.0, 1 - sagitta / r));
        const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / step)));
        for (int i = 1; i < n; ++i) {
            const double a = a0 + sweep * i / n;
            out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        if (error) *error += r * r / 2 * (std::fabs(sweep) - n * std::sin(std::fabs(sweep) / n));
    }
    return out;
}

// The shared benchmark workloads beside the repository ("" when the file is not there).
inline std::string bench_file(const char* name) {
    const std::filesystem::path p = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / name;
    return std::filesystem::exists(p) ? p.string() : std::string();
}

} // namespace offsettertest
