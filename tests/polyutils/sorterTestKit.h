#pragma once
// Shared pieces of the sorter's and the region operations' tests.

#include "tests/intersect/bspTestKit.h"
#include "tests/support/metamorphic.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace sortertest {

using namespace bsptest;
using support::Polylines;

// Rectangle [x0, x1] x [y0, y1], anticlockwise unless !ccw.
inline std::unique_ptr<velAbsPolyArcLine> rect(double x0, double y0, double x1, double y1, bool ccw = true) {
    std::vector<V> pts{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
    if (!ccw) std::reverse(pts.begin(), pts.end());
    return polyline(pts);
}

inline std::unique_ptr<velAbsPolyArcLine> circle(double cx, double cy, double r, bool ccw = true) {
    const double b = ccw ? 1.0 : -1.0;
    return polyline({{cx + r, cy}, {cx - r, cy}, {cx + r, cy}}, {b, b});
}

template <class... P>
Polylines of(P&&... parts) {
    Polylines out;
    (out.push_back(std::forward<P>(parts)), ...);
    return out;
}

struct Outcome {
    int code = 0;
    int loops = 0;
    int holes = 0; // clockwise loops
    double area = 0.0;
    double smallest = INFINITY; // smallest |area| of a loop
    int open = 0;
    int crossings = 0;   // 1 when loops cross (each other or themselves)
    int misoriented = 0; // loops whose orientation disagrees with their depth
};

inline Outcome describe(velPolylineListIter& it, int code = 0) {
    Outcome o;
    o.code = code;
    for (it.reset(); ++it;) {
        const double area = velPolylineUtils::area(it);
        ++o.loops;
        o.holes += area < 0.0;
        o.area += area;
        o.smallest = std::min(o.smallest, std::fabs(area));
        o.open += it.get_pos(0) != it.get_pos(it.num_pos() - 1);
    }
    velPolylineSorter sorter;
    o.crossings = sorter.any_intersections(it);
    std::vector<int> flips;
    sorter.orient(it, nullptr, &flips);
    o.misoriented = static_cast<int>(std::count(flips.begin(), flips.end(), 1));
    return o;
}

// A list holding copies of `lines`.
inline void fill(List& list, const Polylines& lines) {
    for (const auto& p : lines)
        list.add(std::unique_ptr<velAbsPolyArcLine>(p->create_new()));
}

// The parent of every boundary 0 .. n - 1 in a nesting tree.
inline std::vector<int> parents(intNaryTree& tree, int n) {
    std::vector<int> parent(static_cast<std::size_t>(n), -2);
    std::function<void()> walk = [&] {
        const int here = tree.Read();
        for (int k = 0; k < tree.NumOffspring(); ++k) {
            tree.Down(k);
            int& p = parent[static_cast<std::size_t>(tree.Read())];
            p = p == -2 ? here : -3;
            walk();
            tree.Up();
        }
    };
    tree.Root();
    walk();
    return parent;
}

} // namespace sortertest
