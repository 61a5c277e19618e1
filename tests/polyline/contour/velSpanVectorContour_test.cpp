#include "arcline/polyline/contour/velSpanVectorContour.h"

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/polyline/contour/velFreeSpan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace velSpanVectorContour_test {

namespace {

constexpr double pi = std::numbers::pi;

velAbsSpancoPrf line(double x0, double y0, double x1, double y1) {
    return std::make_shared<velFreeSpan>(giPoint3(x0, y0, 0), giPoint3(x1, y1, 0));
}

TEST(SpanVectorContour, KeepsItsSpanObjectsAndStaysConnected) {
    velSpanVectorContour c;
    const velAbsSpancoPrf first = line(0, 0, 1, 0);
    EXPECT_EQ(c.append(first), 1);
    EXPECT_EQ(c.get_span(1), first); // the object itself
    // A span starting elsewhere is moved to start at the last point.
    const velAbsSpancoPrf apart = line(1, 1, 2, 1);
    EXPECT_EQ(c.append(apart), 1);
    EXPECT_TRUE(apart->start_point() == giPoint3(1, 0, 0));
    EXPECT_EQ(c.append(velAbsSpancoPrf()), 0);
    EXPECT_EQ(c.append(c.invalid_span()), 0);
    EXPECT_TRUE(c.invalid_span()->invalid());
    EXPECT_EQ(c.size(), 2);
    EXPECT_FALSE(c.get_span(0));
    EXPECT_FALSE(c.get_span(3));
    EXPECT_EQ(c.get_cursor(), nullptr);
    // Changes through a handle change the contour.
    c.get_span(2)->copy_to_end_point({5, 5, 0});
    EXPECT_TRUE(c.last_point() == giPoint3(5, 5, 0));
    EXPECT_DOUBLE_EQ(c.get_width(), 5);
    EXPECT_DOUBLE_EQ(c.get_height(), 5);
    EXPECT_EQ(c.clone()->size(), 0);
    EXPECT_EQ(std::unique_ptr<velPolylineListCursor>(c.create_empty_cursor())->size(), 0);
    // Edits are checked against the poly-arc-line view in ContourViews; a small arc of large sweep is no
    // degenerate span.
    velSpanVectorContour round;
    round.append(std::make_shared<velFreeSpan>(giPoint3(0, 0, 0), giPoint3(1e-6, 0, 0), giPoint3(0, 2, 0)));
    EXPECT_EQ(round.clean(1e-5), 0);
    EXPECT_EQ(round.size(), 1);
}

} // namespace

} // namespace velSpanVectorContour_test
