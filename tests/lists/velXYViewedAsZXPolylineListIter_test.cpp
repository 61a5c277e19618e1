#include "arcline/lists/velXYViewedAsZXPolylineListIter.h"
#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velXYViewedAsZXPolylineListIter_test {

using namespace viewtest;

// Each view maps points as its formula says, and either view over the other gives the list back exactly.
TEST(velXYViewedAsZXPolylineListIter, MapsToZXAndTheOtherViewMapsBack) {
    Rng rng(1);
    const Polylines in = listtest::random_list(rng, 6, true);
    const auto list = list_of(in);
    velPolylineListIter& base = list->iterator();
    velXYViewedAsZXPolylineListIter zx(base);
    velZXViewedAsXYPolylineListIter xy(base);
    velZXViewedAsXYPolylineListIter zx_back(zx);
    velXYViewedAsZXPolylineListIter xy_back(xy);
    velPolylineListIter* all[] = {&base, &zx, &xy, &zx_back, &xy_back};
    for (velPolylineListIter* it : all)
        it->reset();
    for (const auto& p : in) {
        for (velPolylineListIter* it : all)
            ASSERT_EQ(++*it, 1);
        listtest::expect_same_polyline(zx_back, *p, true);
        listtest::expect_same_polyline(xy_back, *p, true);
        for (int i = 0; i + 1 < base.num_pos(); ++i) {
            const giPoint3 q = base.get_pos(i + 1), m = base.get_mid_pos(i);
            EXPECT_EQ(zx.get_pos(i + 1), (giPoint3{q.y, q.z, q.x}));
            EXPECT_EQ(xy.get_pos(i + 1), (giPoint3{q.z, q.x, q.y}));
            if (!base.span_linear(i)) {
                EXPECT_EQ(zx.get_mid_pos(i), (giPoint3{m.y, m.z, m.x}));
            }
        }
    }
}

} // namespace velXYViewedAsZXPolylineListIter_test
