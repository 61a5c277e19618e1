#pragma once
// Shared pieces of the list tests: random lists of arc polylines (planar at a random height, or tilted out
// of XY), and comparisons of what an iterator presents with the polylines it was made from.

#include "../polyline/polylineTestKit.h"

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace listtest {

using polytest::Rng;
using Polylines = std::vector<std::unique_ptr<velAbsPolyArcLine>>;

// p turned by `tilt` radians about the X axis.
inline giPoint3 tilted(const giPoint3& p, double tilt) {
    const double c = std::cos(tilt), s = std::sin(tilt);
    return {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
}

// A polyline of n positions, every other span or so an arc with bulge in (-2, 2) (up to about 250
// degrees), in the plane z = const turned by `tilt` about X. Closed when asked: the last position is the
// first.
inline std::unique_ptr<velAbsPolyArcLine> random_polyline(Rng& rng, int n, double tilt, bool closed = false) {
    auto line = std::make_unique<velPolyArcLineDouble>();
    const double z = rng.uniform(-5, 5);
    std::vector<giPoint3> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({rng.uniform(-50, 50), rng.uniform(-50, 50), z});
    if (closed && n > 1) pts.back() = pts.front();
    for (int i = 0; i < n; ++i) {
        const giPoint3 p = tilted(pts[static_cast<std::size_t>(i)], tilt);
        if (i == 0 || rng.pick(0, 2) == 0) {
            line->add_pos(p);
            continue;
        }
        // The mid point sits b * L / 2 off the chord's middle: a sagitta of (L / 2) tan(sweep / 4).
        const giPoint3& a = pts[static_cast<std::size_t>(i) - 1];
        const giPoint3& e = pts[static_cast<std::size_t>(i)];
        const double b = rng.uniform(-2, 2);
        const giPoint3 m{(a.x + e.x) / 2 + (e.y - a.y) * b / 2, (a.y + e.y) / 2 - (e.x - a.x) * b / 2, z};
        if (a.distance(e) < 1e-6) {
            line->add_pos(p);
        } else {
            line->add_arc(tilted(m, tilt), p);
        }
    }
    return line;
}

// The same of rng.pick(positions) positions turned by rng.uniform(tilts), drawn in that order.
inline std::unique_ptr<velAbsPolyArcLine> random_polyline(Rng& rng, std::pair<int, int> positions,
                                                          std::pair<double, double> tilts,
                                                          bool closed = false) {
    const int n = rng.pick(positions.first, positions.second);
    return random_polyline(rng, n, rng.uniform(tilts.first, tilts.second), closed);
}

// `count` polylines of 0 to 8 positions; a few are empty. Tilted ones when `tilt` is set.
inline Polylines random_list(Rng& rng, int count, bool tilt = false) {
    Polylines out;
    for (int k = 0; k < count; ++k) {
        const int n = rng.pick(0, 9) == 0 ? 0 : rng.pick(1, 8);
        const double turn = tilt ? rng.uniform(-1.2, 1.2) : 0.0;
        out.push_back(random_polyline(rng, n, turn, rng.pick(0, 1) == 1));
    }
    return out;
}

// The current polyline of `it` is `ref` (numbered from 1), point for point within `tol`; with `arcs` false
// the iterator is expected to present every span straight.
inline void expect_same_polyline(const velPolylineListIter& it, const velAbsPolyArcLine& ref, bool arcs,
                                 double tol = 0.0) {
    ASSERT_EQ(it.num_pos(), ref.num_pos());
    for (int i = 0; i < ref.num_pos(); ++i) {
        const giPoint3 p = polytest::pos(ref, i + 1);
        EXPECT_TRUE(it.get_pos(i).coincident(p, tol))
            << "position " << i << ": " << it.get_pos(i) << " vs " << p;
        if (i + 1 == ref.num_pos()) break;
        const bool straight = !arcs || ref.span_linear(i + 1);
        ASSERT_EQ(it.span_linear(i) != 0, straight) << "span " << i;
        if (!straight) {
            EXPECT_TRUE(it.get_mid_pos(i).coincident(polytest::mid(ref, i + 1), tol)) << "mid " << i;
        }
    }
}

// Appends the polylines to the cursor through the producer protocol, whole spans at a time (so arcs keep
// their own mid points); empty polylines are written empty.
inline void fill(velPolylineListCursor& cursor, const Polylines& polylines) {
    if (cursor.size() > 0) cursor.set_index(cursor.size() - 1);
    for (const auto& p : polylines) {
        cursor.create_polyline();
        ++cursor;
        velSingleAbsArcLineListIter one(*p);
        ++one;
        if (one.num_pos() > 0) cursor.add_pos(one, 0);
        for (int i = 0; i + 1 < one.num_pos(); ++i)
            cursor.add_span(one, i, i + 1);
    }
}

} // namespace listtest
