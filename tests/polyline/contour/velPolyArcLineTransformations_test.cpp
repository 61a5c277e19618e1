// Transformed copies: rigid motions keep lengths and arcs; list, single and in-place forms agree.

#include "../../lists/listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/polyline/contour/velPolyArcLineTransformations.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineConstZ.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace velPolyArcLineTransformations_test {

namespace {

using namespace listtest;

TEST(velPolyArcLineTransformations, TranslationThereAndBackIsTheIdentity) {
    Rng rng(5);
    const auto p = random_polyline(rng, 8, 0.7);
    const giVector3 v{3.5, -2.25, 1.0};
    const auto there = velPolyArcLineTransformations::make_translated(*p, v);
    EXPECT_EQ(polytest::pos(*there, 1), polytest::pos(*p, 1) + v);
    velPolyArcLineTransformations::translate(*there, -v);
    for (int i = 1; i <= p->num_pos(); ++i) {
        EXPECT_TRUE(polytest::pos(*there, i).coincident(polytest::pos(*p, i), 1e-13));
    }
    Polylines list;
    list.push_back(std::unique_ptr<velAbsPolyArcLine>(p->create_new()));
    velAbsPolyArcLineVecListIter it(&list);
    const velAbsPolyArcLineVec moved = velPolyArcLineTransformations::make_translated(it, v);
    EXPECT_TRUE(*moved[0] == *velPolyArcLineTransformations::make_translated(*p, v));

    // A line at one height moved up: in place as in the copy.
    velPolyArcLineConstZ level;
    level.add_pos({0, 0, 1});
    level.add_arc({1, 1, 1}, {2, 0, 1});
    velPolyArcLineTransformations::translate(level, {0, 0, 5});
    EXPECT_TRUE(level == *velPolyArcLineTransformations::make_translated(
                             *velPolyArcLineTransformations::make_translated(level, {0, 0, -5}), {0, 0, 5}));
    EXPECT_EQ(polytest::pos(level, 2), giPoint3(2, 0, 6));

    velPolyArcLineDouble empty;
    velPolyArcLineTransformations::translate(empty, v);
    EXPECT_EQ(velPolyArcLineTransformations::make_translated(empty, v)->num_pos(), 0);
}

} // namespace

} // namespace velPolyArcLineTransformations_test
