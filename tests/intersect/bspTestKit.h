#pragma once
// Intersector test shapes by bulges and an independent all-pairs reference (textbook formulas).

#include "tests/support/caseData.h"

#include "arcline/intersect/velCrossing.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace bsptest {

struct V {
    double x, y;
};

// A polyline through `pts` with span i of bulge b[i] (straight when 0).
inline std::unique_ptr<velAbsPolyArcLine> polyline(const std::vector<V>& pts,
                                                   const std::vector<double>& b = {}) {
    auto line = std::make_unique<velPolyArcLineDouble>();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const giPoint3 p{pts[i].x, pts[i].y, 0.0};
        const double bulge = i > 0 && i - 1 < b.size() ? b[i - 1] : 0.0;
        if (i == 0 || bulge == 0.0) {
            line->add_pos(p);
            continue;
        }
        const V a = pts[i - 1], e = pts[i];
        const double dx = e.x - a.x, dy = e.y - a.y;
        line->add_arc({(a.x + e.x) / 2 + bulge / 2 * dy, (a.y + e.y) / 2 - bulge / 2 * dx, 0.0}, p);
    }
    return line;
}

// A list and an iterator over it (not copyable: the iterator points at the vector).
struct List {
    velAbsPolyArcLineVec polylines;
    velAbsPolyArcLineVecListIter iter{&polylines};

    List() = default;
    List(const List&) = delete;
    void add(std::unique_ptr<velAbsPolyArcLine> p) { polylines.push_back(std::move(p)); }
};

// A crossing by its two polylines and parameters, curve 1 the lower (polyline, parameter).
struct Hit {
    int i1, i2;
    double t1, t2;
    V p;
};

inline Hit normalised(int i1, double t1, int i2, double t2, V p) {
    if (i2 < i1 || (i2 == i1 && t2 < t1)) return {i2, i1, t2, t1, p};
    return {i1, i2, t1, t2, p};
}

inline Hit normalised(const velCrossing& c) {
    return normalised(c.index1(), c.param1(), c.index2(), c.param2(), {c.point().x, c.point().y});
}

// One span for the reference: a segment, or an arc by centre, radius, start angle and signed sweep.
struct RefSpan {
    V a, e;
    double b;
    V c{};
    double r = 0, start = 0, sweep = 0;
};

inline RefSpan ref_span(V a, V e, double b) {
    RefSpan s{a, e, b};
    if (b == 0.0) return s;
    s.sweep = 4.0 * std::atan(b);
    const double dx = e.x - a.x, dy = e.y - a.y, L = std::hypot(dx, dy);
    // The centre lies on the chord's left normal at distance (L / 2) cot(sweep / 2) from its middle.
    const double k = 0.5 / std::tan(s.sweep / 2.0);
    s.c = {(a.x + e.x) / 2 - k * dy, (a.y + e.y) / 2 + k * dx};
    s.r = L / 2.0 / std::fabs(std::sin(s.sweep / 2.0));
    s.start = std::atan2(a.y - s.c.y, a.x - s.c.x);
    return s;
}

// The bulge parameter of a point of the span: the chord fraction for a segment; for an arc, with phi the
// angle of the point from the mid point, u = tan(phi / 2) / b and t = (u + 1) / 2.
inline double ref_param(const RefSpan& s, V p) {
    if (s.b == 0.0) {
        const double dx = s.e.x - s.a.x, dy = s.e.y - s.a.y;
        return ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / (dx * dx + dy * dy);
    }
    const double mid = s.start + s.sweep / 2.0;
    double phi = std::atan2(p.y - s.c.y, p.x - s.c.x) - mid;
    phi = std::remainder(phi, 2 * std::numbers::pi);
    return (std::tan(phi / 2.0) / s.b + 1.0) / 2.0;
}

// Whether a point of the span's circle (or line) lies on the span.
inline bool on_span(const RefSpan& s, V p) {
    const double t = ref_param(s, p);
    return t >= 0.0 && t <= 1.0;
}

// Intersections of two spans (points on both supports, then kept when on both spans).
inline std::vector<V> ref_intersections(const RefSpan& s, const RefSpan& q) {
    std::vector<V> pts;
    auto circle_line = [&](const RefSpan& arc, const RefSpan& line) {
        const double dx = line.e.x - line.a.x, dy = line.e.y - line.a.y;
        const double fx = line.a.x - arc.c.x, fy = line.a.y - arc.c.y;
        const double A = dx * dx + dy * dy, B = 2 * (fx * dx + fy * dy),
                     C = fx * fx + fy * fy - arc.r * arc.r;
        const double disc = B * B - 4 * A * C;
        if (disc < 0) return;
        for (double sg : {-1.0, 1.0}) {
            const double t = (-B + sg * std::sqrt(disc)) / (2 * A);
            pts.push_back({line.a.x + t * dx, line.a.y + t * dy});
        }
    };
    if (s.b == 0.0 && q.b == 0.0) {
        const double d1x = s.e.x - s.a.x, d1y = s.e.y - s.a.y, d2x = q.e.x - q.a.x, d2y = q.e.y - q.a.y;
        const double det = d1x * d2y - d1y * d2x;
        if (det == 0.0) return pts;
        const double t = ((q.a.x - s.a.x) * d2y - (q.a.y - s.a.y) * d2x) / det;
        pts.push_back({s.a.x + t * d1x, s.a.y + t * d1y});
    } else if (s.b == 0.0) {
        circle_line(q, s);
    } else if (q.b == 0.0) {
        circle_line(s, q);
    } else {
        // On the smaller circle, from the gap between its centre and the larger circle, so that the huge
        // circle of a nearly straight arc loses no digits.
        const RefSpan& sm = s.r <= q.r ? s : q;
        const RefSpan& lg = s.r <= q.r ? q : s;
        const double dx = lg.c.x - sm.c.x, dy = lg.c.y - sm.c.y, d = std::hypot(dx, dy);
        if (d == 0.0 || d > s.r + q.r || d < std::fabs(s.r - q.r)) return pts;
        const double a = (sm.r * sm.r + (d - lg.r) * (d + lg.r)) / (2 * d);
        const double h = std::sqrt(std::max(0.0, sm.r * sm.r - a * a));
        const V m{sm.c.x + a * dx / d, sm.c.y + a * dy / d};
        pts.push_back({m.x - h * dy / d, m.y + h * dx / d});
        pts.push_back({m.x + h * dy / d, m.y - h * dx / d});
    }
    std::vector<V> out;
    for (const V& p : pts)
        if (on_span(s, p) && on_span(q, p)) out.push_back(p);
    return out;
}

// The rows of the table tests/data/<folder>/<file>, split at white space ('#' lines and blank lines
// skipped); a table that does not open is a failure.
inline std::vector<std::vector<std::string>> table_rows(const std::string& folder, const std::string& file) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(support::data_dir(folder) + "/" + file);
    if (!in) ADD_FAILURE() << "cannot open " << support::data_dir(folder) << "/" << file;
    for (std::string line; std::getline(in, line);) {
        std::istringstream ss(line);
        std::vector<std::string> words;
        for (std::string w; ss >> w;)
            words.push_back(w);
        if (!words.empty() && words[0][0] != '#') rows.push_back(words);
    }
    return rows;
}

// The polylines of tests/data/<folder>/<name>.txt; a file that does not read is a failure.
inline support::Polylines load_lines(const std::string& folder, const std::string& name) {
    const std::string path = support::data_dir(folder) + "/" + name + ".txt";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velGeometryIOFault fault;
    if (!velGeometryIO::read(path.c_str(), list, fault))
        ADD_FAILURE() << path << ":" << fault.line << ": " << fault.reason;
    support::Polylines out;
    for (velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator it(list); ++it;)
        out.emplace_back((*it)->create_new());
    return out;
}

} // namespace bsptest
