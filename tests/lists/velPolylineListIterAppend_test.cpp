#include "arcline/lists/velPolylineListIterAppend.h"

#include "arcline/polyline/velPolyLineDouble.h"

#include "adapterTestKit.h"

#include <gtest/gtest.h>

#include <memory>

namespace velPolylineListIterAppend_test {

namespace {
// Polylines numbered across both lists: polyline k lies at y = k and has k + 2 positions.
void fill(velAbsPolyArcLineListCursor& list, int from, int count) {
    for (int k = from; k < from + count; ++k)
        adaptertest::add_tagged_line(list, k + 2, double(k));
}
} // namespace

TEST(velPolylineListIterAppend, NumbersTheSecondListAfterTheFirstAcrossTheSeam) {
    velAbsPolyArcLineListCursor first, second, empty;
    fill(first, 0, 2);
    fill(second, 2, 3);
    velPolylineListIterAppend it(first.iterator(), second.iterator());
    EXPECT_EQ(it.size(), 5);
    EXPECT_EQ(it.first_iterator_size() * 10 + it.second_iterator_size(), 23);
    EXPECT_EQ(it.index(), -1);
    for (int pass = 0; pass < 2; ++pass) { // off the end, ++ starts again without a reset
        for (int k = 0; k < 5; ++k) {
            ASSERT_EQ(++it, 1);
            EXPECT_EQ(it.index(), k);
            EXPECT_EQ(it.get_pos(0).y, k);
            EXPECT_EQ(it.num_pos(), k + 2);
            EXPECT_EQ(it.current_iterator().index(), k < 2 ? k : k - 2);
        }
        EXPECT_EQ(++it, 0);
        EXPECT_EQ(it.index(), -1);
    }
    for (int k : {3, 0, 4, 1, 2}) {
        it.set_index(k);
        EXPECT_EQ(it.index(), k);
        EXPECT_EQ(it.get_pos(0).y, k);
    }
    it.reset();
    ASSERT_EQ(++it, 1);
    EXPECT_EQ(it.index(), 0);
    // An empty part is stepped over.
    for (velPolylineListIterAppend v : {velPolylineListIterAppend(empty.iterator(), second.iterator()),
                                        velPolylineListIterAppend(second.iterator(), empty.iterator())}) {
        int count = 0;
        while (++v)
            EXPECT_EQ(v.index(), count++);
        EXPECT_EQ(count, 3);
    }
}

TEST(velPolylineListIterAppend, ForwardsPolylineSlotsAndIsStraightOnlyWhenBothListsAre) {
    polytest::Rng rng(31);
    velAbsPolyArcLineListCursor lines, arcs;
    lines.set_arcline_type(velPolyLineDouble());
    fill(lines, 0, 2);
    adaptertest::add_random_polyline(arcs, rng, 6);
    EXPECT_EQ(velPolylineListIterAppend(lines.iterator(), lines.iterator()).all_spans_linear(), 1);
    velPolylineListIterAppend both(lines.iterator(), arcs.iterator());
    EXPECT_EQ(both.all_spans_linear(), 0);
    both.set_index(2);
    const std::unique_ptr<velPolylineListIterAppend> clone(both.create_new());
    both.reset();
    velPolylineListIter& a = arcs.iterator();
    a.set_index(0);
    EXPECT_EQ(clone->index(), 2);
    EXPECT_EQ(clone->box(vel_3d_box).max(), a.box(vel_3d_box).max());
    for (int i = 0; i + 1 < a.num_pos(); ++i) {
        EXPECT_EQ(clone->span_linear(i), a.span_linear(i));
        EXPECT_EQ(clone->get_bulge(i), a.get_bulge(i));
    }
}

} // namespace velPolylineListIterAppend_test
