#include "listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"
#include "arcline/polyline/velPolyLine.h"

#include <stdexcept>

namespace velAbsPolyArcLineVecListCursor_test {

using namespace listtest;

namespace {

std::unique_ptr<velAbsPolyArcLine> point_at(double x, velAbsPolyArcLine* proto = nullptr) {
    std::unique_ptr<velAbsPolyArcLine> p(proto != nullptr ? proto : new velPolyArcLineDouble);
    p->add_pos({x, 0, 0});
    return p;
}

std::vector<double> first_xs(const Polylines& v) {
    std::vector<double> xs;
    for (const auto& p : v)
        xs.push_back(p->num_pos() > 0 ? polytest::pos(*p, 1).x : -1);
    return xs;
}

TEST(velAbsPolyArcLineVecListCursor, InsertsAfterTheCurrentSlotInTheFirstPolylinesClass) {
    Polylines v;
    velAbsPolyArcLineVecListCursor c(&v);
    c.create_polyline(); // empty vector: a velPolyArcLineDouble
    EXPECT_NE(dynamic_cast<velPolyArcLineDouble*>(v.front().get()), nullptr);
    v.front() = point_at(0, new velPolyLine);
    c.create_polyline(); // undefined: at the front, of the first polyline's class
    EXPECT_NE(dynamic_cast<velPolyLine*>(v.front().get()), nullptr);
    v.front() = point_at(1);
    c.set_index(1);
    c.create_polyline(); // on the last: appended
    v.back() = point_at(2);
    c.set_index(0);
    c.create_polyline(); // in the middle: after the current one, which stays current
    EXPECT_EQ(c.index(), 0);
    EXPECT_EQ(first_xs(v), (std::vector<double>{1, -1, 0, 2}));
    EXPECT_EQ(&c.current_polyarcline(), v.front().get());

    c.set_index(-1);
    EXPECT_THROW(
        {
            try {
                c.current_polyarcline();
            } catch (const std::out_of_range& e) {
                EXPECT_STREQ(e.what(), "invalid vector<T> subscript");
                throw;
            }
        },
        std::out_of_range);
}

// Removal and moves between vector cursors are in the protocol suite; a polyline from a list cursor is
// copied into the vector and removed there, and an empty sibling writes a vector of its own.
TEST(velAbsPolyArcLineVecListCursor, MovesFromAListCursorByCopying) {
    Polylines a;
    a.push_back(point_at(0));
    velAbsPolyArcLineVecListCursor ca(&a);
    velAbsPolyArcLineListCursor list;
    Polylines one;
    one.push_back(point_at(20));
    fill(list, one);
    ca.set_index(0);
    ca.move_polyline_after(list);
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(first_xs(a), (std::vector<double>{0, 20}));
    const std::unique_ptr<velPolylineListCursor> e(ca.create_empty());
    fill(*e, one);
    EXPECT_EQ(e->size(), 1);
    EXPECT_EQ(a.size(), 2u);
}

} // namespace

} // namespace velAbsPolyArcLineVecListCursor_test
