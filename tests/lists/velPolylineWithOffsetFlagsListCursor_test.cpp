#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

#include <vector>

namespace velPolylineWithOffsetFlagsListCursor_test {

using namespace viewtest;

namespace {
using Records = std::vector<velOffsetInfo>;

std::unique_ptr<velPolylineWithOffsetFlagsListCursor> flagged() {
    return std::make_unique<velPolylineWithOffsetFlagsListCursor>(ut_ptr_claim,
                                                                  new velAbsPolyArcLineListCursor);
}

const velPolylineWithOffsetFlagsListIter& view_of(const velPolylineListCursor& c) {
    return *velPolylineWithOffsetFlagsListIter::ut_dynamic_cast(&c.iterator());
}

// The records of the cursor's current polyline, span by span, as its view reads them.
Records records_of(const velPolylineListCursor& c) {
    Records out(static_cast<std::size_t>(std::max(c.num_pos() - 1, 0)));
    for (std::size_t i = 0; i < out.size(); ++i)
        view_of(c).get_offset_info(static_cast<int>(i), out[i]);
    return out;
}

// `count` random polylines written into c, then a random record set on every span; the records by polyline.
std::vector<Records> fill_with_records(velPolylineWithOffsetFlagsListCursor& c, Rng& rng, int count) {
    Polylines in;
    for (int k = 0; k < count; ++k)
        in.push_back(listtest::random_polyline(rng, rng.pick(2, 7), 0.0));
    listtest::fill(c, in);
    std::vector<Records> all;
    for (c.reset(); ++c;) {
        Records& r = all.emplace_back();
        for (int i = 0; i + 1 < c.num_pos(); ++i) {
            r.push_back({rng.pick(0, 1), rng.pick(-1, 50), static_cast<velSpanSide>(rng.pick(0, 5))});
            c.set_offset_flag(i, r.back().temporary_span, r.back().span_position, r.back().span_side);
        }
    }
    return all;
}

void expect_records(velPolylineListCursor& c, const std::vector<Records>& expected) {
    ASSERT_EQ(c.size(), static_cast<int>(expected.size()));
    c.reset();
    for (const Records& r : expected) {
        ASSERT_EQ(++c, 1);
        EXPECT_EQ(records_of(c), r) << "polyline " << c.index();
    }
}
} // namespace

// Copying piece by piece (whole spans or split ones, some polylines backwards) gives every written span the
// record of the source span it came from; add_pos gives the default record. The view's queries answer the
// records, split by span kind, and nothing past the last record.
TEST(velPolylineWithOffsetFlagsListCursor, RecordsGoWithTheSpansWritten) {
    for (unsigned seed = 2; seed <= 5; ++seed) {
        Rng rng(seed);
        auto src = flagged();
        const std::vector<Records> records = fill_with_records(*src, rng, 5);
        const velPolylineWithOffsetFlagsListIter& it = view_of(*src);
        auto out = flagged();
        std::vector<Records> expected;
        for (src->reset(); ++*src;) {
            const int n = it.num_pos();
            const Records& r = records[static_cast<std::size_t>(it.index())];
            for (int i = 0; i + 1 < n; ++i) {
                EXPECT_EQ(it.span_position(i), r[static_cast<std::size_t>(i)].span_position);
                EXPECT_EQ(it.span_side(i), r[static_cast<std::size_t>(i)].span_side);
                EXPECT_EQ(it.temporary_line(i), it.temporary_span(i) && it.span_linear(i));
                EXPECT_EQ(it.temporary_arc(i), it.temporary_span(i) && !it.span_linear(i));
            }
            EXPECT_EQ(it.offset_info(n - 1), nullptr);
            EXPECT_EQ(it.span_position(n - 1), -1);

            out->create_polyline();
            ++*out;
            const bool backwards = it.index() % 2 == 1;
            out->add_pos(it, backwards ? n - 1 : 0);
            Records& e = expected.emplace_back();
            for (int s = 0; s + 1 < n; ++s) {
                const int i = backwards ? n - 2 - s : s;
                const double a = backwards ? i + 1 : i, b = backwards ? i : i + 1;
                const int pieces = rng.pick(1, 2);
                const double split = i + rng.uniform(0.2, 0.8);
                out->add_span(it, a, pieces == 1 ? b : split);
                if (pieces == 2) out->add_span(it, split, b);
                e.insert(e.end(), static_cast<std::size_t>(pieces), r[static_cast<std::size_t>(i)]);
            }
            out->add_pos(it, backwards ? n - 1 : 0); // a straight span back to the start
            e.push_back({});
        }
        expect_records(*out, expected);
    }
}

// Arrays travel with their polylines: create_polyline inserts one, remove drops one, move_polyline_after
// (and append, which uses it) takes one along to the other cursor, with a new empty array from a cursor
// without records; clear empties the flag list.
TEST(velPolylineWithOffsetFlagsListCursor, RecordsMoveWithTheirPolylines) {
    Rng rng(6);
    auto a = flagged(), b = flagged();
    std::vector<Records> ra = fill_with_records(*a, rng, 5), rb = fill_with_records(*b, rng, 2);

    a->set_index(2);
    a->remove();
    ra.erase(ra.begin() + 2);
    EXPECT_EQ(records_of(*a), ra[2]);
    b->set_index(0);
    b->move_polyline_after(*a);
    rb.insert(rb.begin() + 1, ra[2]);
    ra.erase(ra.begin() + 2);
    EXPECT_EQ(a->index(), 2);
    EXPECT_EQ(records_of(*a), ra[2]);
    a->reset();
    a->create_polyline(); // at the front, undefined cursor
    ra.insert(ra.begin(), Records{});
    a->set_index(a->size() - 1);
    b->append(*a);
    rb.push_back(ra.back());
    ra.pop_back();
    velAbsPolyArcLineListCursor plain;
    Polylines one;
    one.push_back(listtest::random_polyline(rng, 3, 0.0));
    listtest::fill(plain, one);
    b->append(plain);
    rb.push_back(Records(2)); // no records: the default ones
    b->set_index(b->size() - 1);
    EXPECT_EQ(b->get_current_flags()->size(), 0);
    expect_records(*a, ra);
    expect_records(*b, rb);
    EXPECT_EQ(a->offset_flags().size(), a->size());
    EXPECT_EQ(b->offset_flags().size(), b->size());
    a->clear();
    EXPECT_EQ(a->offset_flags().size(), 0);
    const std::unique_ptr<velPolylineListCursor> empty(b->create_empty());
    EXPECT_NE(dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(empty.get()), nullptr);
    EXPECT_EQ(empty->size(), 0);
}

// Records given for a whole contour survive the writing of its geometry while the contour lock is set;
// unlocked, add_pos writes the default record over them.
TEST(velPolylineWithOffsetFlagsListCursor, ContourLockKeepsRecordsGivenAhead) {
    Rng rng(7);
    auto src = flagged();
    const Records given = fill_with_records(*src, rng, 1).front();
    src->set_index(0);
    const velPolylineListIter& it = src->iterator();
    auto out = flagged();
    out->create_polyline();
    ++*out;
    out->append_offset_flags(view_of(*src));
    EXPECT_EQ(out->contour_locked(), 1);
    for (int i = 0; i < it.num_pos(); ++i)
        out->add_pos(it, i);
    EXPECT_EQ(records_of(*out), given);
    out->unset_contour_lock();
    out->add_pos(it, 0);
    Records closed = given;
    closed.push_back({});
    EXPECT_EQ(records_of(*out), closed);

    out->create_polyline();
    ++*out;
    out->set_offset_flag(0, 1, 9, velSpanSideLeft);
    out->add_pos(it, 0);
    out->add_pos(it, 1);
    EXPECT_EQ(records_of(*out), Records{velOffsetInfo{}});
    // set_current_flags shares the array it is given, and locks.
    auto shared = std::make_shared<velOffsetInfocoPageArr>();
    shared->append({1, 3, velSpanSideRight});
    out->set_current_flags(shared);
    EXPECT_EQ(out->get_current_flags(), shared);
    out->add_pos(it, 2);
    EXPECT_EQ(records_of(*out), (Records{{1, 3, velSpanSideRight}, {}}));
    EXPECT_EQ(shared->size(), 2);
    // A null array: no records, the default answers.
    velOffsetInfocoPageArrcoPrf none;
    out->set_current_flags(none);
    EXPECT_EQ(view_of(*out).offset_info(0), nullptr);
    EXPECT_EQ(records_of(*out), Records(2));
}

} // namespace velPolylineWithOffsetFlagsListCursor_test
