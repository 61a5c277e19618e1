// The inside test of a closed polyline: on the boundary is inside, a little off it by side, and held-out
// points agree with an exact rational classification (tests/data/inside_arc_polylines.py made them).

#include "utilsTestKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <fstream>

namespace velPolylineInside_test {

using namespace utiltest;
using U = velPolylineUtils;

namespace {

int inside(const giPoint2& P, const velPolylineListIter& it) {
    return U::point_inside_closed_polyline(P, it, nullptr);
}

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

std::vector<V> moved(std::vector<V> vs, double scale, giVector3 shift) {
    auto map = [&](const giPoint3& p) { return giPoint3(p.as_vector() * scale + shift); };
    for (V& v : vs) {
        v.p = map(v.p);
        if (v.mid) v.mid = map(*v.mid);
    }
    return vs;
}

std::vector<V> reversed(const std::vector<V>& vs) {
    std::vector<V> out{{vs.back().p, {}}};
    for (std::size_t i = vs.size() - 1; i > 0; --i)
        out.push_back({vs[i - 1].p, vs[i].mid});
    return out;
}

One reversed_one(const One& one) {
    std::unique_ptr<velAbsPolyArcLine> r(one.line->create_new());
    r->reverse();
    return One(std::move(r));
}

std::vector<V> cycled(const std::vector<V>& vs, std::size_t j) {
    std::vector<V> out{{vs[j].p, {}}};
    for (std::size_t i = j + 1; i < vs.size(); ++i)
        out.push_back(vs[i]);
    for (std::size_t i = 1; i <= j; ++i)
        out.push_back(vs[i]);
    return out;
}

} // namespace

TEST(velPolylineInside, PointsNearEverySpanDecideBySide) {
    // On a span or 1e-12 off it: on (inside); 1e-6 left inside, right outside; the same reversed, cycled,
    // moved and scaled.
    Rng rng(1414);
    for (int trial = 0; trial < 40; ++trial) {
        const std::vector<V> base = star(rng, rng.pick(4, 8), rng.uniform(0.5, 20), {0, 0, 0});
        const std::vector<std::pair<double, giVector3>> frames{
            {1.0, {0, 0, 0}}, {1000.0, {0, 0, 0}}, {1.0, {1e3, -2e3, 0}}};
        for (const auto& [scale, shift] : frames) {
            const std::vector<V> vs = moved(base, scale, shift);
            const One loops[3] = {One(vs), One(reversed(vs)), One(cycled(vs, vs.size() / 2))};
            const One& fwd = loops[0];
            for (int k = 0; k + 1 < fwd.it.num_pos(); ++k) {
                for (double f : {0.1, 0.37, 0.5, 0.81}) {
                    const giPoint3 X = fwd.it.get_interpolated_pos(k + f);
                    const giUnitVec3 t = U::span_tangent(fwd.it, k, f);
                    const giVector2 left(-t.y(), t.x());
                    for (const auto& [off, want] : {std::pair{0.0, 1},
                                                    {1e-12, 1},
                                                    {-1e-12, 1},
                                                    {1e-6 * scale, 1},
                                                    {-1e-6 * scale, 0}}) {
                        const giPoint2 P = X.xy() + left * off;
                        for (const One& l : loops)
                            EXPECT_EQ(inside(P, l.it), want) << "trial " << trial << " scale " << scale
                                                             << " span " << k << " f " << f << " off " << off;
                    }
                }
                EXPECT_EQ(inside(fwd.it.get_pos(k).xy(), fwd.it), 1);
            }
            const giPoint2 far = giPoint2(shift.x(), shift.y()) + giVector2(3 * scale * 20, 0);
            EXPECT_EQ(inside(far, fwd.it), 0);
        }
    }
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

} // namespace velPolylineInside_test
