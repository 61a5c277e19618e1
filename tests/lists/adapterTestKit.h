#pragma once
// Shared pieces of the adapter tests: polylines written straight into a list cursor, random workplanes, and
// an exact comparison of two lists.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/platform/giWorkplane3.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

namespace adaptertest {

// Appends a new last polyline and leaves the list on it.
inline velAbsPolyArcLine& add_polyline(velAbsPolyArcLineListCursor& list) {
    list.set_index(list.size() - 1);
    list.create_polyline();
    ++list;
    return *list.current_polyarcline();
}

// A straight polyline of n positions along X at y = tag, so that tests can tell polylines apart.
inline void add_tagged_line(velAbsPolyArcLineListCursor& list, int n, double tag) {
    velAbsPolyArcLine& p = add_polyline(list);
    for (int i = 0; i < n; ++i)
        p.add_pos({double(i), tag, 0.0});
}

// n spans at one random height, about half of them arcs of bulge +-[0.1, 1.5].
inline void add_random_polyline(velAbsPolyArcLineListCursor& list, polytest::Rng& rng, int n) {
    velAbsPolyArcLine& line = add_polyline(list);
    giPoint3 p(rng.uniform(-10, 10), rng.uniform(-10, 10), rng.uniform(-5, 5));
    line.add_pos(p);
    for (int i = 0; i < n; ++i) {
        const giPoint3 e(p.x + rng.uniform(-4, 4), p.y + rng.uniform(-4, 4), p.z);
        const giVector3 half = (e - p) * 0.5;
        const double b = rng.uniform(0.1, 1.5) * (rng.pick(0, 1) == 1 ? 1.0 : -1.0);
        if (rng.pick(0, 1) == 1) {
            line.add_arc(p + half + giVector3(half.y(), -half.x(), 0.0) * b,
                         e); // sagitta = bulge * half chord
        } else {
            line.add_pos(e);
        }
        p = e;
    }
}

inline giWorkplane3 random_workplane(polytest::Rng& rng) {
    auto v = [&] { return giVector3(rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1)); };
    return {giPoint3(v() * 50.0), v(), v()};
}

// Looks up from below: world XY turned over about X, then moved.
inline giWorkplane3 flipped_workplane() {
    return {{3.0, -2.0, 7.0}, {1.0, 0.0, 0.0}, {0.0, -1.0, 0.0}};
}

// The same polylines, positions and arc mid points, compared exactly; both iterators are walked from reset.
inline void expect_same_lists(velPolylineListIter& a, velPolylineListIter& b) {
    ASSERT_EQ(a.size(), b.size());
    a.reset();
    b.reset();
    while (++a) {
        ASSERT_EQ(++b, 1);
        ASSERT_EQ(a.num_pos(), b.num_pos());
        for (int i = 0; i < a.num_pos(); ++i) {
            EXPECT_EQ(a.get_pos(i), b.get_pos(i));
            if (i > 0 && !a.span_linear(i - 1)) {
                EXPECT_EQ(a.get_mid_pos(i - 1), b.get_mid_pos(i - 1));
            }
        }
    }
}

} // namespace adaptertest
