// What the iterators over particular storage do beyond the shared protocol suite: stepping rules, snapshots,
// counting, run-time types and the text output.

#include "listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineItListIter.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/platform/itRangeIterator.h"
#include "arcline/polyline/velPolyLine.h"

#include <sstream>

namespace velAbsPolyArcLineItListIter_test {

using namespace listtest;

namespace {

Polylines numbered(int n) {
    Polylines v;
    for (int k = 0; k < n; ++k) {
        v.push_back(std::make_unique<velPolyArcLineDouble>());
        v.back()->add_pos({double(k), 0, 0});
    }
    return v;
}

// Counts the steps taken on the sequence it wraps.
struct CountingSteps : itIterator<std::unique_ptr<velAbsPolyArcLine>> {
    explicit CountingSteps(const Polylines& v, int* steps) : range(v), steps(steps) {}
    std::unique_ptr<itIterator> clone() const override { return std::make_unique<CountingSteps>(*this); }
    void reset() override { range.reset(); }
    bool operator++() override {
        ++*steps;
        return ++range;
    }
    const std::unique_ptr<velAbsPolyArcLine>& current() const override { return range.current(); }
    itRangeIterator<Polylines> range;
    int* steps;
};

TEST(velAbsPolyArcLineItListIter, CountsOnceAndRestartsToGoBack) {
    const Polylines v = numbered(5);
    int steps = 0;
    velAbsPolyArcLineItListIter it{CountingSteps(v, &steps)};
    EXPECT_EQ(it.size(), 5);
    EXPECT_EQ(steps, 6);
    EXPECT_EQ(it.size(), 5);
    EXPECT_EQ(steps, 6); // kept
    it.set_index(3);
    EXPECT_EQ(steps, 10);
    it.set_index(1); // backward: from the beginning, two steps
    EXPECT_EQ(steps, 12);
    EXPECT_EQ(it.index(), 1);
    EXPECT_EQ(it.get_pos(0).x, 1);
    it.set_index(4); // forward: three steps
    EXPECT_EQ(steps, 15);
    EXPECT_EQ(it.get_pos(0).x, 4);
}

TEST(velAbsPolyArcLineListRAIter, SnapshotFromAListPosition) {
    velAbsPolyArcLineListCursor c;
    fill(c, numbered(5));
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator from(c.list());
    from.set_index(2);
    velAbsPolyArcLineListRAIter it(from);
    EXPECT_EQ(it.size(), 2);
    it.set_index(0);
    EXPECT_EQ(it.get_pos(0).x, 3);
    // Polylines added later are not seen.
    c.set_index(4);
    fill(c, numbered(1));
    EXPECT_EQ(it.size(), 2);
    EXPECT_EQ(velAbsPolyArcLineListRAIter(c.list()).size(), 6);
}

// Beyond the protocol's kind "single": straight-only storage, and indices other than 0 leave it undefined.
TEST(velSingleAbsArcLineListIter, StraightStorageAndOtherIndices) {
    velPolyLine straight;
    straight.add_pos({1, 2, 3});
    velSingleAbsArcLineListIter it(straight);
    EXPECT_EQ(it.all_spans_linear(), 1);
    it.set_index(7);
    EXPECT_EQ(it.index(), -1);
    it.set_index(0);
    EXPECT_EQ(&it.get_polyline(), &straight);
}

TEST(velPolylineListIter, WritesItsTextForm) {
    velAbsPolyArcLineListCursor c;
    Polylines in;
    in.push_back(std::make_unique<velPolyArcLineDouble>());
    in.back()->add_pos({0, 0, 0});
    in.back()->add_pos({1, 0, 0});
    in.back()->add_arc({1.5, 0.5, 0}, {2, 0, 0});
    in.push_back(std::make_unique<velPolyArcLineDouble>());
    in.back()->add_pos({0.25, -1, 2});
    fill(c, in);
    c.set_index(1);
    std::ostringstream os;
    os << c;
    EXPECT_EQ(os.str(), "velPolylineListCursor {\n"
                        "velPolylineListIter {\n"
                        "0: (3) (0, 0, 0) (1, 0, 0) M (1.5, 0.5, 0) (2, 0, 0)\n"
                        "1: (1) (0.25, -1, 2)\n"
                        "}\n"
                        "}\n");
    EXPECT_EQ(c.index(), 1); // the output walked a clone
}

} // namespace

} // namespace velAbsPolyArcLineItListIter_test
