// Positions on polylines of a list: validity, order, movement, the cached position and linked pairs.

#include "utilsTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/polyline/utils/velPolylineLink.h"
#include "arcline/polyline/utils/velPolylinePosition.h"
#include "arcline/polyline/utils/velPolylinePositionWithCache.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>

namespace velPolylinePosition_test {

using namespace utiltest;
using P = velPolylinePosition;

namespace {

// A list of polylines behind a cursor, with an iterator of its own over it.
struct List {
    velAbsPolyArcLineListCursor cursor;
    std::unique_ptr<velAbsPolyArcLineListIter> it;
    explicit List(const listtest::Polylines& lines) {
        listtest::fill(cursor, lines);
        it.reset(cursor.native_iter());
    }
};

listtest::Polylines of(std::initializer_list<std::vector<V>> lines) {
    listtest::Polylines out;
    for (const auto& vs : lines)
        out.push_back(make_line(vs));
    return out;
}

const std::vector<V> line3{{{0, 0, 0}, {}}, {{10, 0, 0}, {}}, {{20, 0, 0}, {}}};
const std::vector<V> square{
    {{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 1, 0}, {}}, {{0, 1, 0}, {}}, {{0, 0, 0}, {}}};
const std::vector<V> closed4{{{0, 0, 0}, {}}, {{4, 0, 0}, {}}, {{0, 3, 0}, {}}, {{0, 0, 0}, {}}};
const std::vector<V> open4{{{0, 0, 0}, {}}, {{4, 0, 0}, {}}, {{0, 3, 0}, {}}, {{0, 1, 0}, {}}};

// Length coordinate of a parameter (linear within a span) from fine polygons: what movement follows.
struct Ruler {
    std::vector<double> start{0.0}, len;
    explicit Ruler(const velPolylineListIter& it) {
        for (int k = 0; k + 1 < it.num_pos(); ++k) {
            auto polygon = [&](int m) {
                double s = 0;
                for (int j = 0; j < m; ++j)
                    s += it.get_interpolated_pos(k + double(j) / m)
                             .distance(it.get_interpolated_pos(k + double(j + 1) / m));
                return s;
            };
            // Extrapolated from m and 2m chords: exact to about 1/m^4.
            len.push_back((4 * polygon(4000) - polygon(2000)) / 3);
            start.push_back(start.back() + len.back());
        }
    }
    double at(double t) const {
        const int k = std::min(static_cast<int>(std::floor(t)), static_cast<int>(len.size()) - 1);
        return start[static_cast<std::size_t>(k)] + (t - k) * len[static_cast<std::size_t>(k)];
    }
    double total() const { return start.back(); }
};

} // namespace

TEST(velPolylinePosition, ConstructionValidityAndThePrivateIterator) {
    List l(of({line3, open4}));
    const P none;
    EXPECT_TRUE(none.iterator() == nullptr && none.polyline_index() == -1 && none.valid() == 0);
    l.it->set_index(1);
    const P here(l.it.get(), 2.5);
    EXPECT_TRUE(here.polyline_index() == 1 && here.valid() == 1);
    // Past the end, before the start, no such polyline, no number; standing elsewhere, the end is not
    // checked.
    for (const auto& [k, t, want] : {std::tuple{1, 3.5, 0}, {1, -0.5, 0}, {2, 0.5, 0}, {1, std::nan(""), 0}})
        EXPECT_EQ(P(l.it.get(), k, t).valid(), want) << k << " " << t;
    l.it->set_index(0);
    EXPECT_EQ(P(l.it.get(), 1, 3.5).valid(), 1);

    // Evaluated on a clone: the list iterator stays on polyline 0.
    EXPECT_EQ(here.point(), giPoint3(0, 2, 0));
    EXPECT_EQ(here.tangent_after(), giUnitVec3(0, -1, 0));
    EXPECT_EQ(l.it->index(), 0);
    EXPECT_EQ(&here.my_polyline(), &here.my_polyline());
    EXPECT_NE(&here.my_polyline(), l.it.get());
    const P first(l.it.get(), 0, 1.5);
    EXPECT_EQ(&first.my_polyline(), l.it.get());
    EXPECT_EQ(first.point(), giPoint3(15, 0, 0));
    P moved = here;
    moved.become(l.it.get(), 0.25);
    EXPECT_EQ(moved.polyline_index(), 0);
    EXPECT_EQ(moved.point(), giPoint3(2.5, 0, 0));
    moved.set_invalid();
    EXPECT_EQ(moved, none);
    // copy_to appends the point.
    velAbsPolyArcLineListCursor out;
    out.create_polyline();
    ++out;
    here.copy_to(out);
    EXPECT_EQ(out.get_pos(0), giPoint3(0, 2, 0));
}

TEST(velPolylinePosition, ComparisonAndOrderFollowLengthAlongTheList) {
    Rng rng(31);
    listtest::Polylines lines;
    for (int i = 0; i < 3; ++i)
        lines.push_back(listtest::random_polyline(rng, 6, 0.3));
    List l(lines), other(lines);
    std::vector<P> ps;
    for (int i = 0; i < 200; ++i) {
        const int k = rng.pick(0, 2);
        ps.emplace_back(l.it.get(), k, i % 10 == 0 ? double(rng.pick(0, 5)) : rng.uniform(0, 5));
    }
    std::sort(ps.begin(), ps.end());
    for (std::size_t i = 1; i < ps.size(); ++i) {
        const P &a = ps[i - 1], &b = ps[i];
        ASSERT_FALSE(b < a);
        EXPECT_TRUE(a < b || a == b);
        EXPECT_EQ(a > b, b < a);
        if (a.is_on_same_polyline(b)) {
            l.it->set_index(a.polyline_index());
            EXPECT_LE(velPolylineUtils::length(*l.it, 0, a.parameter()),
                      velPolylineUtils::length(*l.it, 0, b.parameter()));
            EXPECT_EQ(a.is_on_same_span(b), std::floor(a.parameter()) == std::floor(b.parameter()));
        } else {
            EXPECT_LT(a.polyline_index(), b.polyline_index());
        }
    }
    // Different iterators: neither equal nor ordered, whatever the numbers.
    const P a(l.it.get(), 1, 1.0), b(other.it.get(), 1, 1.0), c(other.it.get(), 2, 3.0);
    EXPECT_FALSE(a == b || a < b || a > b || a < c || c < a);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a.is_on_same_polyline(b));
}

TEST(velPolylinePosition, MovementEdgeCases) {
    List l(of({line3, square, closed4, open4}));
    const P at(l.it.get(), 0, 0.5);
    EXPECT_EQ(at.moved_to(1.2).moved_by_length(-30, 1).parameter(), 0.0);
    EXPECT_EQ(at.moved_by_length(0, 0), at);
    EXPECT_DOUBLE_EQ(P(l.it.get(), 1, 3.5).moved_forward_by_length(4 * 1000 + 0.25, 1).parameter(), 3.75);
    for (int k : {2, 3}) {
        const P p(l.it.get(), k, 1.3);
        EXPECT_EQ(p.moved_forward_to_next_span(0).parameter(), 2.0);
        EXPECT_EQ(p.moved_backward_to_next_span(0).parameter(), 0.0);
        EXPECT_EQ(p.moved_to(2.5).moved_forward_to_next_span(0).valid(), 0);
        // The end counts as on the last span.
        EXPECT_EQ(p.moved_to(3.0).moved_backward_to_next_span(0).parameter(), 1.0);
        EXPECT_EQ(p.moved_to(0.5).moved_backward_to_next_span(0).valid(), 0);
    }
    const P c(l.it.get(), 2, 2.5), o(l.it.get(), 3, 2.5);
    EXPECT_EQ(c.moved_forward_to_next_span(1).parameter(), 0.0);
    EXPECT_EQ(c.moved_to(0.5).moved_backward_to_next_span(1).parameter(), 2.0);
    EXPECT_EQ(o.moved_forward_to_next_span(1).valid(), 0);
    EXPECT_EQ(P().moved_forward_to_next_span(1), P());
    EXPECT_EQ(P().moved_forward_by_length(3, 1), P());
    // A movement that ends on a span of length 0 lands on its start.
    List z(of({{{{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 0, 0}, {}}},
               {{{0, 0, 0}, {}}, {{0, 0, 0}, {}}, {{1, 0, 0}, {}}}}));
    EXPECT_EQ(P(z.it.get(), 0, 0.0).moved_forward_by_length(5.0, 0).parameter(), 1.0);
    EXPECT_EQ(P(z.it.get(), 1, 2.0).moved_backward_by_length(5.0, 0).parameter(), 0.0);
}

TEST(velPolylinePosition, MovesByLengthLandWhereTheLengthMeasureSays) {
    Rng rng(32);
    for (int trial = 0; trial < 40; ++trial) {
        const bool closed = trial % 2 == 0, straight = trial % 4 < 2;
        listtest::Polylines lines;
        lines.push_back(listtest::random_polyline(rng, {3, 7}, {-1, 1}, closed));
        if (straight) {
            auto flat = std::make_unique<velPolyArcLineDouble>();
            for (int i = 1; i <= lines[0]->num_pos(); ++i)
                flat->add_pos(polytest::pos(*lines[0], i));
            lines[0] = std::move(flat);
        }
        List l(lines);
        l.it->set_index(0);
        const Ruler ruler(*l.it);
        const double end = l.it->num_pos() - 1.0, L = ruler.total();
        for (int j = 0; j < 10; ++j) {
            const P p(l.it.get(), 0, rng.uniform(0, end));
            const double d = rng.uniform(0, 1.6) * L;
            for (int wrap : {0, 1}) {
                const P f = p.moved_forward_by_length(d, wrap), b = p.moved_backward_by_length(d, wrap);
                ASSERT_TRUE(f.valid() && b.valid());
                if (wrap && closed) {
                    EXPECT_NEAR(std::fmod(ruler.at(f.parameter()) - ruler.at(p.parameter()) + 2 * L, L),
                                std::fmod(d, L), 1e-9 * L);
                    EXPECT_NEAR(std::fmod(ruler.at(p.parameter()) - ruler.at(b.parameter()) + 2 * L, L),
                                std::fmod(d, L), 1e-9 * L);
                } else {
                    EXPECT_NEAR(ruler.at(f.parameter()), std::min(L, ruler.at(p.parameter()) + d), 1e-9 * L)
                        << trial;
                    EXPECT_NEAR(ruler.at(b.parameter()), std::max(0.0, ruler.at(p.parameter()) - d), 1e-9 * L)
                        << trial;
                }
                if (straight && !wrap && f.parameter() < end) {
                    EXPECT_NEAR(velPolylineUtils::length(*l.it, p.parameter(), f.parameter()), d, 1e-9 * L);
                }
            }
        }
        // Span by span round the polyline: every start once, then off the end or round again.
        P s(l.it.get(), 0, 0.0);
        for (int k = 1; k <= end - 1; ++k) {
            s = s.moved_forward_to_next_span(1);
            EXPECT_EQ(s.parameter(), k);
        }
        EXPECT_EQ(s.moved_forward_to_next_span(1).valid(), closed ? 1 : 0);
    }
}

// The cached position returns the plain one's values, keeps them, and forgets them when it moves.

TEST(velPolylinePositionWithCache, ReturnsTheBaseValuesAndKeepsThem) {
    Rng rng(41);
    const One one(listtest::random_polyline(rng, 6, 0.7));
    for (int i = 0; i < 20; ++i) {
        const double t = rng.uniform(0, 5);
        const velPolylinePosition plain(&one.it, t);
        const velPolylinePositionWithCache cached(&one.it, t);
        EXPECT_TRUE(cached.cached_point().is_unset());
        EXPECT_TRUE(cached.point() == plain.point() && cached.tangent_before() == plain.tangent_before() &&
                    cached.tangent_after() == plain.tangent_after());
        EXPECT_TRUE(cached.cached_point() == plain.point() &&
                    cached.cached_tangent_after() == plain.tangent_after());
    }
    // Kept: after the polyline changes, the cached point is the old one while a plain position sees the new.
    velPolylinePositionWithCache kept(&one.it, 1.0);
    kept.set_cached_data();
    const giPoint3 old = kept.cached_point();
    EXPECT_FALSE(kept.cached_tangent_before().invalid());
    one.line->edit_pos(2, {1, 2, 3});
    EXPECT_EQ(kept.point(), old);
    EXPECT_EQ(velPolylinePosition(&one.it, 1.0).point(), giPoint3(1, 2, 3));
    // Copies of a cached position take the caches; become, set_invalid and plain assignment drop them.
    velPolylinePositionWithCache assigned, changed(kept);
    assigned = kept;
    EXPECT_TRUE(velPolylinePositionWithCache(kept).cached_point() == old && assigned.cached_point() == old);
    changed.become(&one.it, 1.0);
    EXPECT_TRUE(changed.cached_point().is_unset() && changed.cached_tangent_after().invalid());
    EXPECT_EQ(changed.point(), giPoint3(1, 2, 3));
    changed.set_invalid();
    EXPECT_TRUE(changed.cached_point().is_unset() && changed.valid() == 0);
    changed.set_cached_data(); // of an invalid position: nothing
    EXPECT_TRUE(changed.cached_point().is_unset());

    velPolylinePositionWithCache from_plain(kept);
    from_plain = velPolylinePosition(&one.it, 2.0);
    EXPECT_TRUE(from_plain.cached_point().is_unset());
    velPolylinePosition& base = from_plain;
    from_plain.set_cached_data();
    base = kept;
    EXPECT_TRUE(from_plain.cached_point().is_unset());
    EXPECT_EQ(from_plain.parameter(), 1.0);
}

TEST(velPolylineLink, EndsAndStraightLength) {
    const One a(std::vector<V>{{{0, 0, 0}, {}}, {{10, 0, 0}, {}}});
    const One b(std::vector<V>{{{0, 4, 0}, {}}, {{10, 4, 0}, giPoint3{5, 9, 0}}});
    const velPolylineLink link(velPolylinePosition(&a.it, 0.3), velPolylinePosition(&b.it, 0.5));
    EXPECT_EQ(link.start(), velPolylinePosition(&a.it, 0.3));
    EXPECT_EQ(link.end().iterator(), &b.it);
    EXPECT_DOUBLE_EQ(link.length(), std::hypot(2.0, 9.0));
    velPolylineLink copy;
    EXPECT_EQ(copy.start().valid(), 0);
    copy = link;
    EXPECT_EQ(copy.end(), link.end());
}

} // namespace velPolylinePosition_test
