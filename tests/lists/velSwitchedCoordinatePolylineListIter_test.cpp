// The exchanged views over pre-exchanged lists present the input again in the protocol suite (each
// exchange is its own inverse); here, the exchange itself against the formula.

#include "arcline/lists/velSwitchedCoordinatePolylineListIter.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velSwitchedCoordinatePolylineListIter_test {

using namespace viewtest;

TEST(velSwitchedCoordinatePolylineListIter, ExchangesTwoCoordinatesOfPointsAndMidPointsOnly) {
    const auto exchanged = [](const giPoint3& p, int which) {
        const giPoint3 by_value[] = {{p.y, p.x, p.z}, {p.x, p.z, p.y}, {p.z, p.y, p.x}, p};
        return by_value[which];
    };
    Rng rng(1);
    const auto list = list_of(listtest::random_list(rng, 5, true));
    velPolylineListIter& base = list->iterator();
    for (int which = 0; which <= 3; ++which) {
        velSwitchedCoordinatePolylineListIter sw(base, static_cast<velSwitchedCoordinates>(which));
        base.reset();
        sw.reset();
        while (++sw && ++base) {
            for (int i = 0; i < base.num_pos(); ++i) {
                EXPECT_EQ(sw.get_pos(i), exchanged(base.get_pos(i), which));
                if (i + 1 == base.num_pos() || base.span_linear(i)) continue;
                EXPECT_EQ(sw.get_mid_pos(i), exchanged(base.get_mid_pos(i), which));
                EXPECT_EQ(sw.get_bulge(i), base.get_bulge(i));
            }
        }
    }
    // Any other value leaves points alone; the no-mid-point marker stays the marker.
    const giPoint3 p{1, 2, 3};
    EXPECT_EQ(
        velSwitchedCoordinatePolylineListIter::switch_coordinates(p, static_cast<velSwitchedCoordinates>(7)),
        p);
    EXPECT_TRUE(
        velSwitchedCoordinatePolylineListIter::switch_coordinates(giPoint3(), velSwitchZX).is_unset());
}

} // namespace velSwitchedCoordinatePolylineListIter_test
