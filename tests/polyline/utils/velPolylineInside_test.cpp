// The inside test of a closed polyline (tests/data/inside_arc_polylines.py made the held-out points).

#include "utilsTestKit.h"

#include "support/metamorphic.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <fstream>

namespace velPolylineInside_test {

using namespace utiltest;
using U = velPolylineUtils;

// A simple star-shaped anticlockwise loop of n >= 4 corners about `c`, straight spans or |bulge| <= 0.3.
std::vector<V> star(Rng& rng, int n, double scale, giPoint3 c) {
    std::vector<giPoint3> corners;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * pi * (i + rng.uniform(0.25, 0.75)) / n, r = scale * rng.uniform(0.6, 1.0);
        corners.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a), 0});
    }
    corners.push_back(corners.front());
    std::vector<V> vs{{corners[0], {}}};
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const giPoint3 &a = corners[i - 1], &e = corners[i];
        if (rng.pick(0, 3) == 0) {
            vs.push_back({e, {}});
            continue;
        }
        const double b = rng.uniform(-0.3, 0.3);
        vs.push_back(
            {e, giPoint3{(a.x + e.x) / 2 + (e.y - a.y) * b / 2, (a.y + e.y) / 2 - (e.x - a.x) * b / 2, 0}});
    }
    return vs;
}

namespace {

int inside(const giPoint2& P, const velPolylineListIter& it) {
    return U::point_inside_closed_polyline(P, it, nullptr);
}

One reversed_one(const One& one) {
    std::unique_ptr<velAbsPolyArcLine> r(one.line->create_new());
    r->reverse();
    return One(std::move(r));
}

} // namespace

TEST(velPolylineInside, WindingNumbersCountTurnsAndCloseOpenPolylinesByTheirChord) {
    // A circle of radius 1 wound twice (four half circles), its reverse, and a figure eight of two arcs.
    const One twice(std::vector<V>{{{1, 0, 0}, {}},
                                   {{-1, 0, 0}, giPoint3{0, 1, 0}},
                                   {{1, 0, 0}, giPoint3{0, -1, 0}},
                                   {{-1, 0, 0}, giPoint3{0, 1, 0}},
                                   {{1, 0, 0}, giPoint3{0, -1, 0}}});
    const One eight(std::vector<V>{{{0, 0, 0}, {}},
                                   {{2, 0, 0}, giPoint3{1, -1, 0}},
                                   {{0, 0, 0}, giPoint3{1, 1, 0}},
                                   {{-2, 0, 0}, giPoint3{-1, -1, 0}},
                                   {{0, 0, 0}, giPoint3{-1, 1, 0}}});
    for (const auto& [P, w2, w8] : {std::tuple{giPoint2{0, 0.5}, 2, 0},
                                    {giPoint2{0.3, -0.2}, 2, 1},
                                    {giPoint2{1.2, 0}, 0, 1},
                                    {giPoint2{-1.2, 0.1}, 0, -1},
                                    {giPoint2{5, 0}, 0, 0}}) {
        EXPECT_EQ(U::winding_number(P, twice.it), w2) << P;
        EXPECT_EQ(U::winding_number(P, reversed_one(twice).it), -w2) << P;
        EXPECT_EQ(U::winding_number(P, eight.it), w8) << P;
        EXPECT_EQ(inside(P, eight.it), w8 != 0);
    }
    EXPECT_EQ(U::point_location({0, 1}, twice.it, velTol::on_boundary), U::on_boundary);
    EXPECT_EQ(U::point_location({0, 1 + 1e-9}, twice.it, velTol::on_boundary), U::outside);
    EXPECT_EQ(U::point_location({0, 1 + 1e-9}, twice.it, 1e-8), U::on_boundary);
    // An open U is closed by its chord for the winding number; the inside test wants it closed.
    const One u(std::vector<V>{{{0, 1, 0}, {}}, {{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 1, 0}, {}}});
    EXPECT_EQ(U::winding_number({0.5, 0.5}, u.it), 1);
    EXPECT_EQ(inside({0.5, 0.5}, u.it), 0);
}

TEST(velPolylineInside, AgreesWithExactRationalsOnHeldOutPoints) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(ARCLINE_TEST_DATA_DIR "/inside_arc_polylines.txt", list));
    velAbsPolyArcLineListIter it(list);
    std::ifstream points(ARCLINE_TEST_DATA_DIR "/inside_arc_points.txt");
    ASSERT_TRUE(points);
    int k, expected, count = 0, wrong = 0;
    double x, y;
    while (points >> k >> x >> y >> expected) {
        if (it.index() != k) it.set_index(k);
        ++count;
        const int got = inside({x, y}, it);
        const int where = U::point_location({x, y}, it, velTol::on_boundary);
        if (got != (expected != 0) || where != expected) {
            ++wrong;
            ADD_FAILURE() << "polyline " << k << " point (" << x << ", " << y << ") class " << expected
                          << " got " << where;
            if (wrong > 20) break;
        }
    }
    EXPECT_EQ(count, 10000);
    EXPECT_EQ(wrong, 0);
}

TEST(velPolylineInside, PointsNearEverySpanDecideBySide) {
    // On a span or 1e-12 off it: on (inside); 1e-6 left inside, right outside; under every morph.
    Rng rng(1414);
    for (int trial = 0; trial < 40; ++trial) {
        const double scale = rng.uniform(0.5, 20);
        support::Polylines in;
        in.push_back(make_line(star(rng, rng.pick(4, 8), scale, {0, 0, 0})));
        const One fwd(std::unique_ptr<velAbsPolyArcLine>(in[0]->create_new()));
        std::vector<std::tuple<giPoint3, double, int>> probes{
            {{3 * scale, 0, 0}, 1, 0}}; // point, offset, inside
        for (int k = 0; k + 1 < fwd.it.num_pos(); ++k) {
            probes.push_back({fwd.it.get_pos(k), 0, 1});
            for (double f : {0.1, 0.37, 0.5, 0.81}) {
                const giUnitVec3 t = U::span_tangent(fwd.it, k, f);
                for (const auto& [off, want] :
                     {std::pair{0.0, 1}, {1e-12, 1}, {-1e-12, 1}, {1e-6, 1}, {-1e-6, 0}})
                    probes.push_back(
                        {fwd.it.get_interpolated_pos(k + f) + giVector3(-t.y(), t.x(), 0) * off, off, want});
            }
        }
        support::for_each_morph(in, [&](const support::Morph& m, const support::Polylines& out) {
            const One l(std::unique_ptr<velAbsPolyArcLine>(out[0]->create_new()));
            for (const auto& [P, off, want] : probes) {
                const bool moved = m.kind == support::Morph::translated || m.kind == support::Morph::scaled;
                if (moved && std::fabs(off) < 1e-9) continue; // 1e-12 is below what the moved frames keep
                EXPECT_EQ(inside(m.point(P).xy(), l.it), want)
                    << "trial " << trial << " at " << P << " off " << off;
            }
        });
    }
}

} // namespace velPolylineInside_test
