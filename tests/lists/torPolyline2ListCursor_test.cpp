#include "arcline/lists/torPolyline2ListCursor.h"

#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/platform/coDListcoCursor.h"

#include <gtest/gtest.h>

#include <memory>

namespace torPolyline2ListCursor_test {

namespace {

// Points written through the 2D cursor lose their z; read back they stand at z = 0.
TEST(torPolyline2ListCursor, WritesPlanPointsAndReadsThemAtHeightZero) {
    torCurvePtr3coDList high;
    coDListcoCursor<torCurvePtr3>(high).insert_last(
        std::make_shared<torPolyline3>(std::vector<giPoint3>{{1, 2, 5}, {3, 4, -7}, {3, 6, 2}}));
    torPolyline3ListIter src{torCurvePtr3coDListcoIterator(high)};

    torCurvePtr2coDList flat;
    torPolyline2ListCursor cursor(flat);
    src.copy(cursor);
    src.reset();
    ++src;
    cursor.add_interpolated_pos(src, 1.5);
    ASSERT_EQ(flat.size(), 1);
    const auto& p = static_cast<const torPolyline2&>(**flat.begin());
    ASSERT_EQ(p.num_pos(), 4);
    EXPECT_EQ(p.get_pos(1), giPoint2(3, 4));
    EXPECT_EQ(p.get_pos(3), giPoint2(3, 5));

    torPolyline2ListIter back{torCurvePtr2coDListcoIterator(flat)};
    ++back;
    EXPECT_EQ(back.current_polyline(), &p);
    for (int i = 0; i < back.num_pos(); ++i)
        EXPECT_EQ(back.get_pos(i), p.get_pos(i).xyz(0.0));
    EXPECT_EQ(cursor.box().min(), giPoint3(1, 2, 0));
    EXPECT_EQ(cursor.box().max(), giPoint3(3, 6, 0));
}

} // namespace

} // namespace torPolyline2ListCursor_test
