#include "arcline/polyline/velPolyArcLineConstZ.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>

namespace velPolyArcLineConstZ_test {

namespace {

using polytest::mid;
using polytest::pos;

TEST(velPolyArcLineConstZ, FirstPositionSetsTheHeight) {
    velPolyArcLineConstZ line;
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 123}), 1); // anything goes on an empty line
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 0}, {2, 0, 0}), 0);
    line.add_pos({0, 0, 5});
    EXPECT_EQ(line.get_z(), 5.0);
    // Within 1e-5 of the height, either side.
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.00001}) + line.ok_to_add_pos({1, 0, 4.99999}), 2);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5}, {2, 0, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5.0001}, {2, 0, 5}) + line.ok_to_add_arc({1, 1, 5}, {2, 0, 4.9999}),
              0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, DBL_MAX, 99}), 1); // no mid point: a straight span is fine

    // The checks are advisory: later z values are ignored, not refused.
    line.add_pos({1, 0, 7});
    line.add_arc({1.5, 0.5, -2}, {2, 0, 9});
    line.edit_pos(1, {0.25, 0, 100});
    EXPECT_EQ(line.get_z(), 5.0);
    EXPECT_EQ(pos(line, 1), giPoint3(0.25, 0, 5));
    EXPECT_EQ(mid(line, 2), giPoint3(1.5, 0.5, 5));
    // A straight span's mid point carries the height here and not in the double line; equality ignores it.
    EXPECT_EQ(mid(line, 1), giPoint3(-DBL_MAX, 0, 5));
    velPolyArcLineDouble other;
    other.add_pos({0.25, 0, 5});
    other.add_pos({1, 0, 5});
    other.add_arc({1.5, 0.5, 5}, {2, 0, 5});
    EXPECT_TRUE(line == other);

    // A copy takes the height; reset forgets it at the next first position.
    velPolyArcLineConstZ copy(line);
    EXPECT_EQ(copy.get_z(), 5.0);
    EXPECT_TRUE(copy == line);
    line.reset();
    line.add_pos({1, 1, -3});
    EXPECT_EQ(line.get_z(), -3.0);
}

TEST(velPolyArcLineConstZ, OpenUnlessEndsMeet) {
    velPolyArcLineConstZ line;
    line.add_pos({0, 0, 1});
    line.add_arc({1, 1, 1}, {2, 0, 1});
    line.add_arc({1, -1, 1}, {0, 1e-3, 1});
    EXPECT_EQ(line.open(1e-4), 1);
    EXPECT_EQ(line.open(2e-3), 0);
}

TEST(velPolyArcLineConstZ, ArchiveImage) {
    velPolyArcLineConstZ line;
    line.add_pos({1, 2, 0.1});
    line.add_arc({2, 3, 0.1}, {3, 2.5, 0.1});
    line.add_pos({-1, 0.5, 0.1});
    std::string expected;
    polytest::put_ints(expected, {1});
    const auto z = std::bit_cast<std::uint64_t>(0.1);
    polytest::put32(expected, static_cast<std::uint32_t>(z));
    polytest::put32(expected, static_cast<std::uint32_t>(z >> 32));
    polytest::put_ints(expected, {1, 3});
    polytest::put_floats(expected, {1, 2, 2, 3, 3, 2.5, -FLT_MAX, 0, -1, 0.5});
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);

    velPolyArcLineConstZ loaded;
    polytest::load_bytes(loaded, bytes);
    EXPECT_EQ(loaded.get_z(), 0.1);
    EXPECT_TRUE(loaded == line);
    EXPECT_EQ(loaded.page_factor(), 4); // sized for the 10 floats
}

TEST(velPolyArcLineConstZ, PagesGrowWithTheCount) {
    velPolyArcLineConstZ line;
    // Four floats a position: after n positions the pages fit 4 (n - 1) floats.
    const int factor_after[][2] = {{2, 2}, {3, 3}, {129, 9}, {300, 10}};
    for (int n = 0; const auto& [count, k] : factor_after) {
        for (; n < count; ++n)
            line.add_pos({static_cast<double>(n), 0, 0});
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    EXPECT_EQ(pos(line, 300), giPoint3(299, 0, 0));
    line.reset();
    line.reserve(10);
    EXPECT_EQ(line.page_factor(), 6); // up to float 4 * 11 - 4 + 4 = 44
}

} // namespace

} // namespace velPolyArcLineConstZ_test
