#include "arcline/polyline/velPolyLine.h"

#include "arcline/polyline/velPolyLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace velPolyLine_test {

namespace {

using polytest::pos;

template <class L>
class PolyLineStraightOnly : public ::testing::Test {};
using StraightClasses = ::testing::Types<velPolyLine, velPolyLineDouble>;
TYPED_TEST_SUITE(PolyLineStraightOnly, StraightClasses);

TYPED_TEST(PolyLineStraightOnly, ArcsAreRefusedWithTheirMessages) {
    polytest::ReportCapture reports;
    TypeParam line;
    line.add_pos({0, 0, 0});
    line.add_pos({2, 0, 0});
    const giPoint3 end(4, 0, 0), m(3, 1, 0);
    line.add_arc(m, end);
    EXPECT_EQ(line.num_pos(), 2); // nothing added
    EXPECT_EQ(line.ok_to_add_arc(m, end) + line.ok_to_edit_mid_pos(1, m), 0);
    line.edit_mid_pos(1, m);
    EXPECT_EQ(line.span_linear(1), 1);
    EXPECT_TRUE(polytest::mid(line, 1).is_unset());
    EXPECT_EQ(line.can_hold_arcs(), 0);

    // The add_arc message names velPolyLine in both classes; the check of a mid point keeps its old spelling
    // in the single-precision class.
    const bool single = std::is_same_v<TypeParam, velPolyLine>;
    const std::string n = single ? "velPolyLine" : "velPolyLineDouble";
    const std::pair<std::string, std::string> reported[] = {
        {"velPolyLine::add_arc() This geometry cannot contain arcs", n + "::add_arc"},
        {n + "::ok_to_add_arc() This geometry cannot contain arcs", n + "::ok_to_add_arc"},
        {n + (single ? "::ok_to_edi_mid_pos()" : "::ok_to_edit_mid_pos()") +
             " This geometry cannot contain arcs",
         n + "::ok_to_edit_mid_pos"}};
    EXPECT_EQ(polytest::ReportCapture::log, std::vector(std::begin(reported), std::end(reported)));
}

TYPED_TEST(PolyLineStraightOnly, PagesGrowWithTheCount) {
    TypeParam line;
    const int factor_after[][2] = {{4, 2}, {5, 3}, {9, 4}, {1024, 10}, {1500, 10}};
    for (int n = 0; const auto& [count, k] : factor_after) {
        for (; n < count; ++n)
            line.add_pos({static_cast<double>(n), 0, -1});
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    EXPECT_EQ(pos(line, 1500), giPoint3(1499, 0, -1));
    line.reset();
    line.reserve(100);
    EXPECT_EQ(line.page_factor(), 7);
}

TEST(velPolyLine, ArchiveImage) {
    velPolyLine line;
    line.add_pos({1, 2, 3});
    line.add_pos({-0.5, 1e-3, 7});
    std::string expected;
    polytest::put_ints(expected, {1, 1, 2});
    polytest::put_floats(expected, {1, 2, 3, -0.5, 1e-3f, 7});
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);
    velPolyLine loaded;
    polytest::load_bytes(loaded, bytes);
    EXPECT_TRUE(loaded == line);
}

// A straight line is its own polygonization: the line's own point array, whatever the tolerance. Whoever
// holds it keeps what it was given when the line changes.
TEST(velPolyLine, PolygonizationIsTheLineItself) {
    velPolyLine line;
    for (int i = 0; i < 6; ++i)
        line.add_pos({i * 0.5, i * i * 0.25, 1});
    const giFloatArray3coPageArrcoPrf held = line.get_polygonized_points(1e-6, 0);
    ASSERT_EQ(held->size(), 6);
    EXPECT_EQ(held->read(5), giFloatArray3(2.5f, 6.25f, 1));
    for (double tol : {1e-3, 100.0})
        EXPECT_EQ(line.get_polygonized_points(tol, 0).get(), held.get());

    line.edit_pos(1, {-1, -1, -1});
    line.add_pos({9, 9, 9});
    EXPECT_EQ(held->size(), 6);
    EXPECT_EQ(held->read(0), giFloatArray3(0, 0, 1));
    const auto& now = line.get_polygonized_points(1e-6, 0);
    ASSERT_EQ(now->size(), 7);
    EXPECT_EQ(now->read(0), giFloatArray3(-1, -1, -1));
    EXPECT_EQ(now->read(6), giFloatArray3(9, 9, 9));
}

TEST(velPolyLineDouble, SerializeIsRefused) {
    polytest::ReportCapture reports;
    velPolyLineDouble line;
    line.add_pos({1, 2, 3});
    EXPECT_EQ(polytest::stored_bytes(line), "");
    ASSERT_EQ(polytest::ReportCapture::log.size(), 1u);
    EXPECT_EQ(polytest::ReportCapture::log[0].first, "Do not want to serialise velPolyLineDouble");
}

} // namespace

} // namespace velPolyLine_test
