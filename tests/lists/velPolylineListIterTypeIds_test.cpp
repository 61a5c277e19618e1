// Run-time identity of every iterator class that has one of its own: each is of its own kind and of its
// bases only, under its own name, and clones keep it. The abstract extensions are checked through minimal
// implementations; classes without an identity of their own answer as their base.

#include "arcline/lists/torCurvePtr3PolylineListIter.h"
#include "arcline/lists/torPolyline2ListIter.h"
#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velBoxPolylineListIter.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velInterpolatingZPolylineListIter.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/lists/velPolylineListIterSubset.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/lists/velPolylineListIterWithClosureFlags.h"
#include "arcline/lists/velPolylineListIterWithVector.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListIter.h"
#include "arcline/lists/velReversedPolylineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/lists/velSingleTrimmedPolylineListIter.h"
#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/lists/velSwitchedCoordinatePolylineListIter.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/lists/velXYViewedAsZXPolylineListIter.h"
#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"
#include "arcline/platform/itRangeIterator.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace velPolylineListIterTypeIds_test {

namespace {
// An empty list; Self adds the extension's slots.
template <class Base, class Self>
class EmptyList : public Base {
public:
    int size() const override { return 0; }
    void reset() override {}
    int operator++() override { return 0; }
    int num_pos() const override { return 0; }
    giPoint3 get_pos(int) const override { return {}; }
    int index() const override { return -1; }
    void set_index(int) override {}
    velPolylineListIter* create_new() const override { return new Self(static_cast<const Self&>(*this)); }
};
struct WithVector : EmptyList<velPolylineListIterWithVector, WithVector> {
    giVector3 get_vector(int) const override { return {}; }
};
struct WithClosureFlags : EmptyList<velPolylineListIterWithClosureFlags, WithClosureFlags> {
    int start_closure_flag() const override { return 1; }
    int end_closure_flag() const override { return 0; }
};
struct WithOffsetFlags : EmptyList<velPolylineListIterWithOffsetFlags, WithOffsetFlags> {
    int temporary_line(int) const override { return 0; }
    int temporary_arc(int) const override { return 0; }
    void get_offset_info(int, velOffsetInfo& info) const override { info = {}; }
};

using Cast = bool (*)(const velPolylineListIter*);
template <class C>
constexpr Cast cast_to = [](const velPolylineListIter* p) { return C::ut_dynamic_cast(p) != nullptr; };

// Every class with an identity, in the order of the table below; a digit per class, 1 when its
// ut_dynamic_cast accepts `it`.
const Cast casts[] = {cast_to<velPolylineListIterWP>,
                      cast_to<velPolylineListIterAppend>,
                      cast_to<velPolylineListIterWithVector>,
                      cast_to<velPolylineListIterWithClosureFlags>,
                      cast_to<velPolylineListIterWithOffsetFlags>,
                      cast_to<velReversedPolylineListIter>,
                      cast_to<velSwitchedCoordinatePolylineListIter>,
                      cast_to<velFlattenedPolylineListIter>,
                      cast_to<velInterpolatingZPolylineListIter>,
                      cast_to<velSmashedPolylineListIter>,
                      cast_to<velPolylineListIterSubset>,
                      cast_to<velPolylineWithOffsetFlagsListIter>,
                      cast_to<velBoxPolylineListIter>,
                      cast_to<velSingleAbsArcLineListIter>,
                      cast_to<velAbsPolyArcLineListIter>,
                      cast_to<velAbsPolyArcLineListRAIter>,
                      cast_to<torPolyline3ListIter>,
                      cast_to<torPolyline2ListIter>,
                      cast_to<torCurvePtr3PolylineListIter>,
                      cast_to<velTrimmedPolylineListIter>,
                      cast_to<velSingleTrimmedPolylineListIter>,
                      cast_to<velTPLIWithoutClosureBreaks>};
constexpr std::size_t num_kinds = std::size(casts);

std::string kinds(const velPolylineListIter& it) {
    std::string s;
    for (const Cast c : casts)
        s += c(&it) ? '1' : '0';
    return s;
}
} // namespace

TEST(velPolylineListIterTypeIds, EachClassIsOfItsOwnKindAndItsBasesOnly) {
    velAbsPolyArcLineListCursor list;
    velPolylineListIter& base = list.iterator();
    const std::vector<int> none;
    velOffsetInfocoPageArrcoPrfcoDList flags;
    velPolyArcLineDouble line;
    velAbsPolyArcLinecoDListPrgcoPrgcoDList storage;
    const velPolylineListIterWP wp(giWorkplane3(), base);
    const velPolylineListIterAppend append(base, base);
    const WithVector vec;
    const WithClosureFlags closure;
    const WithOffsetFlags offset;
    const velReversedPolylineListIter reversed(base);
    const velSwitchedCoordinatePolylineListIter switched(base, velSwitchXY);
    const velFlattenedPolylineListIter flattened(base, 0.0);
    const velInterpolatingZPolylineListIter ramp(base, 0.0, 1.0);
    const velSmashedPolylineListIter smashed(base, 0.1);
    const velPolylineListIterSubset subset(it_range(none), base);
    const velPolylineWithOffsetFlagsListIter offset_view(base, flags);
    const velBoxPolylineListIter outline(giBox2({0, 0}, {1, 1}), 0.0, 1);
    velSingleAbsArcLineListIter single(line);
    const velAbsPolyArcLineListRAIter random_access(storage);
    torCurvePtr3coDList curves3;
    torCurvePtr2coDList curves2;
    torCurvePtr3PolylinecoPrfcoDList curve_polylines;
    const torPolyline3ListIter tor3{torCurvePtr3coDListcoIterator(curves3)};
    const torPolyline2ListIter tor2{torCurvePtr2coDListcoIterator(curves2)};
    const torCurvePtr3PolylineListIter curve_pointers{
        torCurvePtr3PolylinecoPrfcoDListcoIterator(curve_polylines)};
    velTrimmedPolylineListIter trimmed(base);
    const velSingleTrimmedPolylineListIter single_trimmed(trimmed, 0);
    const velTPLIWithoutClosureBreaks joined(trimmed);
    const struct {
        const velPolylineListIter* it;
        const char* name;
    } table[] = {{&wp, "velPolylineListIterWP"},
                 {&append, "velPolylineListIterAppend"},
                 {&vec, "velPolylineListIterWithVector"},
                 {&closure, "velPolylineListIterWithClosureFlags"},
                 {&offset, "velPolylineListIterWithOffsetFlags"},
                 {&reversed, "velReversedPolylineListIter"},
                 {&switched, "velSwitchedCoordinatePolylineListIter"},
                 {&flattened, "velFlattenedPolylineListIter"},
                 {&ramp, "velInterpolatingZPolylineListIter"},
                 {&smashed, "velSmashedPolylineListIter"},
                 {&subset, "velPolylineListIterSubset"},
                 {&offset_view, "velPolylineWithOffsetFlagsListIter"},
                 {&outline, "velBoxPolylineListIter"},
                 {&single, "velSingleAbsArcLineListIter"},
                 {&base, "velAbsPolyArcLineListIter"},
                 {&random_access, "velAbsPolyArcLineListRAIter"},
                 {&tor3, "torPolyline3ListIter"},
                 {&tor2, "torPolyline2ListIter"},
                 {&curve_pointers, "torCurvePtr3PolylineListIter"},
                 {&trimmed, "velTrimmedPolylineListIter"},
                 {&single_trimmed, "velSingleTrimmedPolylineListIter"},
                 {&joined, "velTPLIWithoutClosureBreaks"}};
    static_assert(std::size(table) == num_kinds);
    for (std::size_t k = 0; k < num_kinds; ++k) {
        const velPolylineListIter& it = *table[k].it;
        std::string expected(num_kinds, '0');
        expected[k] = '1';
        if (k == 11) expected[4] = '1';  // the offset-flags view is an offset-flags iterator
        if (k == 20) expected[19] = '1'; // one trimmed polyline is a trimmed view
        EXPECT_EQ(kinds(it), expected) << table[k].name;
        EXPECT_EQ(it.ut_dynamic_type().name(), table[k].name);
        const std::unique_ptr<velPolylineListIter> clone(it.create_new());
        EXPECT_EQ(&clone->ut_dynamic_type(), &it.ut_dynamic_type()) << table[k].name;
        EXPECT_TRUE(it.ut_is_kind_of(velPolylineListIter::ut_static_type()));
    }
    // Without an identity of their own: the plane-exchanging views and the vector iterator.
    const velXYViewedAsZXPolylineListIter zx(base);
    const velZXViewedAsXYPolylineListIter xy(base);
    const listtest::Polylines v;
    const velAbsPolyArcLineVecListIter vector(&v);
    for (const velPolylineListIter* it :
         std::initializer_list<const velPolylineListIter*>{&zx, &xy, &vector}) {
        EXPECT_EQ(kinds(*it), std::string(num_kinds, '0'));
        EXPECT_EQ(it->ut_dynamic_type(), velPolylineListIter::ut_static_type());
    }
    // The non-const cast, and null.
    velPolylineListIter* as_base = &single;
    EXPECT_EQ(velSingleAbsArcLineListIter::ut_dynamic_cast(as_base), &single);
    EXPECT_EQ(velAbsPolyArcLineListIter::ut_dynamic_cast(as_base), nullptr);
    EXPECT_EQ(velPolylineListIterWP::ut_dynamic_cast(static_cast<const velPolylineListIter*>(nullptr)),
              nullptr);
}

} // namespace velPolylineListIterTypeIds_test
