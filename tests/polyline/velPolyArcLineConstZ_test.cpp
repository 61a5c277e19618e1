#include "arcline/polyline/velPolyArcLineConstZ.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>

namespace {

using polytest::mid;
using polytest::pos;

TEST(velPolyArcLineConstZ, FirstPositionSetsTheHeight) {
    velPolyArcLineConstZ line;
    EXPECT_EQ(line.get_z(), 0.0);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 123}), 1); // anything goes on an empty line
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 0}, {2, 0, 0}), 0);
    line.add_pos({0, 0, 5});
    EXPECT_EQ(line.get_z(), 5.0);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 4.99999}), 1);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5}, {2, 0, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5.0001}, {2, 0, 5}), 0);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5}, {2, 0, 4.9999}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, giPoint3()), 1); // no mid point: a straight span is fine
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, DBL_MAX, 99}), 1);

    // The checks are advisory: later z values are ignored, not refused.
    line.add_pos({1, 0, 7});
    line.add_arc({1.5, 0.5, -2}, {2, 0, 9});
    line.edit_pos(1, {0.25, 0, 100});
    EXPECT_EQ(line.get_z(), 5.0);
    EXPECT_EQ(pos(line, 1), giPoint3(0.25, 0, 5));
    EXPECT_EQ(pos(line, 2), giPoint3(1, 0, 5));
    EXPECT_EQ(mid(line, 2), giPoint3(1.5, 0.5, 5));
    EXPECT_EQ(mid(line, 1), giPoint3(-DBL_MAX, 0, 5));

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
    line.edit_pos(3, {0, 0, 1});
    EXPECT_EQ(line.open(0.0), 0);
}

// A straight span's mid point carries the height here and not in the double line; equality ignores it.
TEST(velPolyArcLineConstZ, EqualsOtherClassesDespiteStraightMidPoints) {
    velPolyArcLineConstZ line;
    velPolyArcLineDouble other;
    for (velAbsPolyArcLine* l :
         {static_cast<velAbsPolyArcLine*>(&line), static_cast<velAbsPolyArcLine*>(&other)}) {
        l->add_pos({0, 0, 2});
        l->add_pos({1, 0, 2});
        l->add_arc({2, 1, 2}, {3, 0, 2});
    }
    EXPECT_NE(mid(line, 1), mid(other, 1));
    EXPECT_TRUE(line == other);
    other.edit_mid_pos(2, {2, -1, 2});
    EXPECT_TRUE(line != other);
}

TEST(velPolyArcLineConstZ, ArchiveImage) {
    velPolyArcLineConstZ line;
    line.add_pos({1, 2, 0.1});
    line.add_arc({2, 3, 0.1}, {3, 2.5, 0.1});
    line.add_pos({-1, 0.5, 0.1});
    std::string expected;
    polytest::put_int(expected, 1);
    const auto z = std::bit_cast<std::uint64_t>(0.1);
    polytest::put32(expected, static_cast<std::uint32_t>(z));
    polytest::put32(expected, static_cast<std::uint32_t>(z >> 32));
    polytest::put_int(expected, 1);
    polytest::put_int(expected, 3);
    for (float f : {1.f, 2.f, 2.f, 3.f, 3.f, 2.5f, -FLT_MAX, 0.f, -1.f, 0.5f})
        polytest::put_float(expected, f);
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);

    velPolyArcLineConstZ loaded;
    polytest::load_bytes(loaded, bytes);
    EXPECT_EQ(loaded.get_z(), 0.1);
    EXPECT_TRUE(loaded == line);
    EXPECT_EQ(polytest::stored_bytes(loaded), expected);
}

TEST(velPolyArcLineConstZ, PagesGrowWithTheCount) {
    velPolyArcLineConstZ line;
    EXPECT_EQ(line.page_factor(), 2);
    // Four floats a position: after n positions the pages fit 4 (n - 1) floats.
    const int factor_after[][2] = {{2, 2}, {3, 3}, {4, 4}, {129, 9}, {300, 10}};
    int n = 0;
    for (const auto& [count, k] : factor_after) {
        while (n < count) {
            if (n % 3 == 2)
                line.add_arc({n - 0.5, 0.5, 0}, {static_cast<double>(n), 0, 0});
            else
                line.add_pos({static_cast<double>(n), 0, 0});
            ++n;
        }
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    for (int i = 1; i <= n; ++i) {
        ASSERT_EQ(pos(line, i), giPoint3(i - 1, 0, 0));
        if (i < n) {
            ASSERT_EQ(line.span_linear(i), i % 3 == 2 ? 0 : 1) << i;
        }
    }
    line.reset();
    EXPECT_EQ(line.page_factor(), 2);
    EXPECT_EQ(line.reserve(10), 1);
    EXPECT_EQ(line.page_factor(), 6); // up to float 4 * 11 - 4 + 4 = 44
}

} // namespace
