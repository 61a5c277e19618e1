// The default closure function of the closure-break-free view reads the polyline it is asked about without
// moving the caller's iterator: the iterator is handed over const, may be a truly const object, and may be
// read by others meanwhile.

#include "listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"

namespace velClosureFunction_test {

using namespace listtest;

namespace {

// A list iterator that counts the moves made on it (its clones count their own).
class CountingIter : public velAbsPolyArcLineListIter {
public:
    using velAbsPolyArcLineListIter::velAbsPolyArcLineListIter;
    CountingIter(const CountingIter& other) : velAbsPolyArcLineListIter(other) {}
    CountingIter& operator=(const CountingIter&) = delete;
    void reset() override {
        ++moves;
        velAbsPolyArcLineListIter::reset();
    }
    int operator++() override {
        ++moves;
        return velAbsPolyArcLineListIter::operator++();
    }
    void set_index(int k) override {
        ++moves;
        velAbsPolyArcLineListIter::set_index(k);
    }
    CountingIter* create_new() const override { return new CountingIter(*this); }
    int moves = 0;
};

} // namespace

TEST(velClosureFunction, DefaultClosureFunctionLeavesTheCallersIteratorAlone) {
    velAbsPolyArcLineListCursor cursor;
    Polylines in;
    for (const bool closed : {true, false, true}) {
        auto p = std::make_unique<velPolyArcLineDouble>();
        for (const giPoint3& q : {giPoint3{0, 0, 0}, {1, 0, 0}, {1, 1, 0}})
            p->add_pos(q);
        p->add_pos(closed ? giPoint3{0, 0, 0} : giPoint3{0, 1e-7, 0});
        in.push_back(std::move(p));
    }
    fill(cursor, in);
    CountingIter it(cursor.list());
    for (const int at : {-1, 0, 1, 2}) {
        if (at >= 0) it.set_index(at);
        it.moves = 0;
        const CountingIter& reader = it;
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(velTPLIWithoutClosureBreaks::default_closure_function(reader, k, nullptr), k != 1);
            double tol = 1e-6;
            EXPECT_EQ(velTPLIWithoutClosureBreaks::default_closure_function(reader, k, &tol), 1);
        }
        EXPECT_EQ(it.moves, 0) << "standing at " << at;
        EXPECT_EQ(it.index(), at);
    }
}

} // namespace velClosureFunction_test
