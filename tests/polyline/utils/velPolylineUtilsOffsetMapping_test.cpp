// offset_span_mapping: every offset span finds its source span and stretch; corner spans their corner.

#include "arcline/polyline/utils/velPolylineUtils.h"

#include "../../polyutils/offsetTestKit.h"

#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"

#include <gtest/gtest.h>

namespace velPolylineUtilsOffsetMapping_test {

using namespace offsettest;

namespace {

using Map = std::vector<velPolylineUtils::OffsetSpanMap>;

// The number mapped and the mapping of the raw offset of `line` by d; with `labels`, span k of the input
// carries position k, without, the offset spans carry no positions.
std::pair<int, Map> mapping(const velAbsPolyArcLine& line, double d, bool labels = true) {
    Line copy(line.create_new());
    velPolyArcLineAdapter contour(copy.get());
    for (int i = 1; labels && i <= contour.size(); ++i)
        contour.get_span(i)->set_span_info(i - 1, velSpanSideRight);
    Options o;
    o.span_info = 1;
    const Raw r = raw_offset(contour, d, o);
    EXPECT_TRUE(r.contour);
    Map map;
    if (!r.contour) return {0, map};
    velPolylineListCursor* cursor = r.contour->get_cursor();
    const auto& offset = static_cast<const velPolylineListIterWithOffsetFlags&>(cursor->iterator());
    velSingleAbsArcLineListIter source(line);
    ++source;
    const int mapped = velPolylineUtils::offset_span_mapping(offset, source, map);
    EXPECT_EQ(static_cast<int>(map.size()), r.spans);
    return {mapped, map};
}

void expect_map(const velPolylineUtils::OffsetSpanMap& m, int span, double t0, double t1, int k) {
    EXPECT_EQ(m.source_span, span) << k;
    EXPECT_NEAR(m.t0, t0, 1e-12) << k;
    EXPECT_NEAR(m.t1, t1, 1e-12) << k;
}

TEST(OffsetSpanMapping, TrimmedSpansMapOntoTheStretchTheyRunBeside) {
    // Inside the first corner the offsets are trimmed at x = -1 and y = 1; the second corner is rounded.
    const auto [mapped, map] = mapping(*corners({{-10, 0, 0}, {0, 0, 0}, {0, 10, 0}, {10, 10, 0}}), -1);
    ASSERT_EQ(map.size(), 4u);
    EXPECT_EQ(mapped, 4);
    expect_map(map[0], 0, 0, 0.9, 0);
    expect_map(map[1], 1, 1.1, 2, 1);
    expect_map(map[2], 2, 2, 2, 2); // the corner arc about (0, 10)
    expect_map(map[3], 2, 2, 3, 3);
}

TEST(OffsetSpanMapping, SpansWithoutPositionsMapToNothing) {
    const auto [mapped, map] = mapping(*square(10, false), 1, false);
    EXPECT_EQ(mapped, 0);
    ASSERT_EQ(map.size(), 8u);
    for (const auto& m : map)
        EXPECT_EQ(m.source_span, -1);
}

} // namespace

} // namespace velPolylineUtilsOffsetMapping_test
