#pragma once
// Describing geometry by its properties rather than by its vertices (see tests/support/README).
//
// `Props` is what a test states about a polyline or a whole list: polylines, positions, arc spans, closed
// polylines, signed XY area (of the closed ones, anticlockwise positive, so holes subtract), length and 3D
// box. `props_of` computes them from the current polyline of an iterator, a single polyline, or a whole list
// walked with reset() and ++. The computation is this file's own: lengths and areas of arcs come from the
// inscribed angle at the mid point and boxes from the circle's extreme points, not from the library's
// measuring code, so a matcher can check that code. `same_props` / `HasProps` compare with a stated `Tol`
// and print both records and every differing field.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>
#include <sstream>
#include <vector>

namespace support {

using Polylines = std::vector<std::unique_ptr<velAbsPolyArcLine>>;

struct Props {
    int polylines = 0;
    int positions = 0;
    int arcs = 0;
    int closed = 0;
    double area = 0.0; // of the closed polylines, XY, anticlockwise positive
    double length = 0.0;
    giBox3 box;

    // Adds another polyline's (or list's) properties: counts, area and length add up, boxes merge.
    void add(const Props& o) {
        polylines += o.polylines;
        positions += o.positions;
        arcs += o.arcs;
        closed += o.closed;
        area += o.area;
        length += o.length;
        box.merge(o.box);
    }
    // The sidecar line of tests/data: polylines positions arcs closed area length minx miny minz maxx maxy
    // maxz.
    friend std::ostream& operator<<(std::ostream& os, const Props& p) {
        os.precision(17);
        os << p.polylines << ' ' << p.positions << ' ' << p.arcs << ' ' << p.closed << ' ' << p.area << ' '
           << p.length;
        if (p.box.empty()) return os << " empty";
        return os << ' ' << p.box.min().x << ' ' << p.box.min().y << ' ' << p.box.min().z << ' '
                  << p.box.max().x << ' ' << p.box.max().y << ' ' << p.box.max().z;
    }
};

// Allowed differences: `abs` is a distance (box faces within abs, length within abs per span, area within
// abs times the length, a band of width abs along the boundary), `rel` a fraction of the expected value.
struct Tol {
    double abs = 1e-9;
    double rel = 1e-12;
};

namespace detail {

// The arc from a through m to e: its sweep (the inscribed angle at m subtends the other arc) and radius.
struct Arc {
    double sweep = 0.0;  // radians in [0, 2 pi)
    double radius = 0.0; // infinite when the three points are collinear
    double chord = 0.0;
};
inline Arc arc_through(const giVector3& am, const giVector3& em, double chord) {
    const double angle_at_m = std::atan2(am.cross(em).length(), am.dot(em));
    const double half = std::numbers::pi - angle_at_m; // half the sweep
    return {2 * half, half > 0 ? chord / (2 * std::sin(half)) : INFINITY, chord};
}

inline double arc_length(const Arc& k) {
    const double half = k.sweep / 2;
    return half < 1e-8 ? k.chord : k.chord * half / std::sin(half);
}

// The signed XY area between the chord a-e and the XY projection of the arc through m: positive when the arc
// bulges right of a->e, outwards for an anticlockwise boundary.
inline double segment_area(const giPoint3& a, const giPoint3& m, const giPoint3& e) {
    const giVector3 am{a.x - m.x, a.y - m.y, 0}, em{e.x - m.x, e.y - m.y, 0};
    const Arc k = arc_through(am, em, std::hypot(e.x - a.x, e.y - a.y));
    if (k.sweep < 1e-12) return 0.0;
    const double r = k.chord / (2 * std::sin(k.sweep / 2));
    const double side = (m.x - a.x) * (e.y - a.y) - (m.y - a.y) * (e.x - a.x); // > 0: m right of a->e
    const double f = k.sweep, f2 = f * f; // f - sin f, by its series where it cancels
    const double f_less_sin = f < 1e-2 ? f * f2 / 6 * (1 - f2 / 20 * (1 - f2 / 42)) : f - std::sin(f);
    return (side > 0 ? 1.0 : -1.0) * r * r / 2 * f_less_sin;
}

// Merges the points of the arc a-m-e that are extreme in x, y or z.
inline void merge_arc_extremes(giBox3& box, const giPoint3& a, const giPoint3& m, const giPoint3& e) {
    const giVector3 ab = m - a, ac = e - a;
    const giVector3 n = ab.cross(ac);
    const double n2 = n.dot(n);
    if (n2 <= 1e-30 * ab.dot(ab) * ac.dot(ac)) return; // collinear: the ends bound it
    // Circumcentre of a, m, e.
    const giVector3 to_c = (n.cross(ab) * ac.dot(ac) + ac.cross(n) * ab.dot(ab)) * (1.0 / (2 * n2));
    const giPoint3 c = a + to_c;
    const double r = to_c.length();
    giVector3 u = a - c, v = n.cross(u);
    u.unitize();
    v.unitize();
    // a, m, e turn anticlockwise about n, so the arc runs from angle 0 (a) through m to its sweep (e).
    const double sweep = arc_through(a - m, e - m, a.distance(e)).sweep;
    const double uk[3] = {u.x(), u.y(), u.z()}, vk[3] = {v.x(), v.y(), v.z()};
    for (int k = 0; k < 3; ++k) {
        for (double t : {std::atan2(vk[k], uk[k]), std::atan2(-vk[k], -uk[k])}) {
            if (t < 0) t += 2 * std::numbers::pi;
            if (t <= sweep) box.merge(c + u * (r * std::cos(t)) + v * (r * std::sin(t)));
        }
    }
}

} // namespace detail

// Properties of the current polyline of `it`; `closed` when its ends coincide within `closed_tol` (relative
// to the size of the coordinates).
inline Props props_of(const velPolylineListIter& it, double closed_tol = 1e-10) {
    Props p;
    p.polylines = 1;
    const int n = it.num_pos();
    p.positions = n;
    if (n == 0) return p;
    const giPoint3 o = it.get_pos(0);
    const double scale = 1 + std::max({std::fabs(o.x), std::fabs(o.y), std::fabs(o.z)});
    p.closed = n > 1 && o.coincident(it.get_pos(n - 1), closed_tol * scale) ? 1 : 0;
    p.box.merge(o);
    double area = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        const giPoint3 a = it.get_pos(i), e = it.get_pos(i + 1);
        p.box.merge(e);
        area += (a.x - o.x) * (e.y - o.y) - (e.x - o.x) * (a.y - o.y); // shoelace about the start: no
                                                                       // cancellation far from the origin
        if (it.span_linear(i)) {
            p.length += a.distance(e);
            continue;
        }
        ++p.arcs;
        const giPoint3 m = it.get_mid_pos(i);
        p.length += detail::arc_length(detail::arc_through(a - m, e - m, a.distance(e)));
        area += 2 * detail::segment_area(a, m, e);
        detail::merge_arc_extremes(p.box, a, m, e);
    }
    if (p.closed) p.area = area / 2;
    return p;
}

inline Props props_of(const velAbsPolyArcLine& line, double closed_tol = 1e-10) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    return props_of(it, closed_tol);
}

// Properties of every polyline of the list together.
inline Props list_props_of(velPolylineListIter& it, double closed_tol = 1e-10) {
    Props all;
    it.reset();
    while (++it)
        all.add(props_of(it, closed_tol));
    return all;
}

inline Props list_props_of(const Polylines& lines, double closed_tol = 1e-10) {
    Props all;
    for (const auto& l : lines)
        all.add(props_of(*l, closed_tol));
    return all;
}

// Success when `got` has `want`'s counts exactly and its measures within `tol`; else a message naming
// every field that differs.
inline ::testing::AssertionResult same_props(const Props& got, const Props& want, const Tol& tol = {}) {
    std::ostringstream why;
    why.precision(17);
    const auto count = [&](const char* name, int g, int w) {
        if (g != w) why << "\n  " << name << ": " << g << ", expected " << w;
    };
    const auto near = [&](const char* name, double g, double w, double abs) {
        const double slack = abs + tol.rel * std::fabs(w);
        if (!(std::fabs(g - w) <= slack))
            why << "\n  " << name << ": " << g << ", expected " << w << " (off by " << g - w << ", allowed "
                << slack << ")";
    };
    count("polylines", got.polylines, want.polylines);
    count("positions", got.positions, want.positions);
    count("arcs", got.arcs, want.arcs);
    count("closed", got.closed, want.closed);
    near("length", got.length, want.length, tol.abs * std::max(1, want.positions));
    near("area", got.area, want.area, tol.abs * std::max(1.0, want.length));
    if (got.box.empty() != want.box.empty()) {
        why << "\n  box: " << (got.box.empty() ? "empty" : "not empty") << ", expected the other";
    } else if (!want.box.empty()) {
        const giPoint3 g[2] = {got.box.min(), got.box.max()}, w[2] = {want.box.min(), want.box.max()};
        const char* names[2][3] = {{"box min x", "box min y", "box min z"},
                                   {"box max x", "box max y", "box max z"}};
        for (int k = 0; k < 2; ++k) {
            near(names[k][0], g[k].x, w[k].x, tol.abs);
            near(names[k][1], g[k].y, w[k].y, tol.abs);
            near(names[k][2], g[k].z, w[k].z, tol.abs);
        }
    }
    if (why.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "properties differ:\n  got      " << got << "\n  expected " << want << why.str();
}

// EXPECT_THAT(props_of(line), HasProps(want, tol)).
MATCHER_P2(HasProps, want, tol, "has the properties " + ::testing::PrintToString(want)) {
    const ::testing::AssertionResult r = same_props(arg, want, tol);
    if (!r) *result_listener << r.message();
    return static_cast<bool>(r);
}

} // namespace support
