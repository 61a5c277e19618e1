// Run-time identity of the decorating views: each is of its own kind and of its bases only; the two
// plane-exchanging views test as plain iterators.

#include "arcline/lists/velBoxPolylineListIter.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velInterpolatingZPolylineListIter.h"
#include "arcline/lists/velPolylineListIterSubset.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListIter.h"
#include "arcline/lists/velReversedPolylineListIter.h"
#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/lists/velSwitchedCoordinatePolylineListIter.h"
#include "arcline/lists/velXYViewedAsZXPolylineListIter.h"
#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"
#include "arcline/platform/itRangeIterator.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velDecoratingViewTypeIds_test {

namespace {
// One digit per class, 1 when its ut_dynamic_cast accepts `it`.
std::string kinds(const velPolylineListIter& it) {
    const bool k[] = {velReversedPolylineListIter::ut_dynamic_cast(&it) != nullptr,
                      velSwitchedCoordinatePolylineListIter::ut_dynamic_cast(&it) != nullptr,
                      velFlattenedPolylineListIter::ut_dynamic_cast(&it) != nullptr,
                      velInterpolatingZPolylineListIter::ut_dynamic_cast(&it) != nullptr,
                      velSmashedPolylineListIter::ut_dynamic_cast(&it) != nullptr,
                      velPolylineListIterSubset::ut_dynamic_cast(&it) != nullptr,
                      velPolylineWithOffsetFlagsListIter::ut_dynamic_cast(&it) != nullptr,
                      velBoxPolylineListIter::ut_dynamic_cast(&it) != nullptr};
    std::string s;
    for (bool b : k)
        s += b ? '1' : '0';
    return s;
}
} // namespace

TEST(velDecoratingViewTypeIds, EachViewIsOfItsOwnKindAndItsBasesOnly) {
    velAbsPolyArcLineListCursor list;
    velPolylineListIter& base = list.iterator();
    const std::vector<int> none;
    velOffsetInfocoPageArrcoPrfcoDList flags;
    const velReversedPolylineListIter reversed(base);
    const velSwitchedCoordinatePolylineListIter switched(base, velSwitchXY);
    const velFlattenedPolylineListIter flattened(base, 0.0);
    const velInterpolatingZPolylineListIter ramp(base, 0.0, 1.0);
    const velSmashedPolylineListIter smashed(base, 0.1);
    const velPolylineListIterSubset subset(it_range(none), base);
    const velPolylineWithOffsetFlagsListIter offset(base, flags);
    const velBoxPolylineListIter outline(giBox2({0, 0}, {1, 1}), 0.0, 1);
    const velPolylineListIter* all[] = {&reversed, &switched, &flattened, &ramp,
                                        &smashed,  &subset,   &offset,    &outline};
    const char* names[] = {"velReversedPolylineListIter",        "velSwitchedCoordinatePolylineListIter",
                           "velFlattenedPolylineListIter",       "velInterpolatingZPolylineListIter",
                           "velSmashedPolylineListIter",         "velPolylineListIterSubset",
                           "velPolylineWithOffsetFlagsListIter", "velBoxPolylineListIter"};
    for (int k = 0; k < 8; ++k) {
        std::string expected(8, '0');
        expected[static_cast<std::size_t>(k)] = '1';
        EXPECT_EQ(kinds(*all[k]), expected);
        EXPECT_EQ(all[k]->ut_dynamic_type().name(), names[k]);
        const std::unique_ptr<velPolylineListIter> clone(all[k]->create_new());
        EXPECT_EQ(&clone->ut_dynamic_type(), &all[k]->ut_dynamic_type());
        EXPECT_TRUE(all[k]->ut_is_kind_of(velPolylineListIter::ut_static_type()));
        EXPECT_EQ(all[k]->ut_is_kind_of(velPolylineListIterWithOffsetFlags::ut_static_type()), k == 6);
    }
    EXPECT_EQ(kinds(base), "00000000");
    const velXYViewedAsZXPolylineListIter zx(base);
    const velZXViewedAsXYPolylineListIter xy(base);
    EXPECT_EQ(kinds(zx) + kinds(xy), "0000000000000000");
    EXPECT_EQ(zx.ut_dynamic_type(), velPolylineListIter::ut_static_type());
    EXPECT_EQ(xy.ut_dynamic_type(), velPolylineListIter::ut_static_type());
}

} // namespace velDecoratingViewTypeIds_test
