#include "arcline/lists/velInterpolatingZPolylineListIter.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velInterpolatingZPolylineListIter_test {

using namespace viewtest;

// Z runs from z start at the first polyline's first position to z end at its last, in proportion to the
// distance along that chord's direction (also beyond its ends); X and Y stay; every span is straight, and
// the boxes are those of the ramped straight spans. A closed first polyline puts everything at z start.
TEST(velInterpolatingZPolylineListIter, RampsZAlongTheFirstPolylinesChord) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        Rng rng(seed);
        Polylines in = listtest::random_list(rng, 5);
        const bool closed = seed == 4;
        in.front() = listtest::random_polyline(rng, 5, 0.4, closed);
        const auto list = list_of(in);
        velPolylineListIter& base = list->iterator();
        velInterpolatingZPolylineListIter ramp(base, 10.0, 30.0);
        const giPoint3 a = polytest::pos(*in.front(), 1);
        giVector3 dir = polytest::pos(*in.front(), in.front()->num_pos()) - a;
        const double chord = dir.unitize();
        EXPECT_EQ(ramp.all_spans_linear(), 1);
        base.reset();
        ramp.reset();
        while (++ramp && ++base) {
            for (int i = 0; i < ramp.num_pos(); ++i) {
                const giPoint3 q = base.get_pos(i), p = ramp.get_pos(i);
                EXPECT_EQ(p.x, q.x);
                EXPECT_EQ(p.y, q.y);
                EXPECT_NEAR(p.z, closed ? 10.0 : 10.0 + 20.0 * (q - a).dot(dir) / chord, 1e-9);
                EXPECT_EQ(ramp.span_linear(i), 1);
            }
            expect_tight_boxes(ramp);
        }
        if (closed) continue;
        ramp.set_index(0);
        EXPECT_NEAR(ramp.get_pos(0).z, 10.0, 1e-12);
        EXPECT_NEAR(ramp.get_pos(ramp.num_pos() - 1).z, 30.0, 1e-12);
        EXPECT_NEAR(ramp.get_z_height(a + dir * (2 * chord)), 50.0, 1e-9); // beyond the end: not clamped
    }
}

} // namespace velInterpolatingZPolylineListIter_test
