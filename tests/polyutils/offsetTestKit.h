#pragma once
// Shared pieces of the offset tests: raw offsets by their properties, sampled distances, random convex.

#include "../polyline/utils/utilsTestKit.h"

#include "arcline/polyline/contour/velFreeSpan.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/contour/velSpanVectorContour.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

namespace offsettest {

using utiltest::make_line;
using utiltest::pi;
using utiltest::Rng;
using utiltest::V;
using Line = std::unique_ptr<velAbsPolyArcLine>;

inline Line corners(std::initializer_list<giPoint3> pts) {
    Line line = std::make_unique<velPolyArcLineDouble>();
    for (const giPoint3& p : pts)
        line->add_pos(p);
    return line;
}

// Square [x0, x0 + side] x [y0, y0 + side], closed, anticlockwise unless `clockwise`.
inline Line square(double side, bool clockwise, double x0 = 0.0, double y0 = 0.0) {
    const giPoint3 a{x0, y0, 0}, b{x0 + side, y0, 0}, c{x0 + side, y0 + side, 0}, d{x0, y0 + side, 0};
    return clockwise ? corners({a, d, c, b, a}) : corners({a, b, c, d, a});
}

inline Line reversed(const velAbsPolyArcLine& line) {
    Line copy(line.create_new());
    copy->reverse();
    return copy;
}

// A raw offset and what the tests measure of it.
struct Raw {
    velAbsContourcoPrf contour; // null: nothing left
    int changed = 0;
    int spans = 0, arcs = 0, temp_lines = 0, temp_arcs = 0;
    double area = 0.0, length = 0.0;
    giBox2 box;

    const velAbsPolyArcLine& line() const {
        return dynamic_cast<const velPolyArcLineAdapter&>(*contour).polyarcline();
    }
    int temps() const { return temp_lines + temp_arcs; }
    bool closed() const { return contour && contour->is_closed(); }
};

inline Raw measure(velAbsContourcoPrf contour, int changed) {
    Raw r;
    r.contour = std::move(contour);
    r.changed = changed;
    if (!r.contour) return r;
    r.spans = r.contour->size();
    for (int i = 1; i <= r.spans; ++i) {
        const velAbsSpancoPrf s = r.contour->get_span(i);
        r.arcs += s->is_of_class_arc();
        r.temp_lines += s->is_temp_line_span();
        r.temp_arcs += s->is_temp_arc_span();
        r.box.merge(s->get_boundbox());
    }
    if (const auto* adapter = dynamic_cast<const velPolyArcLineAdapter*>(r.contour.get())) {
        velSingleAbsArcLineListIter it(adapter->polyarcline());
        ++it;
        r.area = velPolylineUtils::area(it);
        r.length = velPolylineUtils::length(it);
    } else if (const auto* spans = dynamic_cast<const velSpanVectorContour*>(r.contour.get())) {
        r.area = spans->area();
        r.length = spans->length();
    }
    return r;
}

struct Options {
    int extend = 0;
    int chamfer = 0;
    double max_corner_offset = 0.0;
    int span_info = 0;
    int keep_order = 0;
    int set = 1;
};

// The raw offset of `contour` by d.
inline Raw raw_offset(velAbsContour& contour, double d, const Options& o = {}) {
    velPolyArcLineOffsetter offsetter(contour, d);
    offsetter.set_chamfer_corners(o.chamfer, o.max_corner_offset);
    offsetter.set_span_info(o.span_info);
    int changed = -1;
    velAbsContourcoPrf result = offsetter.offset(o.extend, o.set, changed, o.keep_order);
    return measure(std::move(result), changed);
}

// The raw offset of a poly-arc-line by d, through a read-only contour view of it.
inline Raw raw_offset(const velAbsPolyArcLine& line, double d, const Options& o = {}) {
    velPolyArcLineAdapter contour(line);
    return raw_offset(contour, d, o);
}

// The raw offset made on values (the poly-arc-line contour) against the same spans as a vector contour of
// free spans (the generic span-object path): the same kinds and flags span for span, points within `rel`
// of the result's size, the same area. Returns the number of temporary spans.
inline int expect_paths_agree(const velAbsPolyArcLine& line, double d, const Options& o, double rel) {
    velPolyArcLineAdapter adapter(line);
    auto spans = std::make_shared<velSpanVectorContour>();
    for (int i = 1; i <= adapter.size(); ++i)
        spans->append(std::make_shared<velFreeSpan>(*adapter.get_span(i)));
    const Raw a = raw_offset(adapter, d, o), b = raw_offset(*spans, d, o);
    EXPECT_EQ(!a.contour, !b.contour);
    if (!a.contour || !b.contour) return 0;
    EXPECT_EQ(a.spans, b.spans);
    if (a.spans != b.spans) return 0;
    const double tol = rel * std::max({1.0, std::fabs(b.box.min().x), std::fabs(b.box.min().y),
                                       std::fabs(b.box.max().x), std::fabs(b.box.max().y)});
    int mismatched = 0;
    for (int i = 1; i <= a.spans; ++i) {
        const velAbsSpancoPrf x = a.contour->get_span(i), y = b.contour->get_span(i);
        mismatched += x->is_of_class_arc() != y->is_of_class_arc() ||
                      x->is_temp_line_span() != y->is_temp_line_span() ||
                      x->is_temp_arc_span() != y->is_temp_arc_span() ||
                      !x->start_point().coincident(y->start_point(), tol) ||
                      !x->end_point().coincident(y->end_point(), tol) ||
                      (x->is_of_class_arc() && !x->mid_point().coincident(y->mid_point(), tol));
    }
    EXPECT_EQ(mismatched, 0);
    EXPECT_NEAR(a.area, b.area, 1e-9 * std::max(1.0, std::fabs(b.area)));
    return a.temps();
}

// Distance in XY from P to the polyline (arcs exact).
inline double distance_to(const giPoint3& P, const velAbsPolyArcLine& line) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    double t = -1.0, d = DBL_MAX;
    velPolylineUtils::get_closest_point(giPoint3(P.x, P.y, 0.0), it, 0.0, line.num_pos() - 1.0, t, d);
    return d;
}

// The smallest and largest distance from `line` of the points of `span` at `samples` + 1 equal parameter
// steps.
inline std::pair<double, double> distance_range(const velAbsSpan& span, const velAbsPolyArcLine& line,
                                                int samples = 16) {
    double lo = DBL_MAX, hi = 0.0;
    for (int k = 0; k <= samples; ++k) {
        const double d = distance_to(span.parameter_point(static_cast<double>(k) / samples), line);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
    return {lo, hi};
}

// The input `line` flattened to z = 0 (distances are measured in XY).
inline Line flat(const velAbsPolyArcLine& line) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    std::vector<V> vs = utiltest::vertices(it);
    for (V& v : vs) {
        v.p.z = 0.0;
        if (v.mid) v.mid->z = 0.0;
    }
    return make_line(vs);
}

// A random convex closed poly-arc-line, anticlockwise.
inline Line random_convex(Rng& rng, int corners_count) {
    std::vector<double> angles;
    for (int i = 0; i < corners_count; ++i)
        angles.push_back(rng.uniform(0.0, 2.0 * pi));
    std::sort(angles.begin(), angles.end());
    const double a = rng.uniform(5.0, 20.0), b = rng.uniform(5.0, 20.0);
    const giVector3 c{rng.uniform(-10, 10), rng.uniform(-10, 10), 0.0};
    std::vector<giPoint3> pts;
    for (double t : angles)
        pts.push_back(giPoint3(a * std::cos(t), b * std::sin(t), 0.0) + c);
    // Drop corners too close to their predecessor (a span of no length) and keep it simple.
    std::vector<giPoint3> kept;
    for (const giPoint3& p : pts)
        if (kept.empty() || p.distance(kept.back()) > 0.05) kept.push_back(p);
    while (kept.size() > 3 && kept.front().distance(kept.back()) <= 0.05)
        kept.pop_back();
    const int n = static_cast<int>(kept.size());
    // Exterior angle at each corner.
    auto dir = [&](int i) {
        return kept[static_cast<std::size_t>((i + 1) % n)] - kept[static_cast<std::size_t>(i % n)];
    };
    std::vector<double> turn(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const giVector3 u = dir(i + n - 1), v = dir(i);
        turn[static_cast<std::size_t>(i)] = std::atan2(u.x() * v.y() - u.y() * v.x(), u.dot(v));
    }
    std::vector<V> vs{{kept[0], {}}};
    for (int i = 0; i < n; ++i) {
        const giPoint3 s = kept[static_cast<std::size_t>(i)], e = kept[static_cast<std::size_t>((i + 1) % n)];
        V v{e, {}};
        if (rng.pick(0, 1) == 1) {
            // Half the sweep turns each end tangent outwards.
            const double limit = 0.45 * std::min(turn[static_cast<std::size_t>(i)],
                                                 turn[static_cast<std::size_t>((i + 1) % n)]);
            const double half_sweep = rng.uniform(0.05, 1.0) * limit;
            const double bulge = std::tan(half_sweep / 2.0);
            const giVector3 d = e - s;
            v.mid = giPoint3((s.x + e.x) / 2 + d.y() * bulge / 2, (s.y + e.y) / 2 - d.x() * bulge / 2, 0.0);
        }
        vs.push_back(v);
    }
    return make_line(vs);
}

// A span that records which offsetting property hooks it received, and answers should_span_be_offset
// with 1 only for the property set `offset_set` (any set when it is 0). Spans it makes are of its class.
class PropertySpan : public velFreeSpan {
public:
    PropertySpan(const giPoint3& S, const giPoint3& E, const giPoint3& M = giPoint3(), int offset_set = 0)
        : velFreeSpan(S, E, M), m_offset_set(offset_set) {}
    PropertySpan(const PropertySpan&) = default;

    enum Hook { none = 0, added = 1, added_order = 2, order_kept = 3, added_from = 4 };
    Hook hook = none;

    velAbsSpancoPrf create_new() const override { return std::make_shared<PropertySpan>(*this); }
    velAbsSpancoPrf create_arc_span(const giPoint3& S, const giPoint3& E, const giPoint3& M) const override {
        return std::make_shared<PropertySpan>(S, E, M, m_offset_set);
    }
    velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const override {
        return std::make_shared<PropertySpan>(S, E, giPoint3(), m_offset_set);
    }
    velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const override {
        auto span = std::make_shared<PropertySpan>(S, E, giPoint3(), m_offset_set);
        span->m_temp = 1;
        return span;
    }
    int is_temp_line_span() const override { return m_temp; }

    int should_span_be_offset(int set) const override { return m_offset_set == 0 || set == m_offset_set; }
    int properties_exist() const override { return 1; }
    void add_properties(const velAbsSpan&, const velAbsSpan&) override { hook = added; }
    void add_properties(const velAbsSpan&) override { hook = added_from; }
    void add_order_properties(const velAbsSpan&, const velAbsSpan&) override { hook = added_order; }
    void delete_properties_keeping_order() override { hook = order_kept; }

private:
    int m_offset_set;
    int m_temp = 0;
};

// A vector contour of PropertySpans through the corners (closed when the last equals the first).
inline std::shared_ptr<velSpanVectorContour> property_contour(const std::vector<giPoint3>& pts,
                                                              const std::vector<int>& sets = {}) {
    auto c = std::make_shared<velSpanVectorContour>();
    for (std::size_t k = 0; k + 1 < pts.size(); ++k)
        c->append(std::make_shared<PropertySpan>(pts[k], pts[k + 1], giPoint3(), sets.empty() ? 0 : sets[k]));
    return c;
}

} // namespace offsettest
