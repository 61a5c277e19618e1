#pragma once
// Shared pieces of the view and adapter tests: lists in a cursor, polylines mapped point by point (to build a
// list that a view maps back), exact comparison of two lists, and the box check that every view must pass.

#include "listTestKit.h"

#include "../support/metamorphic.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/platform/giWorkplane3.h"
#include "arcline/polyline/spans/velArc3Utils.h"

#include <functional>
#include <memory>
#include <numeric>
#include <vector>

namespace viewtest {

using listtest::Polylines;
using listtest::Rng;

inline std::unique_ptr<velAbsPolyArcLineListCursor> list_of(const Polylines& in) {
    auto c = std::make_unique<velAbsPolyArcLineListCursor>();
    listtest::fill(*c, in);
    return c;
}

// A straight polyline of n positions along X at y = tag, appended to the list.
inline void add_tagged_line(velPolylineListCursor& list, int n, double tag) {
    Polylines one;
    one.push_back(std::make_unique<velPolyArcLineDouble>());
    for (int i = 0; i < n; ++i)
        one.back()->add_pos({double(i), tag, 0.0});
    listtest::fill(list, one);
}

// n polylines (k, 0, 0) (k, 1, 0) for k = from, from + 1, ...
inline Polylines numbered(int from, int n) {
    Polylines v;
    for (int k = from; k < from + n; ++k) {
        v.push_back(std::make_unique<velPolyArcLineDouble>());
        v.back()->add_pos({double(k), 0, 0});
        v.back()->add_pos({double(k), 1, 0});
    }
    return v;
}

// The x of each polyline's first position, walking the cursor from reset.
inline std::vector<double> first_xs(velPolylineListCursor& c) {
    std::vector<double> xs;
    for (c.reset(); ++c;)
        xs.push_back(c.get_pos(0).x);
    return xs;
}

inline giWorkplane3 random_workplane(Rng& rng) {
    auto v = [&] { return giVector3{rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1)}; };
    return {giPoint3(v() * 50.0), v(), v()};
}

// The same polylines, positions and arc mid points, compared exactly; both iterators are walked from reset.
inline void expect_same_lists(velPolylineListIter& a, velPolylineListIter& b) {
    ASSERT_EQ(a.size(), b.size());
    for (a.reset(), b.reset(); ++a;) {
        ASSERT_EQ(++b, 1);
        ASSERT_EQ(a.num_pos(), b.num_pos());
        for (int i = 0; i < a.num_pos(); ++i) {
            EXPECT_EQ(a.get_pos(i), b.get_pos(i));
            if (i > 0 && !a.span_linear(i - 1)) {
                EXPECT_EQ(a.get_mid_pos(i - 1), b.get_mid_pos(i - 1));
            }
        }
    }
}

// p with every position and arc mid point mapped by f; arcs stay arcs (f must keep circles circles).
inline std::unique_ptr<velAbsPolyArcLine> mapped(const velAbsPolyArcLine& p,
                                                 const std::function<giPoint3(const giPoint3&)>& f) {
    std::vector<int> order(static_cast<std::size_t>(p.num_pos()));
    std::iota(order.begin(), order.end(), 1);
    return support::rebuilt(p, order, false, f);
}

inline Polylines mapped(const Polylines& in, const std::function<giPoint3(const giPoint3&)>& f) {
    Polylines out;
    for (const auto& p : in)
        out.push_back(mapped(*p, f));
    return out;
}

// The point halfway along the arc from s through m to e, m being any point of it: on the circle through the
// three, on the chord's bisector, on m's side of the chord. The chord's midpoint for collinear points.
inline giPoint3 halfway(const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    giPoint3 c;
    double r = 0.0;
    velArc3Utils::get_centre_and_radius(s, e, m, c, r);
    const giPoint3 q = s.interpolate(e, 0.5);
    giVector3 u = e - s;
    u.unitize();
    giVector3 d = (m - q) - u * (m - q).dot(u);
    if (r == 0.0 || d.unitize() == 0.0) return q;
    return c + d * r;
}

// p walked backwards; each arc keeps its mid point.
inline std::unique_ptr<velAbsPolyArcLine> reversed(const velAbsPolyArcLine& p) {
    return support::Morph{support::Morph::reversed}.polyline(p);
}

// Every box of the current polyline holds its points sampled densely with get_interpolated_pos, and each
// face of each box is reached by a sample: the boxes are exact for the geometry presented.
inline void expect_tight_boxes(const velPolylineListIter& it) {
    constexpr int samples = 400;
    constexpr double inside_tol = 1e-9;
    constexpr double reach_tol = 1e-2; // samples 1/400 of a sweep apart come this close to an extreme
    const int n = it.num_pos();
    if (n == 0) return;
    giBox3 all;
    all.merge(it.get_pos(0));
    for (int i = 0; i + 1 < n; ++i) {
        giBox3 sampled;
        for (int j = 0; j <= samples; ++j)
            sampled.merge(it.get_interpolated_pos(i + j / double(samples)));
        const giBox3 b3 = it.span_box(i, vel_3d_box);
        const giBox2 b2 = it.span_box(i, vel_2d_box);
        EXPECT_TRUE(b3.contains(sampled.min(), inside_tol) && b3.contains(sampled.max(), inside_tol)) << i;
        EXPECT_TRUE(sampled.contains(b3.min(), reach_tol) && sampled.contains(b3.max(), reach_tol)) << i;
        EXPECT_TRUE(b2.contains(sampled.xy().min(), inside_tol) &&
                    b2.contains(sampled.xy().max(), inside_tol));
        EXPECT_TRUE(sampled.xy().contains(b2.min(), reach_tol) && sampled.xy().contains(b2.max(), reach_tol));
        all.merge(sampled);
    }
    const giBox3 b3 = it.box(vel_3d_box);
    const giBox2 b2 = it.box(vel_2d_box);
    EXPECT_TRUE(b3.contains(all.min(), inside_tol) && b3.contains(all.max(), inside_tol));
    EXPECT_TRUE(all.contains(b3.min(), reach_tol) && all.contains(b3.max(), reach_tol));
    EXPECT_TRUE(b2.contains(all.xy().min(), inside_tol) && b2.contains(all.xy().max(), inside_tol));
    EXPECT_TRUE(all.xy().contains(b2.min(), reach_tol) && all.xy().contains(b2.max(), reach_tol));
}

} // namespace viewtest
