// Douglas-Peucker thinning of closed polylines, worked by hand. The first range runs from the start to the
// repeated start: a degenerate chord, from which every position lies at DBL_MAX (the foot's parameter is
// not a number), so the first of them, position 1, is kept; thinning then goes on from there.

#include "utilsTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

namespace velSimpleStripClosed_test {

using namespace utiltest;

namespace {

std::vector<giPoint2> stripped(std::initializer_list<giPoint2> pts, double tol) {
    std::vector<V> vs;
    for (const giPoint2& p : pts)
        vs.push_back({p.xyz(0), {}});
    const One src(vs);
    velAbsPolyArcLineListCursor out;
    out.create_polyline();
    ++out;
    velPolylineUtils::simple_strip(src.it, tol, out);
    std::vector<giPoint2> got;
    for (int i = 0; i < out.num_pos(); ++i)
        got.push_back(out.get_pos(i).xy());
    return got;
}

using Pts = std::vector<giPoint2>;

} // namespace

TEST(velSimpleStripClosed, HandWorkedClosedPolylines) {
    // Square, tol 1: (1, 0) kept first; from (1, 0) to (0, 0) both (1, 1) and (0, 1) lie 1 away and the
    // first wins; (0, 1) lies sqrt(0.5) from (1, 1)-(0, 0) and goes.
    EXPECT_EQ(stripped({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, 1.0), (Pts{{0, 0}, {1, 0}, {1, 1}, {0, 0}}));
    // tol 0.5: everything stays.
    EXPECT_EQ(stripped({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, 0.5).size(), 5u);
    // (5, 0.01) is kept first although it lies 0.01 from the chord (0, 0)-(10, 0); then (10, 0) lies 5 from
    // the chord (5, 0.01)-(0, 0) (at its end) and (5, 3) lies 3 from (10, 0)-(0, 0).
    EXPECT_EQ(stripped({{0, 0}, {5, 0.01}, {10, 0}, {5, 3}, {0, 0}}, 0.1),
              (Pts{{0, 0}, {5, 0.01}, {10, 0}, {5, 3}, {0, 0}}));
    // A closed polyline smaller than tol keeps its first corner: it does not collapse onto its start.
    EXPECT_EQ(stripped({{0, 0}, {0.01, 0}, {0, 0.01}, {0, 0}}, 1.0), (Pts{{0, 0}, {0.01, 0}, {0, 0}}));
    // Open polylines are untouched by the rule: (2, 1e-3) is dropped from the chord (0, 0)-(4, 0).
    EXPECT_EQ(stripped({{0, 0}, {2, 1e-3}, {4, 0}}, 0.1), (Pts{{0, 0}, {4, 0}}));
}

} // namespace velSimpleStripClosed_test
