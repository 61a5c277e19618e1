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

TEST(velAbsPolyArcLineVecListCursor, RemoveMoveAndClear) {
    Polylines a, b;
    for (int k = 0; k < 3; ++k)
        a.push_back(point_at(k));
    b.push_back(point_at(10));
    b.push_back(point_at(11));
    velAbsPolyArcLineVecListCursor ca(&a), cb(&b);

    cb.set_index(1);
    const velAbsPolyArcLine* moved = b[1].get();
    ca.set_index(0);
    ca.move_polyline_after(cb); // ownership moves; this cursor stays on its polyline
    EXPECT_EQ(first_xs(a), (std::vector<double>{0, 11, 1, 2}));
    EXPECT_EQ(a[1].get(), moved);
    EXPECT_EQ(ca.index(), 0);
    EXPECT_EQ(first_xs(b), (std::vector<double>{10}));
    EXPECT_EQ(cb.index(), -1); // it removed its last polyline

    // From a list cursor: copied, then removed there.
    velAbsPolyArcLineListCursor list;
    Polylines one;
    one.push_back(point_at(20));
    fill(list, one);
    ca.set_index(3);
    ca.move_polyline_after(list);
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(first_xs(a), (std::vector<double>{0, 11, 1, 2, 20}));

    ca.set_index(4);
    ca.remove();
    EXPECT_EQ(ca.index(), -1);
    ca.set_index(1);
    ca.remove();
    EXPECT_EQ(ca.index(), 1);
    EXPECT_EQ(ca.get_pos(0).x, 1);

    ca.set_index(2);
    ca.clear();
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(ca.index(), -1);

    const std::unique_ptr<velPolylineListCursor> e(ca.create_empty());
    fill(*e, one);
    EXPECT_EQ(e->size(), 1);
    EXPECT_TRUE(a.empty());
}

} // namespace

} // namespace velAbsPolyArcLineVecListCursor_test
