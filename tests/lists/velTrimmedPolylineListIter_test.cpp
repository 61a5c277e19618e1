// The trimmed list view: pieces, whole-list operations, closure breaks and copies.

#include "viewTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velSingleTrimmedPolylineListIter.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

namespace velTrimmedPolylineListIter_test {

using namespace listtest;

namespace {

std::unique_ptr<velAbsPolyArcLine> straight(std::initializer_list<giPoint3> pts) {
    auto p = std::make_unique<velPolyArcLineDouble>();
    for (const auto& q : pts)
        p->add_pos(q);
    return p;
}

// Three straight polylines of 4 positions along y = 0, 1, 2, and a trimmed view of them.
struct ThreeLines : ::testing::Test {
    static velAbsPolyArcLineListCursor& filled(velAbsPolyArcLineListCursor& c) {
        for (double k = 0; k < 3; ++k)
            viewtest::add_tagged_line(c, 4, k);
        return c;
    }
    velAbsPolyArcLineListCursor list;
    velTrimmedPolylineListIter t{filled(list).iterator()};
};

struct Piece {
    int poly;
    double s, e;
    bool operator==(const Piece&) const = default;
};
std::vector<Piece> pieces(velTrimmedPolylineListIter& t) {
    std::vector<Piece> out;
    for (t.reset(); ++t;)
        out.push_back({t.underlying_index(), t.underlying_start(), t.underlying_end()});
    return out;
}

TEST_F(ThreeLines, InvertRestoresWhatWasRemovedOnlyAndCompletenessToleratesGapsUpTo1em5) {
    t.set_index(0);
    t.trim(0, 3); // polyline 0 away whole
    t.reset();
    t.set_index(0);
    t.trim(0.5, 1.0); // polyline 1 cut
    t.invert();
    EXPECT_EQ(pieces(t), (std::vector<Piece>{{0, 0, 3}, {1, 0.5, 1}}));
    t.set_underlying_curve(1);
    EXPECT_EQ(t.is_trimmed(0.75), 0);
    EXPECT_EQ(t.is_trimmed(2.0), 1);
    EXPECT_FALSE(t.is_complete());
    t.set_underlying_curve(0);
    EXPECT_TRUE(t.is_complete());
    EXPECT_EQ(t.set_underlying_curve(2), 0);
    for (double gap : {1e-6, 1e-4}) {
        velTrimmedPolylineListIter u(list.iterator());
        u.set_index(0);
        u.trim(2 - gap, 2 + gap);
        u.set_underlying_curve(0);
        EXPECT_EQ(u.is_complete(), gap < 1e-5) << gap;
    }
}

TEST_F(ThreeLines, FlagsMarkTheEndsTheyMade) {
    EXPECT_FALSE(t.edge_flags_enabled());
    t.enable_edge_flags(1, 2);
    EXPECT_TRUE(t.edge_flags_enabled());
    t.set_index(0);
    t.trim_with_flags(1.0, 2.0, 5, 6);
    t.reset();
    ++t; // [2, 3]: made at 2, so start flag 5; the original end keeps 2
    EXPECT_EQ(t.start_flag(), 5);
    EXPECT_EQ(t.end_flag(), 2);
    velTrimmedPolylineEndData d;
    t.start_end_data(d);
    EXPECT_EQ(d.start_point(), (giPoint3{2, 0, 0}));
    ++t; // [0, 1]
    EXPECT_EQ(t.start_flag(), 1);
    EXPECT_EQ(t.end_flag(), 6);
    EXPECT_EQ(t.open_start(&velTPLIWithoutClosureBreaks::default_closure_function, nullptr), 1);
    EXPECT_EQ(t.open_end(&velTPLIWithoutClosureBreaks::default_closure_function, nullptr), 0);
}

TEST_F(ThreeLines, UnionAndDifferenceOfViews) {
    velTrimmedPolylineListIter a(list.iterator()), b(list.iterator());
    a.set_index(0);
    a.trim(0.0, 2.0); // keeps [2, 3] of polyline 0
    b.set_index(0);
    b.trim(1.0, 3.0); // keeps [0, 1]
    b.set_index(1);
    b.trim(0.0, 3.0); // drops polyline 1
    velTrimmedPolylineListIter u(a);
    u.add(b);
    EXPECT_EQ(pieces(u), (std::vector<Piece>{{0, 2, 3}, {0, 0, 1}, {1, 0, 3}, {2, 0, 3}}));
    velTrimmedPolylineListIter d(a);
    d.subtract(b);
    EXPECT_EQ(pieces(d), (std::vector<Piece>{{0, 2, 3}, {1, 0, 3}}));
    // The snapshot of one polyline's pieces.
    velSingleTrimmedPolylineListIter one(u, 0);
    EXPECT_EQ(one.size(), 2);
    one.reset();
    ++one;
    EXPECT_EQ(one.box().max(), (giPoint3{3, 0, 0}));
}

// Copies of random trimmings: every piece, arcs included, has the length of its kept range and ends on the
// original polyline.
TEST(velTrimmedPolylineListIter, CopiesHaveTheKeptLengths) {
    Rng rng(81);
    for (int round = 0; round < 5; ++round) {
        velAbsPolyArcLineListCursor list;
        fill(list, random_list(rng, 5, round % 2 == 1));
        velTrimmedPolylineListIter t(list.iterator());
        for (t.reset(); ++t;) {
            const int n = t.num_pos();
            if (n < 2) continue;
            double a = rng.uniform(0, n - 1), b = rng.uniform(0, n - 1);
            if (a > b) std::swap(a, b);
            t.trim(a, b);
        }
        double kept = 0;
        std::vector<std::pair<giPoint3, giPoint3>> ends;
        for (t.reset(); ++t;) {
            if (t.num_pos() < 2) continue;
            velPolylineListIter& u = t.underlying_iter();
            const double piece = velPolylineUtils::length(u, t.underlying_start(), t.underlying_end());
            kept += piece;
            ends.emplace_back(u.get_interpolated_pos(t.underlying_start()),
                              u.get_interpolated_pos(t.underlying_end()));
            EXPECT_NEAR(velPolylineUtils::length(t), piece, 1e-9); // the view's own length agrees
        }
        velAbsPolyArcLineListCursor out;
        t.copy(out);
        double copied = 0;
        std::size_t k = 0;
        for (out.reset(); ++out;) {
            if (out.num_pos() < 2) continue;
            copied += velPolylineUtils::length(out.iterator());
            ASSERT_LT(k, ends.size());
            EXPECT_TRUE(out.get_pos(0).coincident(ends[k].first, 1e-9));
            EXPECT_TRUE(out.get_pos(out.num_pos() - 1).coincident(ends[k].second, 1e-9));
            ++k;
        }
        EXPECT_NEAR(copied, kept, 1e-9 * (1 + kept));
    }
}

// End pieces are joined only when the closure function calls the polyline closed (1e-6 apart: with a
// tolerance).
TEST(velTPLIWithoutClosureBreaks, JoinsOnlyWhatTheClosureFunctionCallsClosed) {
    velAbsPolyArcLineListCursor list;
    Polylines in;
    in.push_back(straight({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}}));    // closed
    in.push_back(straight({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}));                          // open
    in.push_back(straight({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {0, 1e-6, 0}})); // almost closed
    fill(list, in);
    velTrimmedPolylineListIter t(list.iterator());
    t.set_underlying_curve(0);
    t.trim(1.25, 1.75); // the right side, (1, 0.25) .. (1, 0.75)
    for (int k : {2, 1}) {
        t.set_underlying_curve(k);
        t.trim(0.5, 0.75);
    }
    double tol = 1e-5;
    for (void* data : {static_cast<void*>(nullptr), static_cast<void*>(&tol)}) {
        velTPLIWithoutClosureBreaks v(t, nullptr, data);
        std::vector<int> counts;
        for (v.reset(); ++v;)
            counts.push_back(v.num_pos());
        const std::vector<int> separate{6, 3, 2, 5, 2}, joined{6, 3, 2, 6};
        EXPECT_EQ(counts, data == nullptr ? separate : joined);
    }
    velTPLIWithoutClosureBreaks v(t);
    EXPECT_EQ(t.size(), 6);
    EXPECT_EQ(v.size(), 5);
    v.set_index(0);
    EXPECT_TRUE(v.get_pos(0).coincident({1, 0.75, 0}, 1e-15) && v.get_pos(5).coincident({1, 0.25, 0}, 1e-15));
    EXPECT_DOUBLE_EQ(v.underlying_parameter(4.5), 1.125);
    EXPECT_EQ(v.underlying_end(), 1.25);
    EXPECT_EQ(v.open_start(), 0);
    EXPECT_EQ(v.open_end(), 0);
    v.set_index(1);
    EXPECT_EQ(v.underlying_index(), 1);
    t.set_index(0);
    t.trim_whole_segment_without_closure_breaks(&velTPLIWithoutClosureBreaks::default_closure_function,
                                                nullptr);
    EXPECT_EQ(t.size(), 4);
}

// velPolylineUtils::append of a trimmed piece cuts it from the polyline underneath: a joined piece through
// the closing point comes out whole, with the length of its two parts.
TEST(velTrimmedPolylineListIter, AppendCopiesPiecesFromTheUnderlyingPolyline) {
    velAbsPolyArcLineListCursor list;
    Polylines in;
    in.push_back(std::make_unique<velPolyArcLineDouble>());
    in.back()->add_pos({0, 0, 0});
    in.back()->add_arc({1, -1, 0}, {2, 0, 0});
    in.back()->add_arc({1, 1, 0}, {0, 0, 0}); // a circle of radius 1 in two half arcs
    fill(list, in);
    velTrimmedPolylineListIter t(list.iterator());
    t.set_index(0);
    t.trim(0.75, 1.25); // cuts the closing point's opposite side
    velTPLIWithoutClosureBreaks v(t);
    v.set_index(0);
    velAbsPolyArcLineListCursor out;
    out.create_last_polyline();
    velPolylineUtils::append(v, 0.0, v.num_pos() - 1.0, out);
    const double kept = velPolylineUtils::length(t.underlying_iter(), 1.25, 2.0) +
                        velPolylineUtils::length(t.underlying_iter(), 0.0, 0.75);
    EXPECT_NEAR(velPolylineUtils::length(out.iterator()), kept, 1e-12);
    EXPECT_GT(kept, 3.14159); // more than the half circle that holds no cut
    EXPECT_TRUE(out.get_pos(0).coincident(v.get_pos(0), 1e-12));
    EXPECT_TRUE(out.get_pos(out.num_pos() - 1).coincident(v.get_pos(v.num_pos() - 1), 1e-12));
}

// A list iterator that counts the moves made on it (its clones count their own).
struct CountingIter : velAbsPolyArcLineListIter {
    using velAbsPolyArcLineListIter::velAbsPolyArcLineListIter;
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

// The closure function reads the polyline where the caller's iterator stands, or walks a clone to it: the
// caller's iterator is const and may be in use elsewhere.
TEST_F(ThreeLines, DefaultClosureFunctionLeavesTheCallersIteratorAlone) {
    CountingIter it(list.list());
    double tol = 5.0; // the ends of each line are 3 apart
    for (const int at : {-1, 0, 1, 2}) {
        if (at >= 0) it.set_index(at);
        it.moves = 0;
        const CountingIter& reader = it;
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(velTPLIWithoutClosureBreaks::default_closure_function(reader, k, nullptr), 0);
            EXPECT_EQ(velTPLIWithoutClosureBreaks::default_closure_function(reader, k, &tol), 1);
        }
        EXPECT_EQ(it.moves, 0) << "standing at " << at;
        EXPECT_EQ(it.index(), at);
    }
}

} // namespace

} // namespace velTrimmedPolylineListIter_test
