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

} // namespace velPolylineInside_test
