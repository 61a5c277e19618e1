// Places on a node's perimeter, the cut of one span at an axis line, and the splitting of trimmed lists.

#include "bspTestKit.h"

#include "arcline/intersect/velAxisCut.h"
#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <gtest/gtest.h>

namespace velPolylineBSPUtils_test {

namespace {

using namespace bsptest;

const giBox2 unit_box({0, 0}, {1, 1});

TEST(velPolylineBSPUtils, PerimeterPlaces) {
    struct Case {
        giPoint3 p;
        double edge;
        velDirection side;
    };
    // edge_position runs up the left side (0..1), right along the top (1..2), down the right (2..3) and back
    // along the bottom (3..4); node_side looks from the centre along the diagonals.
    const Case cases[] = {
        {{0, 0.25, 0}, 0.25, velDirectionLeft},   {{0.25, 1, 0}, 1.25, velDirectionTop},
        {{1, 0.75, 0}, 2.25, velDirectionRight},  {{0.75, 0, 0}, 3.25, velDirectionBottom},
        {{0.5, 0.5, 0}, 2.5, velDirectionBottom}, {{-3, 0.5, 0}, 0.5, velDirectionLeft},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(velPolylineBSPUtils::edge_position(c.p, unit_box), c.edge) << c.p;
        EXPECT_EQ(velPolylineBSPUtils::node_side(c.p, unit_box), c.side) << c.p;
    }
}

TEST(velPolylineBSPUtils, LessThanRunsAnticlockwiseFromTheTopRight) {
    // In order: top by decreasing x, left by decreasing y, bottom by increasing x, right by increasing y.
    const std::vector<giPoint3> order = {{0.9, 1, 0}, {0.1, 1, 0}, {0, 0.8, 0}, {0, 0.2, 0},
                                         {0.3, 0, 0}, {0.7, 0, 0}, {1, 0.4, 0}, {1, 0.6, 0}};
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = 0; j < order.size(); ++j) {
            EXPECT_EQ(velPolylineBSPUtils::less_than(order[i], order[j], unit_box), i < j) << i << " " << j;
            EXPECT_EQ(velPolylineBSPUtils::less_than_or_equal(order[i], order[j], unit_box), i <= j)
                << i << " " << j;
        }
    // A corner point belongs to whichever side it is given.
    const giPoint2 corner(1, 1);
    EXPECT_TRUE(velPolylineBSPUtils::less_than(corner, velDirectionTop, {0.5, 1}, velDirectionTop));
    EXPECT_FALSE(velPolylineBSPUtils::less_than(corner, velDirectionRight, {0.5, 1}, velDirectionTop));
}

// Cuts of random spans at random lines: each reported parameter is on the line, and the stretches between
// them alternate sides, starting and ending with the sides given.
TEST(velAxisCut, CutsAreOnTheLineAndSidesAlternate) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> coord(-10, 10), bulge(-2.5, 2.5), unit(0, 1);
    int cuts_seen = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        const double P0[2] = {coord(rng), coord(rng)}, P1[2] = {coord(rng), coord(rng)};
        const double b = trial % 4 == 0 ? 0.0 : bulge(rng);
        const int axis = trial % 2;
        const double value = coord(rng) * 0.6;
        double u0 = unit(rng) * 0.3, u1 = 1.0 - unit(rng) * 0.3;
        auto high = [&](double t) { return velAxisCut::coordinate(P0, P1, b, axis, t) >= value; };
        double out[velAxisCut::max_cuts];
        const int n = velAxisCut::cuts(P0, P1, b, axis, value, u0, u1, high(u0), high(u1), out);
        cuts_seen += n;
        bool side = high(u0);
        double prev = u0;
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(out[i], prev);
            EXPECT_NEAR(velAxisCut::coordinate(P0, P1, b, axis, out[i]), value, 1e-9);
            if (out[i] - prev > 1e-6) {
                EXPECT_EQ(high(0.5 * (prev + out[i])), side) << trial;
            }
            side = !side;
            prev = out[i];
        }
        EXPECT_EQ(side, high(u1)) << trial;
        // The coordinate is that of the span's point.
        double p[2];
        velCirbul::cbpapo(P0, P1, b, 0.37, p);
        EXPECT_NEAR(velAxisCut::coordinate(P0, P1, b, axis, 0.37), p[axis], 1e-12);
    }
    EXPECT_GT(cuts_seen, 5000);
}

// Slicing a trimmed list at x = value: both sides together keep every polyline's length, each piece lies on
// its side, and cut ends carry the side of the line as their flag.
TEST(velPolylineBSPUtils, SlicesFitTogether) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> coord(0, 10), bulge(-1.5, 1.5), unit(0, 1);
    List list;
    double total = 0.0;
    for (int i = 0; i < 6; ++i) {
        std::vector<V> pts;
        std::vector<double> b;
        for (int k = 0; k < 8; ++k) {
            pts.push_back({coord(rng), coord(rng)});
            if (k) b.push_back(unit(rng) < 0.5 ? bulge(rng) : 0.0);
        }
        if (i % 2) {
            pts.push_back(pts.front());
            b.push_back(0.0);
        }
        list.add(polyline(pts, b));
    }
    list.iter.reset();
    while (++list.iter)
        total += velPolylineUtils::length(list.iter);
    velTrimmedPolylineListIter view(list.iter);
    view.enable_edge_flags(velPolylineTrimmings::no_flag, velPolylineTrimmings::no_flag);
    for (const velDirection dir :
         {velDirectionLeft, velDirectionRight, velDirectionBottom, velDirectionTop}) {
        const double value = 5.0;
        velTrimmedPolylineListIter low, high;
        const velDirection other = dir == velDirectionLeft    ? velDirectionRight
                                   : dir == velDirectionRight ? velDirectionLeft
                                   : dir == velDirectionTop   ? velDirectionBottom
                                                              : velDirectionTop;
        velPolylineBSPUtils::slice_polyline(view, value, dir, nullptr, low);
        velPolylineBSPUtils::slice_polyline(view, value, other, nullptr, high);
        const int axis = dir == velDirectionLeft || dir == velDirectionRight ? 0 : 1;
        const bool low_side = dir == velDirectionLeft || dir == velDirectionBottom;
        double length = 0.0;
        for (velTrimmedPolylineListIter* part : {&low, &high}) {
            const bool is_low = (part == &low) == low_side;
            part->reset();
            while (++*part) {
                for (int k = 0; k + 1 < part->num_pos(); ++k) {
                    const double t = k + 0.5;
                    const double c =
                        axis == 0 ? part->get_interpolated_pos(t).x : part->get_interpolated_pos(t).y;
                    EXPECT_EQ(c < value, is_low) << "piece " << part->index() << " at " << t;
                }
                // Ends made by the cut lie on the line and carry its side as seen from the part.
                const int cut_flag = axis == 0 ? (is_low ? velDirectionRight : velDirectionLeft)
                                               : (is_low ? velDirectionTop : velDirectionBottom);
                giPoint3 s, e;
                part->start_end(s, e);
                if (part->start_flag() != velPolylineTrimmings::no_flag) {
                    EXPECT_EQ(part->start_flag(), cut_flag);
                    EXPECT_NEAR(axis == 0 ? s.x : s.y, value, 1e-9);
                }
                if (part->end_flag() != velPolylineTrimmings::no_flag) {
                    EXPECT_EQ(part->end_flag(), cut_flag);
                    EXPECT_NEAR(axis == 0 ? e.x : e.y, value, 1e-9);
                }
                length += velPolylineUtils::length(*part);
            }
        }
        EXPECT_NEAR(length, total, 1e-9 * total);
    }
}

} // namespace

} // namespace velPolylineBSPUtils_test
