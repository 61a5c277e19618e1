#include "arcline/polyline/contour/velAbsContour.h"

#include "../utils/utilsTestKit.h"
#include "contourTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <typeinfo>
#include <vector>

namespace velAbsContour_test {

using namespace contourtest;

namespace {

Line corners(std::initializer_list<giPoint3> pts) {
    Line p(new velPolyArcLineDouble);
    for (const giPoint3& q : pts)
        p->add_pos(q);
    return p;
}

// Signed XY area of the line closed by its chord, from a fine polygonization.
double area_of(const velAbsPolyArcLine& line) {
    velSingleAbsArcLineListIter it(line);
    ++it;
    std::vector<giPoint3> pts = utiltest::polygonize(it, 256);
    pts.push_back(pts.front());
    return utiltest::shoelace(pts);
}

struct Meet {
    double p1, p2;
    giPoint3 at;
};

// Segment crossings by the textbook formula; with `self`, each pair once and neighbours not.
std::vector<Meet> segment_crossings(const velAbsPolyArcLine& a, const velAbsPolyArcLine& b, bool self) {
    std::vector<Meet> out;
    const int n = a.num_spans(), m = b.num_spans();
    const bool closed = self && pos(a, 1) == pos(a, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = self ? i + 1 : 1; j <= m; ++j) {
            if (self && (j == i + 1 || (closed && i == 1 && j == n))) continue;
            const giPoint3 P = pos(a, i);
            const giVector3 r = pos(a, i + 1) - P, s = pos(b, j + 1) - pos(b, j), q = pos(b, j) - P;
            const double den = r.x() * s.y() - r.y() * s.x();
            if (den == 0) continue;
            const double t = (q.x() * s.y() - q.y() * s.x()) / den, u = (q.x() * r.y() - q.y() * r.x()) / den;
            if (t >= 0 && t <= 1 && u >= 0 && u <= 1) out.push_back({i - 1 + t, j - 1 + u, P + r * t});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Meet& x, const Meet& y) { return x.p1 != y.p1 ? x.p1 < y.p1 : x.p2 < y.p2; });
    return out;
}

void expect_crossings(const velCrossingcoPageArr& got, int count, const std::vector<Meet>& want, int i1,
                      int i2) {
    ASSERT_EQ(count, static_cast<int>(want.size()));
    ASSERT_EQ(got.size(), count);
    for (int k = 0; k < count; ++k) {
        const Meet& w = want[static_cast<std::size_t>(k)];
        EXPECT_NEAR(got[k].param1(), w.p1, 1e-9);
        EXPECT_NEAR(got[k].param2(), w.p2, 1e-9);
        EXPECT_TRUE(got[k].point().coincident(w.at, 1e-8)) << got[k].point() << " vs " << w.at;
        EXPECT_TRUE(got[k].index1() == i1 && got[k].index2() == i2);
    }
}

} // namespace

// The gap closes at the neighbour, which keeps its bulge; the ends, the closure and every other span stay.
TEST(velAbsContour, RemoveSpanClosesTheGapAtTheNeighbour) {
    Rng rng(21);
    for (int trial = 0; trial < 200; ++trial) {
        const Line line = listtest::random_polyline(rng, rng.pick(3, 9), 0.0, trial % 2 == 0);
        const velPolyArcLineAdapter orig(*line);
        const int n = orig.size(), i = rng.pick(1, n);
        const velAbsContourcoPrf c = orig.create_new();
        ASSERT_EQ(c->remove_span(i), 1);
        ASSERT_EQ(c->size(), n - 1);
        EXPECT_TRUE(c->first_point() == orig.first_point() && c->last_point() == orig.last_point());
        EXPECT_EQ(c->is_closed(), orig.is_closed());
        for (int j = 1; j <= n; ++j) {
            if (j >= i - 1 && j <= i + 1) continue;
            EXPECT_TRUE(same_span(*c->get_span(j < i ? j : j - 1), *orig.get_span(j), 0.0))
                << "trial " << trial << " removed " << i << " of " << n << ", span " << j;
        }
        const int keeper = i > 1 ? i - 1 : 2; // the neighbour that closes the gap
        const velAbsSpancoPrf moved = c->get_span(i > 1 ? i - 1 : 1);
        if (moved->chord_length() > 1e-3) {
            EXPECT_NEAR(moved->get_bulge(), orig.get_span(keeper)->get_bulge(), 1e-9);
        }
        EXPECT_TRUE(c->remove_span(0) == 0 && c->remove_span(n) == 0);
    }
}

// Dropping the last span in place is the span-by-span rebuild, labels included, for every storage class.
TEST(velAbsContour, InPlaceRemovalOfTheEndSpanIsTheRebuild) {
    Rng rng(31);
    for (const Line& proto : storage_classes()) {
        for (int trial = 0; trial < 30; ++trial) {
            const Line line = random_of(*proto, rng, rng.pick(2, 8), trial % 2 == 0);
            const Line fast_line(line->create_new()), slow_line(line->create_new());
            velPolyArcLineAdapter fast(fast_line.get()), slow(slow_line.get());
            for (velPolyArcLineAdapter* c : {&fast, &slow}) {
                for (int i = 1; i <= c->size(); ++i)
                    c->get_span(i)->set_span_info(i, velSpanSideRight);
                c->remove_end_span();
            }
            slow.velAbsContour::remove_end_span(); // the second removal: in place against rebuilt
            fast.remove_end_span();
            ASSERT_TRUE(*fast_line == *slow_line) << typeid(*proto).name() << " trial " << trial;
            ASSERT_EQ(fast.size(), std::max(line->num_spans() - 2, 0));
            for (int i = 1; i <= fast.size(); ++i) {
                EXPECT_EQ(fast.get_span(i)->span_position(), slow.get_span(i)->span_position());
            }
            const giPoint3 end = fast.size() ? fast.last_point() : giPoint3(61, 0, 2);
            for (velPolyArcLineAdapter* c : {&fast, &slow}) {
                EXPECT_EQ(c->append(c->invalid_span()->create_line_span(end, end + giVector3(1, 0, 0))), 1);
            }
            EXPECT_TRUE(*fast_line == *slow_line) << typeid(*proto).name() << " trial " << trial;
        }
    }
}

// Reversal is the line's, labels travel along, is_clockwise follows the area (open: closed by the chord).
TEST(velAbsContour, ReverseIsTheLinesReversal) {
    Rng rng(8);
    int turned = 0, wrong = 0;
    for (const Line& proto : storage_classes()) {
        const bool xy = typeid(*proto) == typeid(velPolyArcLineDouble);
        for (int trial = 0; trial < (xy ? 100 : 25); ++trial) {
            const int positions = rng.pick(0, 8);
            const Line line = random_of(*proto, rng, positions, rng.pick(0, 1) == 1);
            const Line expected(line->create_new());
            expected->reverse();
            const Line work(line->create_new());
            velPolyArcLineAdapter c(work.get());
            const int n = c.size(), cw = c.is_clockwise();
            for (int i = 1; i <= n; ++i)
                c.get_span(i)->set_span_info(i, velSpanSideLeft);
            c.reverse();
            EXPECT_TRUE(*work == *expected) << typeid(*proto).name() << " trial " << trial;
            // The view reverses in place; the span-by-span rebuild of the base gives the same line.
            const Line rebuilt(line->create_new());
            velPolyArcLineAdapter(rebuilt.get()).velAbsContour::reverse();
            EXPECT_TRUE(*rebuilt == *expected) << typeid(*proto).name() << " trial " << trial;
            for (int i = 1; i <= n; ++i) {
                EXPECT_EQ(c.get_span(i)->span_position(), n + 1 - i);
            }
            if (xy && n > 1) {
                const Line chorded(line->create_new());
                chorded->add_pos(pos(*line, 1));
                EXPECT_EQ(cw, velPolyArcLineAdapter(*chorded).is_clockwise());
                const double a = area_of(*line);
                EXPECT_NEAR(area_of(*work), -a, 1e-6 * (1 + std::fabs(a)));
                if (std::fabs(a) > 1) {
                    ++turned;
                    wrong += (cw != (a < 0 ? 1 : 0)) + (c.is_clockwise() != (a > 0 ? 1 : 0));
                }
            }
            c.reverse();
            EXPECT_TRUE(*work == *line);
        }
    }
    EXPECT_GT(turned, 60);
    EXPECT_EQ(wrong, 0) << "of " << 2 * turned << " turns";
}

TEST(velAbsContour, ShiftToStartRotatesOnlyAClosedContour) {
    Rng rng(13);
    for (int trial = 0; trial < 60; ++trial) {
        const Line line = listtest::random_polyline(rng, rng.pick(3, 9), 0.0, true);
        const velPolyArcLineAdapter orig(*line);
        const int n = orig.size(), k = rng.pick(1, n);
        const Line work(line->create_new());
        velPolyArcLineAdapter c(work.get());
        ASSERT_EQ(c.shift_to_start(c.get_span(k)), 1);
        ASSERT_EQ(c.size(), n);
        EXPECT_EQ(c.is_closed(), 1);
        for (int j = 1; j <= n; ++j) {
            EXPECT_TRUE(*c.get_span(j) == *orig.get_span((k + j - 2) % n + 1)) << "k " << k << " span " << j;
        }

        const Line before(work->create_new());
        EXPECT_EQ(c.shift_to_start(c.invalid_span()->create_line_span({99, 0, 0}, {98, 0, 0})), 0);
        EXPECT_EQ(c.shift_to_start(nullptr), 0);
        EXPECT_TRUE(*work == *before);
        work->add_pos({99, 0, 0}); // open now
        EXPECT_EQ(c.shift_to_start(c.get_span(2)), 0);
        EXPECT_EQ(pos(*work, 1), pos(*before, 1));
    }
}

// Degenerate spans go; what stays is the original line, joined and closed as it was.
TEST(velAbsContour, CleanRemovesDegenerateSpans) {
    Rng rng(17);
    for (int trial = 0; trial < 100; ++trial) {
        const bool closed = trial % 2 == 0;
        const Line line = listtest::random_polyline(rng, rng.pick(3, 8), 0.0, closed);
        Line dirty(new velPolyArcLineDouble);
        int added = 0;
        auto maybe_degenerate = [&](const giPoint3& p) {
            if (rng.pick(0, 2) == 0) return;
            ++added;
            rng.pick(0, 1) == 0 ? dirty->add_pos(p) : dirty->add_arc(p, p);
        };
        dirty->add_pos(pos(*line, 1));
        for (int i = 1; i <= line->num_spans(); ++i) {
            maybe_degenerate(pos(*line, i));
            line->span_linear(i) ? dirty->add_pos(pos(*line, i + 1))
                                 : dirty->add_arc(mid(*line, i), pos(*line, i + 1));
        }
        maybe_degenerate(pos(*line, line->num_pos()));
        velPolyArcLineAdapter c(dirty.get());
        EXPECT_EQ(c.clean(1e-9), added);
        ASSERT_EQ(dirty->num_pos(), line->num_pos());
        const velPolyArcLineAdapter ref(*line);
        for (int j = 1; j <= c.size(); ++j) {
            EXPECT_TRUE(same_span(*c.get_span(j), *ref.get_span(j), 1e-9))
                << "trial " << trial << " span " << j;
        }
        EXPECT_EQ(c.is_closed(), closed ? 1 : 0);
    }

    // Within the tolerance: the half circle after a short line takes over its start and stays a half circle.
    Line sq = corners({{0, 0, 0}, {4, 0, 0}, {4, 1e-7, 0}});
    sq->add_arc({6 - 5e-8, 2 + 5e-8, 0}, {4, 4, 0});
    sq->add_pos({0, 4, 0});
    sq->add_pos({0, 0, 0});
    velPolyArcLineAdapter c(sq.get());
    EXPECT_EQ(c.clean(1e-6), 1);
    ASSERT_EQ(c.size(), 4);
    EXPECT_EQ(pos(*sq, 2), giPoint3(4, 0, 0));
    EXPECT_TRUE(mid(*sq, 2).coincident({6, 2, 0}, 1e-9)) << mid(*sq, 2);
    EXPECT_EQ(c.is_closed(), 1);

    // Nothing but degenerate spans: nothing stays.
    Line dust = corners({{1, 1, 1}, {1, 1, 1}, {1, 1, 1 + 1e-7}});
    dust->add_arc({1, 1, 1 + 1e-7}, {1, 1, 1 + 1e-7});
    EXPECT_EQ(velPolyArcLineAdapter(dust.get()).clean(1e-6), 3);
    EXPECT_EQ(dust->num_spans(), 0);
}

TEST(velAbsContour, CrossingsOfStraightContoursAgreeWithSegmentTests) {
    Rng rng(23);
    int total = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const int na = rng.pick(4, 9);
        const Line a = random_of(velPolyLineDouble(), rng, na, rng.pick(0, 1) == 1);
        const int nb = rng.pick(4, 9);
        const Line b = random_of(velPolyLineDouble(), rng, nb, rng.pick(0, 1) == 1);
        const velPolyArcLineAdapter ca(*a), cb(*b);
        velCrossingcoPageArr out;
        const int k = ca.cross(cb, out, 2, 5);
        expect_crossings(out, k, segment_crossings(*a, *b, false), 2, 5);
        velCrossingcoPageArr self;
        const int s = ca.cross(ca, self, 4, 4);
        expect_crossings(self, s, segment_crossings(*a, *a, true), 4, 4);
        total += k + s;
    }
    EXPECT_GT(total, 100);
}

// The property hooks find no properties on this library's spans: everything stays as it was.
TEST(velAbsContour, PropertyHooksLeaveThisLibrarysContoursAlone) {
    Rng rng(29);
    const Line line = listtest::random_polyline(rng, 7, 0.0, true);
    const Line work(line->create_new());
    velPolyArcLineAdapter c(work.get());
    c.get_span(3)->set_span_info(4, velSpanSideLeftCorner);
    const velAbsSpancoPrf other = c.get_span(5);
    c.set_offsetting_pars(*other);
    c.set_order_properties(*other);
    c.mark_all_spans_with_order_node();
    c.reset_order_properties();
    c.open();
    EXPECT_TRUE(c.valid_offsetting_pars() == 0 && c.get_order_properties() == nullptr);
    EXPECT_TRUE(*work == *line && c.is_closed() == 1);
    EXPECT_TRUE(c.get_span(3)->span_position() == 4 &&
                c.get_span(3)->offset_label() == velSpanSideLeftCorner);
}

// Constant records follow the spans through every rebuild, as the current records do.
TEST(velAbsContour, ConstantRecordsFollowTheSpans) {
    Line sq = corners({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    velPolyArcLineAdapter c(sq.get());
    c.set_constant_flags(std::make_shared<velOffsetInfocoPageArr>());
    for (int i = 1; i <= 4; ++i)
        c.get_span(i)->set_span_info(10 * i, velSpanSideLeft);
    auto positions = [&c] {
        std::vector<int> out;
        for (int i = 1; i <= c.size(); ++i)
            out.push_back(c.get_span(i)->span_position());
        return out;
    };
    ASSERT_EQ(c.shift_to_start(c.get_span(3)), 1);
    EXPECT_EQ(positions(), (std::vector<int>{30, 40, 10, 20}));
    ASSERT_EQ(c.remove_span(1), 1);
    EXPECT_EQ(positions(), (std::vector<int>{40, 10, 20}));
    EXPECT_EQ(c.constant_flags()->size(), 3);
    c.reverse();
    EXPECT_EQ(positions(), (std::vector<int>{20, 10, 40}));
    c.remove_end_span();
    EXPECT_EQ(positions(), (std::vector<int>{20, 10}));
    EXPECT_EQ(c.constant_flags()->size(), 2);
}

// A meeting at a joint is reported once; a closed contour's closing point has parameter 0.
TEST(velAbsContour, MeetingsAtJointsAreReportedOnce) {
    // Squares sharing a stretch of an edge: the ends of the shared stretch, each a vertex of the second.
    Line a = corners({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    Line b = corners({{1, 0.25, 0}, {2, 0.25, 0}, {2, 0.75, 0}, {1, 0.75, 0}, {1, 0.25, 0}});
    velCrossingcoPageArr out;
    ASSERT_EQ(velPolyArcLineAdapter(*a).cross(velPolyArcLineAdapter(*b), out), 2);
    EXPECT_TRUE(out[0].param1() == 1.25 && out[0].param2() == 0.0) << out;
    EXPECT_TRUE(out[1].param1() == 1.75 && out[1].param2() == 3.0) << out;

    // Two circles of two half circles each, touching at a joint of both.
    Line c = corners({{-1, 0, 0}});
    c->add_arc({0, 1, 0}, {1, 0, 0});
    c->add_arc({0, -1, 0}, {-1, 0, 0});
    Line d = corners({{1, 0, 0}});
    d->add_arc({2, 1, 0}, {3, 0, 0});
    d->add_arc({2, -1, 0}, {1, 0, 0});
    velCrossingcoPageArr touch;
    ASSERT_EQ(velPolyArcLineAdapter(*c).cross(velPolyArcLineAdapter(*d), touch), 1);
    EXPECT_NEAR(touch[0].param1(), 1.0, 1e-9);
    EXPECT_NEAR(touch[0].param2(), 0.0, 1e-9);

    // A vertex resting on another span of the same contour.
    Line e = corners({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 0, 0}, {0, 4, 0}, {0, 0, 0}});
    const velPolyArcLineAdapter ce(*e);
    velCrossingcoPageArr self;
    ASSERT_EQ(ce.cross(ce, self), 1) << self;
    EXPECT_NEAR(self[0].param1(), 0.5, 1e-12);
    EXPECT_NEAR(self[0].param2(), 3.0, 1e-12);
}

} // namespace velAbsContour_test
