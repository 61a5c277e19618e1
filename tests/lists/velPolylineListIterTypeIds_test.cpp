// Run-time identity of the adapters and of the abstract extensions, through minimal implementations of
// the extensions.

#include "arcline/lists/velOffsetInfo.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/lists/velPolylineListIterWithClosureFlags.h"
#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/lists/velPolylineListIterWithVector.h"

#include "adapterTestKit.h"

#include <gtest/gtest.h>

#include <string>

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

// One digit per kind, 1 when ut_dynamic_cast accepts `it`: WP, append, vector, closure flags, offset flags.
std::string kinds(const velPolylineListIter& it) {
    const bool k[] = {velPolylineListIterWP::ut_dynamic_cast(&it) != nullptr,
                      velPolylineListIterAppend::ut_dynamic_cast(&it) != nullptr,
                      velPolylineListIterWithVector::ut_dynamic_cast(&it) != nullptr,
                      velPolylineListIterWithClosureFlags::ut_dynamic_cast(&it) != nullptr,
                      velPolylineListIterWithOffsetFlags::ut_dynamic_cast(&it) != nullptr};
    std::string s;
    for (bool b : k)
        s += b ? '1' : '0';
    return s;
}
} // namespace

TEST(velPolylineListIterTypeIds, EachClassIsOfItsOwnKindAndItsBaseOnly) {
    velAbsPolyArcLineListCursor list;
    const velPolylineListIterWP wp(giWorkplane3(), list.iterator());
    const velPolylineListIterAppend append(list.iterator(), list.iterator());
    const WithVector vec;
    const WithClosureFlags closure;
    const WithOffsetFlags offset;
    const velPolylineListIter* all[] = {&wp, &append, &vec, &closure, &offset};
    const char* names[] = {"velPolylineListIterWP", "velPolylineListIterAppend",
                           "velPolylineListIterWithVector", "velPolylineListIterWithClosureFlags",
                           "velPolylineListIterWithOffsetFlags"};
    for (int k = 0; k < 5; ++k) {
        std::string expected(5, '0');
        expected[k] = '1';
        EXPECT_EQ(kinds(*all[k]), expected);
        EXPECT_EQ(all[k]->ut_dynamic_type().name(), names[k]);
        EXPECT_TRUE(all[k]->ut_is_kind_of(velPolylineListIter::ut_static_type()));
    }
    EXPECT_EQ(kinds(list.iterator()), "00000");
    EXPECT_EQ(velPolylineListIterWP::ut_dynamic_cast(static_cast<const velPolylineListIter*>(nullptr)),
              nullptr);
}

TEST(velOffsetInfo, DefaultsToAPermanentSpanOfNoPositionOrSide) {
    EXPECT_EQ(velOffsetInfo(), (velOffsetInfo{0, -1, velSpanSideNone}));
}

} // namespace velPolylineListIterTypeIds_test
