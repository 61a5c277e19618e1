#include "arcline/platform/torCompCurve3.h"

#include "arcline/platform/torArc3.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/torPolygonizeTRP3.h"
#include "arcline/platform/torPolyline2.h"
#include "arcline/platform/torPolyline3.h"

#include <gtest/gtest.h>

#include <memory>

namespace torCompCurve3_test {

namespace {

// A line of range 1, a quarter circle of range 1 and a point-array curve of range 2, end to end.
std::shared_ptr<torCompCurve3> line_arc_polyline() {
    const double h = std::sqrt(0.5);
    return std::make_shared<torCompCurve3>(std::vector<torCurvePtr3>{
        std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(2, 0, 0)),
        std::make_shared<torArc3>(giPoint3(2, 0, 0), giPoint3(2 + h, 1 - h, 0), giPoint3(3, 1, 0)),
        std::make_shared<torPolyline3>(std::vector<giPoint3>{{3, 1, 0}, {3, 2, 0}, {4, 2, 1}})});
}

TEST(torCompCurve3, PartsTakeShiftedParameters) {
    const auto c = line_arc_polyline();
    EXPECT_EQ(c->num_curves(), 3);
    EXPECT_EQ(c->part_start(2), 2.0);
    EXPECT_EQ(c->end_param(), 4.0);
    EXPECT_EQ(c->evaluate(0.25), giPoint3(0.5, 0, 0));
    EXPECT_EQ(c->evaluate(1.5), c->get_curve(1)->evaluate(0.5));
    EXPECT_EQ(c->evaluate(3.5), giPoint3(3.5, 2, 0.5));
    EXPECT_EQ(c->evaluate(9), giPoint3(4, 2, 1));
}

// The composite's polygon is its parts' polygons joined once at each joint; a piece from inside one part to
// inside another polygonizes from its own start.
TEST(torCompCurve3, PolygonJoinsThePartsPolygons) {
    const auto c = line_arc_polyline();
    std::vector<giPoint3> pts;
    std::vector<double> ts;
    torPolygonizeTRP3::polygonize(*c, 0.01, pts, ts);
    // Line: 0, 1. Quarter circle of radius 1 within 0.01: 6 chords (2 acos(0.99) = 0.283 rad each at most).
    // Polyline: 3, 4.
    ASSERT_EQ(ts.size(), 10u);
    EXPECT_EQ(ts[1], 1.0);
    EXPECT_EQ(ts[7], 2.0);
    EXPECT_EQ(ts[8], 3.0);
    for (std::size_t k = 0; k < ts.size(); ++k)
        EXPECT_EQ(pts[k], c->evaluate(ts[k]));

    const torCurvePtr3 piece = c->subcurve(3.5, 0.5);
    torPolygonizeTRP3::polygonize(*piece, 0.01, pts, ts);
    EXPECT_EQ(pts.front(), giPoint3(3.5, 2, 0.5));
    EXPECT_EQ(pts.back(), giPoint3(1, 0, 0));
    EXPECT_EQ(ts.size(), 10u); // 3.5, 3, 2, the arc's six chords back to 1, then 0.5
}

TEST(torPolyline3, ParametersRunAlongTheChords) {
    torPolyline3 p(std::vector<giPoint3>{{1, 1, 1}, {3, 1, 1}});
    p.append({3, 5, 1});
    EXPECT_EQ(p.evaluate(1.25), giPoint3(3, 2, 1));
    std::vector<double> ts;
    p.polygon_params(0.5, 2.0, 1e-3, ts);
    EXPECT_EQ(ts, (std::vector<double>{0.5, 1.0, 2.0}));
    EXPECT_EQ(torPolyline2(std::vector<giPoint2>{{0, 0}, {2, 0}, {2, 2}}).evaluate(1.5), giPoint2(2, 1));
}

} // namespace

} // namespace torCompCurve3_test
