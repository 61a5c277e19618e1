// Positions on polylines of a list: construction and validity, comparison and order, and movement by spans
// and by lengths, checked against span lengths measured on fine polygons.

#include "utilsTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/polyline/utils/velPolylinePosition.h"
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

// Length coordinate of a parameter, the fraction of a span taken as proportional to length, from span lengths
// of fine polygons: the measure that movement by length follows.
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
    EXPECT_EQ(none.iterator(), nullptr);
    EXPECT_EQ(none.polyline_index(), -1);
    EXPECT_EQ(none.parameter(), -1.0);
    EXPECT_EQ(none.valid(), 0);
    l.it->set_index(1);
    const P here(l.it.get(), 2.5);
    EXPECT_EQ(here.polyline_index(), 1);
    EXPECT_EQ(here.valid(), 1);
    EXPECT_EQ(P(l.it.get(), 1, 3.5).valid(), 0);
    EXPECT_EQ(P(l.it.get(), 1, -0.5).valid(), 0);
    EXPECT_EQ(P(l.it.get(), 2, 0.5).valid(), 0);
    EXPECT_EQ(P(l.it.get(), 1, std::nan("")).valid(), 0);
    l.it->set_index(0);
    // Standing elsewhere, the upper bound is not checked.
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
    EXPECT_EQ(at.moved_forward_by_length(25, 1).parameter(), 2.0);
    EXPECT_DOUBLE_EQ(at.moved_forward_by_length(3, 0).parameter(), 0.8);
    EXPECT_DOUBLE_EQ(at.moved_to(1.2).moved_backward_by_length(3, 0).parameter(), 0.9);
    EXPECT_EQ(at.moved_to(1.2).moved_by_length(-30, 1).parameter(), 0.0);
    EXPECT_EQ(at.moved_by_length(0, 0), at);
    const P sq(l.it.get(), 1, 3.5);
    EXPECT_EQ(sq.moved_forward_by_length(1.5, 1).parameter(), 1.0);
    EXPECT_EQ(sq.moved_forward_by_length(1.5, 0).parameter(), 4.0);
    EXPECT_EQ(sq.moved_to(0.5).moved_backward_by_length(1.0, 1).parameter(), 3.5);
    EXPECT_DOUBLE_EQ(sq.moved_forward_by_length(4 * 1000 + 0.25, 1).parameter(), 3.75);
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
        lines.push_back(listtest::random_polyline(rng, rng.pick(3, 7), rng.uniform(-1, 1), closed));
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

} // namespace velPolylinePosition_test
