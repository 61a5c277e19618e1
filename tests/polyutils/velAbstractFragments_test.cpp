// Fragment sets against a pointwise definition on random sets: merges, membership, filters, marks.

#include "arcline/polyutils/velMarkedFragments.h"

#include <gtest/gtest.h>

#include <random>

namespace velAbstractFragments_test {

namespace {

velAbstractFragments random_set(std::mt19937& rng) {
    std::uniform_real_distribution<double> step(0.0, 2.0);
    velAbstractFragments f;
    double x = step(rng);
    for (int k = 0; k < 8; ++k) {
        const double s = x + step(rng), e = s + step(rng);
        f.append(s, e);
        x = e;
    }
    return f;
}

TEST(velAbstractFragments, MergesAgreeWithMembership) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        const velAbstractFragments a = random_set(rng), b = random_set(rng);
        velAbstractFragments u, i;
        u.merge_fragments_or(a, b);
        i.merge_fragments_and(a, b);
        for (double v = 0.0; v < 40.0; v += 0.0137) {
            EXPECT_EQ(u.contains(v) != 0, a.contains(v) || b.contains(v)) << v;
            EXPECT_EQ(i.contains(v) != 0, a.contains(v) && b.contains(v)) << v;
        }
        for (const velAbstractFragments* f : {&u, &i})
            for (int k = 0; k + 1 < f->num_fragments(); ++k)
                EXPECT_LT(f->end(k), f->start(k + 1));
    }
}

TEST(velAbstractFragments, TouchingFragmentsAndFilters) {
    velAbstractFragments a, b;
    a.append(0, 1);
    a.append(3, 4);
    b.append(1, 2);
    velAbstractFragments u, i;
    u.merge_fragments_or(a, b);
    ASSERT_EQ(u.num_fragments(), 2);
    EXPECT_EQ(u.end(0), 2.0); // [0, 1] and [1, 2] join
    i.merge_fragments_and(a, b);
    ASSERT_EQ(i.num_fragments(), 1); // the one point they share
    EXPECT_EQ(i.start(0), 1.0);
    EXPECT_EQ(i.end(0), 1.0);
    velAbstractFragments f;
    f.append(0, 0.5);
    f.append(0.6, 2);
    f.append(5, 5.1);
    f.remove_short_gaps(0.2, f);
    ASSERT_EQ(f.num_fragments(), 2);
    EXPECT_EQ(f.end(0), 2.0);
    f.remove_short_fragments(0.5, f);
    ASSERT_EQ(f.num_fragments(), 1);
    EXPECT_EQ(f.start(0), 0.0);
}

TEST(velMarkedFragments, MarksFollowTheEndsKept) {
    velMarkedFragments a, b;
    a.set_start(0, 0.0, 10);
    a.set_end(0, 2.0, 11);
    b.set_start(0, 1.0, 20);
    b.set_end(0, 3.0, 21);
    velMarkedFragments u, i;
    u.merge_fragments_or(a, b);
    i.merge_fragments_and(a, b);
    ASSERT_EQ(u.num_fragments(), 1);
    EXPECT_EQ(u.start_mark(0), 10);
    EXPECT_EQ(u.end_mark(0), 21);
    ASSERT_EQ(i.num_fragments(), 1);
    EXPECT_EQ(i.start_mark(0), 20);
    EXPECT_EQ(i.end_mark(0), 11);
    EXPECT_TRUE(velMarkedFragments::ut_dynamic_cast(static_cast<velAbstractFragments*>(&u)));
    // A merge into itself keeps the marks.
    u.merge_fragments_or(u, a);
    EXPECT_EQ(u.end_mark(0), 21);
}

} // namespace

} // namespace velAbstractFragments_test
