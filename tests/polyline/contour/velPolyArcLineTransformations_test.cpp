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

giXform3 random_motion(Rng& rng) {
    return giXform3::translation({rng.uniform(-9, 9), rng.uniform(-9, 9), rng.uniform(-9, 9)}) *
           giXform3::rotation_z(rng.uniform(-3, 3), {rng.uniform(-5, 5), rng.uniform(-5, 5), 0});
}

TEST(velPolyArcLineTransformations, RigidMotionsKeepSpansAndLengths) {
    Rng rng(3);
    for (int round = 0; round < 40; ++round) {
        const auto p = random_polyline(rng, rng.pick(2, 9), 0.0, round % 2 == 0);
        const giXform3 xf = random_motion(rng);
        const auto image = velPolyArcLineTransformations::make_transformed(*p, xf);
        ASSERT_EQ(typeid(*image), typeid(*p));
        ASSERT_EQ(image->num_pos(), p->num_pos());
        for (int i = 1; i <= p->num_pos(); ++i) {
            EXPECT_TRUE(polytest::pos(*image, i).coincident(xf * polytest::pos(*p, i), 1e-12));
        }
        for (int i = 1; i < p->num_pos(); ++i) {
            ASSERT_EQ(image->span_linear(i), p->span_linear(i));
            EXPECT_NEAR(image->span_length(i), p->span_length(i), 1e-9);
        }
        // In place: the same points as the copy.
        std::unique_ptr<velAbsPolyArcLine> moved(p->create_new());
        velPolyArcLineTransformations::transform(*moved, xf);
        EXPECT_TRUE(*moved == *image);
    }
}

TEST(velPolyArcLineTransformations, ListFormAgreesWithTheSingleFormInDoublePrecision) {
    Rng rng(4);
    Polylines in = random_list(rng, 5, true);
    in.push_back(std::make_unique<velPolyArcLine>()); // an empty one, of single-precision storage
    in[0].reset([&] {
        auto single = new velPolyArcLine;
        single->add_pos({1, 2, 3});
        single->add_arc({2, 3, 3}, {3, 2, 3});
        return single;
    }());
    const giXform3 xf = random_motion(rng);
    velAbsPolyArcLineVecListIter it(&in);
    const velAbsPolyArcLineVec images = velPolyArcLineTransformations::make_transformed(it, xf);
    EXPECT_EQ(it.index(), -1);
    ASSERT_EQ(images.size(), in.size());
    for (std::size_t k = 0; k < in.size(); ++k) {
        EXPECT_NE(dynamic_cast<velPolyArcLineDouble*>(images[k].get()), nullptr);
        // Same points as the single form; the single form keeps the single-precision class of in[0].
        const auto single = velPolyArcLineTransformations::make_transformed(*in[k], xf);
        ASSERT_EQ(images[k]->num_pos(), single->num_pos());
        for (int i = 1; i <= single->num_pos(); ++i) {
            const double tol = k == 0 ? 1e-5 : 0.0;
            EXPECT_TRUE(polytest::pos(*images[k], i).coincident(polytest::pos(*single, i), tol));
            if (i < single->num_pos() && !single->span_linear(i)) {
                EXPECT_TRUE(polytest::mid(*images[k], i).coincident(polytest::mid(*single, i), tol));
            }
        }
    }
}

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
