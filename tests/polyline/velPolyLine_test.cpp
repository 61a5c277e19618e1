#include "arcline/polyline/velPolyLine.h"

#include "arcline/polyline/velPolyLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <type_traits>

namespace {

using polytest::pos;

template <class L>
class PolyLineStraightOnly : public ::testing::Test {
protected:
    static constexpr bool single = std::is_same_v<L, velPolyLine>;
    static std::string name() { return single ? "velPolyLine" : "velPolyLineDouble"; }
};
using StraightClasses = ::testing::Types<velPolyLine, velPolyLineDouble>;
TYPED_TEST_SUITE(PolyLineStraightOnly, StraightClasses);

TYPED_TEST(PolyLineStraightOnly, ArcsAreRefusedWithTheirMessages) {
    polytest::ReportCapture reports;
    const auto& log = polytest::ReportCapture::log();
    TypeParam line;
    line.add_pos({0, 0, 0});
    line.add_pos({2, 0, 0});
    const giPoint3 end(4, 0, 0), m(3, 1, 0);

    line.add_arc(m, end);
    EXPECT_EQ(line.num_pos(), 2); // nothing added
    EXPECT_EQ(pos(line, 2), giPoint3(2, 0, 0));
    EXPECT_EQ(line.ok_to_add_arc(m, end), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, m), 0);
    line.edit_mid_pos(1, m);
    EXPECT_EQ(line.span_linear(1), 1);
    giPoint3 mid(5, 5, 5);
    line.get_mid_pos(1, mid);
    EXPECT_TRUE(mid.is_unset());
    EXPECT_EQ(line.can_hold_arcs(), 0);
    EXPECT_EQ(line.ok_to_add_pos(end) + line.ok_to_edit_pos(1, end), 2);

    // The add_arc message names velPolyLine in both classes; the check of a mid point keeps its old spelling
    // in the single-precision class.
    const std::string n = this->name();
    const std::string messages[] = {"velPolyLine::add_arc() This geometry cannot contain arcs",
                                    n + "::ok_to_add_arc() This geometry cannot contain arcs",
                                    n + (this->single ? "::ok_to_edi_mid_pos()" : "::ok_to_edit_mid_pos()") +
                                        " This geometry cannot contain arcs"};
    ASSERT_EQ(log.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].message, messages[i]);
        EXPECT_EQ(log[i].expression, "utFALSE");
        EXPECT_NE(log[i].file.find("velPolyLine"), std::string::npos) << log[i].file;
        EXPECT_GT(log[i].line, 0);
    }
    EXPECT_EQ(log[0].function, n + "::add_arc");
}

TYPED_TEST(PolyLineStraightOnly, PagesGrowWithTheCount) {
    TypeParam line;
    EXPECT_EQ(line.page_factor(), 2);
    const int factor_after[][2] = {{4, 2}, {5, 3}, {9, 4}, {1024, 10}, {1500, 10}};
    int n = 0;
    for (const auto& [count, k] : factor_after) {
        while (n < count)
            line.add_pos({static_cast<double>(n++), 0, -1});
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    for (int i = 1; i <= n; ++i)
        ASSERT_EQ(pos(line, i), giPoint3(i - 1, 0, -1));
    EXPECT_EQ(TypeParam(20).page_factor(), 5);
    line.reset();
    EXPECT_EQ(line.page_factor(), 2);
    EXPECT_EQ(line.reserve(100), 1);
    EXPECT_EQ(line.page_factor(), 7);
    EXPECT_EQ(line.num_pos(), 0);
}

TEST(velPolyLine, ArchiveImage) {
    velPolyLine line;
    line.add_pos({1, 2, 3});
    line.add_pos({-0.5, 1e-3, 7});
    std::string expected;
    for (int word : {1, 1, 2})
        polytest::put_int(expected, word);
    polytest::put_point(expected, 1, 2, 3);
    polytest::put_point(expected, -0.5f, 1e-3f, 7);
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);
    velPolyLine loaded;
    polytest::load_bytes(loaded, bytes);
    EXPECT_TRUE(loaded == line);
    EXPECT_EQ(pos(loaded, 2).y, static_cast<double>(1e-3f));
}

// A straight line is its own polygonization: the line's own point array, whatever the tolerance. Whoever
// holds it keeps what it was given when the line changes.
TEST(velPolyLine, PolygonizationIsTheLineItself) {
    velPolyLine line;
    for (int i = 0; i < 6; ++i)
        line.add_pos({i * 0.5, i * i * 0.25, 1});
    const giFloatArray3coPageArrcoPrf held = line.get_polygonized_points(1e-6, 0);
    ASSERT_EQ(held->size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(held->read(i), giFloatArray3(i * 0.5f, i * i * 0.25f, 1));
    for (double tol : {1e-3, 1.0, 100.0})
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

TEST(velPolyLineDouble, SerializeIsRefusedAndPolygonizationIsCached) {
    polytest::ReportCapture reports;
    velPolyLineDouble line;
    line.add_pos({1, 2, 3});
    line.add_pos({4, 5, 6});
    EXPECT_EQ(polytest::stored_bytes(line), "");
    ASSERT_EQ(polytest::ReportCapture::log().size(), 1u);
    EXPECT_EQ(polytest::ReportCapture::log()[0].message, "Do not want to serialise velPolyLineDouble");
    EXPECT_EQ(line.num_pos(), 2);

    // The base behaviour: the cached array is reused within the tolerance window only.
    const giFloatArray3coPageArrcoPrf first = line.get_polygonized_points(0.6, 0);
    ASSERT_EQ(first->size(), 2);
    EXPECT_EQ(first->read(1), giFloatArray3(4, 5, 6));
    EXPECT_EQ(line.get_polygonized_points(1.0, 0).get(), first.get());
    EXPECT_NE(line.get_polygonized_points(1.3, 0).get(), first.get());
}

} // namespace
