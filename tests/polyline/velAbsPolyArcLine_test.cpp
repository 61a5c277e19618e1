#include "arcline/polyline/velAbsPolyArcLine.h"

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/platform/Interpolate.h"
#include "arcline/platform/giXform3.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineConstZ.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyline/velPolyArcLineZX.h"
#include "arcline/polyline/velPolyLine.h"
#include "arcline/polyline/velPolyLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <malloc.h>
#include <memory>
#include <numbers>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

namespace velAbsPolyArcLine_test {

namespace {

using polytest::mid;
using polytest::pos;
using polytest::Rng;
constexpr double pi = std::numbers::pi;

// A plan drawn in (u, v) laid rigidly into a plane the class accepts, and read back as the class stores it.
template <class L>
struct Kind {
    static giPoint3 map(double u, double v) {
        if constexpr (std::is_same_v<L, velPolyArcLineConstZ>)
            return {u, v, 2.5};
        else if constexpr (std::is_same_v<L, velPolyArcLineZX>)
            return {u, 0.0, v};
        else
            return {u, 0.6 * v, 0.8 * v + 1.0};
    }
    static constexpr bool single =
        !std::is_same_v<L, velPolyArcLineDouble> && !std::is_same_v<L, velPolyLineDouble>;
    static giPoint3 stored(const giPoint3& p) { return single ? polytest::single(p) : p; }
    static constexpr double tol = single ? 2e-5 : 1e-9; // geometric checks of stored coordinates up to ~50
};

// A line as its positions, each with the mid point of the span it starts (unset when straight or last).
using Records = std::vector<std::pair<giPoint3, giPoint3>>;

Records records_of(const velAbsPolyArcLine& l) {
    Records r;
    for (int i = 1; i <= l.num_pos(); ++i)
        r.emplace_back(pos(l, i), i < l.num_pos() && !l.span_linear(i) ? mid(l, i) : giPoint3());
    return r;
}

void build(velAbsPolyArcLine& l, const Records& r) {
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (i == 0 || r[i - 1].second.is_unset())
            l.add_pos(r[i].first);
        else
            l.add_arc(r[i - 1].second, r[i].first);
    }
}

velPolyArcLineDouble line_of(const Records& r) {
    velPolyArcLineDouble l;
    build(l, r);
    return l;
}

// A random line of straight spans and arcs, and its exact length.
template <class L>
std::pair<Records, double> random_line(Rng& rng, int spans) {
    double u = rng.uniform(0, 5), v = rng.uniform(-5, 5), length = 0;
    Records r{{Kind<L>::map(u, v), giPoint3()}};
    for (int i = 0; i < spans; ++i) {
        if (L().can_hold_arcs() && rng.pick(0, 1)) {
            const double R = rng.uniform(0.5, 5), phi = rng.uniform(-pi, pi);
            const double size = rng.uniform(0.2, 1.8 * pi), sweep = rng.pick(0, 1) ? size : -size;
            const double cu = u - R * std::cos(phi), cv = v - R * std::sin(phi);
            r.back().second =
                Kind<L>::map(cu + R * std::cos(phi + sweep / 2), cv + R * std::sin(phi + sweep / 2));
            u = cu + R * std::cos(phi + sweep);
            v = cv + R * std::sin(phi + sweep);
            length += R * std::fabs(sweep);
        } else {
            const double du = rng.uniform(-4, 4), dv = rng.uniform(-4, 4);
            u += du;
            v += dv;
            length += std::hypot(du, dv);
        }
        r.emplace_back(Kind<L>::map(u, v), giPoint3());
    }
    return {r, length};
}

std::vector<giFloatArray3> points_of(const giFloatArray3coPageArrcoPrf& a) {
    return {a->begin(), a->end()};
}

std::string ints(std::initializer_list<int> words) {
    std::string s;
    polytest::put_ints(s, words);
    return s;
}

template <class L>
class PolyArcLineProtocol : public ::testing::Test {
protected:
    static bool arcs() { return L().can_hold_arcs() != 0; }
    static giPoint3 at(double u, double v) { return Kind<L>::map(u, v); }
    static giPoint3 stored(double u, double v) { return Kind<L>::stored(at(u, v)); }
    static void add(L& line, std::initializer_list<std::pair<double, double>> points) {
        for (const auto& [u, v] : points)
            line.add_pos(at(u, v));
    }
    // Positions (0,0) (2,0) (4,0) (4,2) with span 2 a half circle through (3,1) when the class has arcs.
    static void build_small(L& line) {
        add(line, {{0, 0}, {2, 0}});
        if (arcs())
            line.add_arc(at(3, 1), at(4, 0));
        else
            add(line, {{4, 0}});
        add(line, {{4, 2}});
    }
};
using StorageClasses = ::testing::Types<velPolyArcLine, velPolyArcLineDouble, velPolyArcLineConstZ,
                                        velPolyLine, velPolyLineDouble, velPolyArcLineZX>;
TYPED_TEST_SUITE(PolyArcLineProtocol, StorageClasses);

TYPED_TEST(PolyArcLineProtocol, EmptyAndSinglePosition) {
    TypeParam line;
    {
        polytest::ReportCapture reports;
        line.add_arc(this->at(1, 1),
                     this->at(2, 0)); // an arc needs a start: ignored, silently where arcs are
        EXPECT_EQ(polytest::ReportCapture::log.empty(), this->arcs());
    }
    EXPECT_EQ(line.num_pos(), 0);
    EXPECT_EQ(line.length(), 0.0);
    EXPECT_TRUE(line.box().empty());
    EXPECT_EQ(line.get_polygonized_points(0.01, 0)->size(), 0);
    velPolyLineDouble out;
    EXPECT_EQ(line.polygonize(0.01, 0, out) + out.num_pos(), 0);

    TypeParam one;
    one.add_pos(this->at(1.25, -3));
    const giPoint3 p = this->stored(1.25, -3);
    EXPECT_EQ(one.num_spans(), 0);
    EXPECT_EQ(one.length(), 0.0);
    EXPECT_EQ(one.box(), giBox3(p, p));
    EXPECT_EQ(points_of(one.get_polygonized_points(0.01, 0)), std::vector{giFloatArray3(p)});
    EXPECT_TRUE(line == one); // neither has a span
    one.add_pos(this->at(2, -3));
    EXPECT_TRUE(line != one);
}

TYPED_TEST(PolyArcLineProtocol, AddGetEditAndCopies) {
    TypeParam line;
    this->build_small(line);
    ASSERT_EQ(line.num_pos(), 4);
    EXPECT_EQ(line.num_spans(), 3);
    EXPECT_EQ(pos(line, 1), this->stored(0, 0));
    EXPECT_EQ(pos(line, 4), this->stored(4, 2));
    EXPECT_EQ(line.span_linear(1) + line.span_linear(3), 2);
    EXPECT_EQ(mid(line, 1).x, -DBL_MAX);
    EXPECT_EQ(line.span_linear(2), this->arcs() ? 0 : 1);
    if (this->arcs()) {
        EXPECT_EQ(mid(line, 2), this->stored(3, 1));
        line.edit_pos(4, this->at(5.5, 2.25));
        EXPECT_EQ(pos(line, 4), this->stored(5.5, 2.25));
        // Every form of the no-mid-point value makes the span straight again.
        for (const giPoint3& none :
             {giPoint3(), giPoint3(DBL_MAX, 0, 0), giPoint3(1, DBL_MAX, 0), giPoint3(1, 2, DBL_MAX)}) {
            line.edit_mid_pos(3, this->at(5, 1));
            EXPECT_EQ(mid(line, 3), this->stored(5, 1));
            line.edit_mid_pos(3, none);
            EXPECT_EQ(line.span_linear(3), 1);
            EXPECT_EQ(mid(line, 3).x, -DBL_MAX);
        }
    }

    std::unique_ptr<velAbsPolyArcLine> copy(line.create_new());
    EXPECT_EQ(typeid(*copy), typeid(TypeParam));
    EXPECT_TRUE(*copy == line);
    copy->edit_pos(1, this->at(-1, -1));
    EXPECT_EQ(pos(line, 1), this->stored(0, 0)); // the copy is independent
    std::unique_ptr<velAbsPolyArcLine> empty(line.create_empty());
    EXPECT_EQ(typeid(*empty), typeid(TypeParam));
    EXPECT_EQ(empty->num_pos(), 0);
}

TYPED_TEST(PolyArcLineProtocol, EqualityComparesKindsEndsAndArcMids) {
    TypeParam line;
    this->build_small(line);
    // A double line with the same points is equal, whatever each class reports as a straight span's mid.
    const Records r = records_of(line);
    EXPECT_TRUE(line == line_of(r));
    EXPECT_TRUE(line_of(r) == line);
    const auto differs = [&](const std::function<void(velPolyArcLineDouble&)>& change) {
        velPolyArcLineDouble other = line_of(r);
        change(other);
        return line != other;
    };
    EXPECT_TRUE(differs([&](auto& o) { o.edit_pos(1, pos(line, 1) + giVector3(0, 0, 1e-9)); }));
    EXPECT_TRUE(differs([&](auto& o) { o.edit_pos(4, pos(line, 4) + giVector3(1e-9, 0, 0)); }));
    EXPECT_TRUE(differs([&](auto& o) { o.add_pos(pos(line, 4)); }));
    EXPECT_TRUE(differs([&](auto& o) { o.edit_mid_pos(3, this->at(5, 1)); })); // straight against arc
    if (this->arcs()) {
        EXPECT_TRUE(differs([&](auto& o) { o.edit_mid_pos(2, mid(line, 2) + giVector3(1e-9, 0, 0)); }));
    }
}

TYPED_TEST(PolyArcLineProtocol, TangentsFallBackOnNeighbours) {
    // A, B, B, C: span 2 has no length; A -> B runs along v, B -> C along u.
    TypeParam line;
    this->add(line, {{0, 0}, {0, 1}, {0, 1}, {1, 1}});
    const giUnitVec3 along_v(pos(line, 2) - pos(line, 1)), along_u(pos(line, 4) - pos(line, 3));
    giUnitVec3 t;
    line.span_tangent(2, 0.5, t);
    EXPECT_TRUE(t.invalid());
    line.span_start_tangent(2, t); // earlier spans' ends first
    EXPECT_EQ(t, along_v);
    line.span_end_tangent(2, t); // later spans' starts first
    EXPECT_EQ(t, along_u);
    line.add_pos(this->at(1, 1)); // a zero-length last span ends as the span before it
    line.span_end_tangent(4, t);
    EXPECT_EQ(t, along_u);
    // Nothing has a direction: (1, 0, 0).
    TypeParam dot;
    this->add(dot, {{2, 2}, {2, 2}, {2, 2}});
    dot.span_start_tangent(1, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
    dot.span_end_tangent(2, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
}

// Random lines: length, box of dense samples, tangents, splits of every span (arcs divide their length, the
// new mid points halve the parts; straight spans stay) and the transform.
TYPED_TEST(PolyArcLineProtocol, RandomLinesLengthBoxTangentsSplitsAndTransform) {
    Rng rng(13);
    const double tol = Kind<TypeParam>::tol;
    for (int trial = 0; trial < 8; ++trial) {
        const auto [records, exact] = random_line<TypeParam>(rng, 8);
        TypeParam line;
        build(line, records);
        EXPECT_NEAR(line.length(), exact, 100 * tol);
        giBox3 sampled;
        for (int i = 1; i <= line.num_spans(); ++i) {
            const giPoint3 S = pos(line, i), E = pos(line, i + 1), M = mid(line, i);
            const auto at = [&](double t) {
                return line.span_linear(i) ? S.interpolate(E, t) : torArc3Utils::evaluate(S, M, E, t);
            };
            for (int j = 0; j <= 2000; ++j)
                sampled.merge(at(j / 2000.0));
            for (double t : {0.1, 0.5, 0.9}) { // the tangent is the direction of motion
                giUnitVec3 tan;
                line.span_tangent(i, t, tan);
                giVector3 d = at(t + 1e-6) - at(t - 1e-6);
                d.unitize();
                EXPECT_NEAR(tan[0] * d[0] + tan[1] * d[1] + tan[2] * d[2], 1.0, 1e-12);
            }

            std::unique_ptr<velAbsPolyArcLine> l(line.create_new());
            const double f = rng.uniform(0.1, 0.9);
            const giPoint3 P = l->split_arc(i, f);
            if (line.span_linear(i)) {
                EXPECT_TRUE(P.is_unset());
                EXPECT_TRUE(*l == line);
                continue;
            }
            ASSERT_EQ(l->num_pos(), line.num_pos() + 1);
            EXPECT_EQ(pos(*l, i + 1), Kind<TypeParam>::stored(P));
            EXPECT_EQ(pos(*l, i + 2), E);
            EXPECT_NEAR(l->span_length(i), f * line.span_length(i), 5 * tol);
            EXPECT_NEAR(l->span_length(i + 1), (1 - f) * line.span_length(i), 5 * tol);
            for (int j : {i, i + 1})
                EXPECT_NEAR(mid(*l, j).distance(pos(*l, j)), mid(*l, j).distance(pos(*l, j + 1)), 5 * tol);
        }
        const giBox3& box = line.box(); // holds every sample, and they reach each of its sides
        for (int c = 0; c < 3; ++c) {
            EXPECT_TRUE(box.min()[c] - 1e-12 <= sampled.min()[c] && sampled.min()[c] < box.min()[c] + 1e-3);
            EXPECT_TRUE(sampled.max()[c] <= box.max()[c] + 1e-12 && box.max()[c] - 1e-3 < sampled.max()[c]);
        }
        // A transform moves positions and arc mids; straight spans keep their marker.
        if constexpr (requires { line.transform(giXform3()); }) {
            const Records before = records_of(line);
            const giXform3 xf = giXform3::rotation_z(0.7, {1, 1, 0}) * giXform3::scaling(2.0);
            if constexpr (requires { line.force_transform(xf); })
                line.force_transform(xf);
            else
                line.transform(xf);
            const Records after = records_of(line);
            for (std::size_t i = 0; i < before.size(); ++i) {
                EXPECT_LT(after[i].first.distance(xf * before[i].first), tol) << i;
                ASSERT_EQ(after[i].second.is_unset(), before[i].second.is_unset()) << i;
                if (!before[i].second.is_unset()) {
                    EXPECT_LT(after[i].second.distance(xf * before[i].second), tol) << i;
                }
            }
        }
    }
}

// After every change the cached length, box and polygonization are a fresh copy's; old holders keep theirs.
TYPED_TEST(PolyArcLineProtocol, EveryChangeEmptiesTheCaches) {
    using Change = std::pair<const char*, std::function<void(TypeParam&)>>;
    std::vector<Change> changes = {
        {"add_pos", [&](TypeParam& l) { l.add_pos(this->at(6, 2)); }},
        {"edit_pos", [&](TypeParam& l) { l.edit_pos(4, this->at(4, 3)); }},
        {"insert_pos", [&](TypeParam& l) { l.insert_pos(4, this->at(4, 5)); }},
        {"reverse", [](TypeParam& l) { l.reverse(); }},
        {"reset", [](TypeParam& l) { l.reset(); }},
    };
    if (this->arcs()) {
        changes.push_back({"add_arc", [&](TypeParam& l) { l.add_arc(this->at(5, 3), this->at(6, 2)); }});
        changes.push_back({"edit_mid_pos", [&](TypeParam& l) { l.edit_mid_pos(3, this->at(5, 1)); }});
        // Same geometry, but the new position starts an arc and so appears twice in the polygonization.
        changes.push_back({"split_arc", [](TypeParam& l) { l.split_arc(2, 0.3); }});
    }
    if constexpr (requires(TypeParam & l) { l.transform(giXform3()); }) {
        changes.push_back({"transform", [](TypeParam& l) { l.transform(giXform3::translation({1, 2, 3})); }});
    }
    for (const auto& [what, change] : changes) {
        TypeParam line;
        this->build_small(line);
        const double length = line.length();
        const giBox3 box = line.box();
        const giFloatArray3coPageArrcoPrf held = line.get_polygonized_points(1e-3, 0);
        const std::vector<giFloatArray3> points = points_of(held);
        change(line);
        std::unique_ptr<velAbsPolyArcLine> fresh(line.create_new());
        EXPECT_EQ(line.length(), fresh->length()) << what;
        EXPECT_EQ(line.box(), fresh->box()) << what;
        const auto now = points_of(line.get_polygonized_points(1e-3, 0));
        EXPECT_EQ(now, points_of(fresh->get_polygonized_points(1e-3, 0))) << what;
        EXPECT_TRUE(line.length() != length || !(line.box() == box) || now != points)
            << what << " did nothing";
        EXPECT_EQ(points_of(held), points) << what;
    }
}

TYPED_TEST(PolyArcLineProtocol, IndicesFarOutOfRangeReadEmpty) {
    TypeParam line;
    this->add(line, {{1, 2}, {3, 2}, {3, 5}});
    // What a slot never written reads: position 1 of an empty line of the same class.
    const giPoint3 empty = pos(TypeParam(), 1);
    for (const int i : {INT_MIN, -5, 0, 4, (1 << 30) + 1, INT_MAX - 1, INT_MAX}) {
        giPoint3 p(7, 7, 7), m;
        line.get_pos(i, p);
        EXPECT_EQ(p.x, empty.x) << i;
        EXPECT_EQ(p.y, empty.y) << i;
        line.get_mid_pos(i, m);
        (void)line.span_linear(i);
    }
    EXPECT_EQ(pos(line, 3), this->stored(3, 5)); // the positions themselves are untouched
}

// Lines stored in and read back from archives, through their own records and as objects of any class.
template <class L>
class PolyArcLineArchive : public ::testing::Test {};
using ArchivedClasses = ::testing::Types<velPolyArcLine, velPolyArcLineConstZ, velPolyLine>;
TYPED_TEST_SUITE(PolyArcLineArchive, ArchivedClasses);

TYPED_TEST(PolyArcLineArchive, RoundTripRecreatesTheClassAndRefusesBadSchemasAndShortRecords) {
    Rng rng(14);
    TypeParam line;
    build(line, random_line<TypeParam>(rng, 9).first);
    std::stringstream ss;
    {
        CArchive ar(ss, CArchive::store);
        ar << static_cast<const CObject*>(&line);
    }
    CArchive in(ss, CArchive::load);
    velAbsPolyArcLine* read = nullptr;
    in >> read;
    std::unique_ptr<velAbsPolyArcLine> loaded(read);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(typeid(*loaded), typeid(TypeParam));
    EXPECT_TRUE(*loaded == line);

    // The class's schema word comes first; the base record's follows it (after Z for the constant-Z class).
    const std::string good = polytest::stored_bytes(line);
    std::string bad_at_0 = good, bad_at_base = good;
    bad_at_0[0] = 2;
    bad_at_base[std::is_same_v<TypeParam, velPolyArcLineConstZ> ? 12 : 4] = 2;
    for (const auto& [bytes, cause] : {std::pair{bad_at_0, int{CArchiveException::badSchema}},
                                       {bad_at_base, CArchiveException::badSchema},
                                       {good.substr(0, good.size() - 4), CArchiveException::endOfFile}}) {
        TypeParam other;
        try {
            polytest::load_bytes(other, bytes);
            ADD_FAILURE() << "no exception for a damaged record, cause " << cause;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, cause);
        }
        EXPECT_EQ(other.num_pos(), 0); // not a count without its points
    }
}

// The base class can be created by name and is an empty line that accepts nothing.
TEST(velAbsPolyArcLine, BaseIsAnEmptyLineThatAcceptsNothing) {
    std::unique_ptr<CObject> object(RUNTIME_CLASS(velAbsPolyArcLine)->CreateObject());
    auto* line = dynamic_cast<velAbsPolyArcLine*>(object.get());
    ASSERT_NE(line, nullptr);
    line->add_pos({1, 2, 3});
    line->add_arc({1, 2, 3}, {2, 3, 4});
    EXPECT_EQ(line->num_pos(), 0);
    EXPECT_EQ(line->create_new(), nullptr);
    EXPECT_EQ(polytest::stored_bytes(*line), ints({1, 0}));
}

// Page sizing and the bulge factor are protected; a derived class shows them.
struct Exposed : velPolyArcLineDouble {
    using velAbsPolyArcLine::bulge_factor;
    using velAbsPolyArcLine::compute_num_pages;
};

// Page factors (pages of 2^k records) after n positions, of a loaded copy and after reserve(r).
template <class L>
void expect_pages(std::initializer_list<std::pair<int, int>> factor_after, int loaded, int r, int reserved) {
    L line;
    for (int n = 0; const auto& [count, k] : factor_after) {
        for (; n < count; ++n)
            line.add_pos({static_cast<double>(n), 0.5, 0});
        EXPECT_EQ(line.page_factor(), k) << typeid(L).name() << ' ' << count;
    }
    EXPECT_EQ(pos(line, line.num_pos()), giPoint3(line.num_pos() - 1, 0.5, 0));
    if (loaded > 0) {
        L copy;
        polytest::load_bytes(copy, polytest::stored_bytes(line));
        EXPECT_EQ(copy.page_factor(), loaded) << typeid(L).name();
    }
    line.reset();
    line.reserve(r);
    EXPECT_EQ(line.page_factor(), reserved) << typeid(L).name();
}

TEST(velAbsPolyArcLine, PagesGrowWithTheCount) {
    const int pages[][3] = {{0, 2, 1}, {4, 2, 1}, {5, 2, 2}, {1024, 10, 1}, {2049, 10, 3}, {-3, 4, 1}};
    for (const auto& [n, k, p] : pages)
        EXPECT_EQ(Exposed::compute_num_pages(n, k), p) << n << ' ' << k;
    // Interleaved positions and mid points: 2n - 1 triples; straight: n; constant Z: 4 floats a position.
    expect_pages<velPolyLine>({{4, 2}, {5, 3}, {9, 4}, {1024, 10}, {1500, 10}}, 0, 100, 7);
    expect_pages<velPolyLineDouble>({{4, 2}, {5, 3}, {1025, 10}}, 0, 100, 7);
    expect_pages<velPolyArcLine>({{2, 2}, {3, 3}, {5, 4}, {9, 5}, {257, 10}, {700, 10}}, 10, 100, 8);
    expect_pages<velPolyArcLineConstZ>({{2, 2}, {3, 3}, {129, 9}, {300, 10}}, 10, 10, 6);
    EXPECT_EQ(velPolyArcLine(3).page_factor(), 3); // room for 2 * 3 + 1 triples
}

// The stored records, little-endian: schema, [Z,] schema, count, floats (-FLT_MAX marks a straight span). A
// profile stores only the base record, and reset empties its inner line too.
TEST(velAbsPolyArcLine, ArchiveImages) {
    velPolyArcLine arcs;
    arcs.add_pos({1, 2, 3});
    arcs.add_arc({2, 3.5, 3}, {3, 2, 3});
    arcs.add_pos({-4.25, 0, 1e6});
    std::string want = ints({1, 1, 3});
    polytest::put_floats(want, {1, 2, 3, 2, 3.5, 3, 3, 2, 3, -FLT_MAX, 0, 0, -4.25, 0, 1e6});
    EXPECT_EQ(polytest::stored_bytes(arcs), want);

    velPolyArcLineConstZ level;
    level.add_pos({1, 2, 0.1});
    level.add_arc({2, 3, 0.1}, {3, 2.5, 0.1});
    level.add_pos({-1, 0.5, 0.1});
    const auto z = std::bit_cast<std::uint64_t>(0.1);
    want = ints({1, static_cast<int>(static_cast<std::uint32_t>(z)), static_cast<int>(z >> 32), 1, 3});
    polytest::put_floats(want, {1, 2, 2, 3, 3, 2.5, -FLT_MAX, 0, -1, 0.5});
    EXPECT_EQ(polytest::stored_bytes(level), want);

    velPolyArcLineZX profile;
    profile.add_pos({1, 0, 0});
    profile.add_arc({2, 0, 1}, {1, 0, 2});
    profile.add_pos({1, 0, 4});
    EXPECT_EQ(polytest::stored_bytes(profile), ints({1, 3}));
    profile.reset();
    EXPECT_EQ(profile.num_pos() + profile.inner().num_pos(), 0);
}

// The double-precision classes do not store themselves: they report, write nothing and read nothing.
TEST(velAbsPolyArcLine, DoubleClassesRefuseToSerialize) {
    polytest::ReportCapture reports;
    velPolyLineDouble straight;
    straight.add_pos({1, 2, 3});
    velPolyArcLineDouble line;
    line.add_pos({1, 2, 3});
    EXPECT_EQ(polytest::stored_bytes(straight), "");
    EXPECT_EQ(polytest::stored_bytes(line), "");
    velPolyArcLine single;
    single.add_pos({4, 5, 6});
    std::stringstream ss(polytest::stored_bytes(single));
    {
        CArchive ar(ss, CArchive::load);
        line.Serialize(ar);
    }
    EXPECT_EQ(ss.tellg(), 0);
    EXPECT_EQ(pos(line, 1), giPoint3(1, 2, 3));
    std::vector<std::string> messages;
    for (const auto& [message, function] : polytest::ReportCapture::log)
        messages.push_back(message);
    EXPECT_EQ(messages, (std::vector<std::string>{"Do not want to serialise velPolyLineDouble",
                                                  "velPolyArcLineDouble::Serialize() - not implemented",
                                                  "velPolyArcLineDouble::Serialize() - not implemented"}));
}

TEST(velAbsPolyArcLine, BulgeFactorIsTanQuarterSweep) {
    Rng rng(15);
    for (int i = 0; i < 50; ++i) {
        const polytest::Circle k = polytest::random_circle(rng, 0.1, 10, 10);
        const double a = rng.uniform(-pi, pi), sweep = rng.uniform(0.05, 1.9 * pi);
        Exposed line;
        line.add_pos(k.at(a));
        line.add_arc(k.at(a + sweep / 2), k.at(a + sweep));
        line.add_pos(k.c);
        EXPECT_NEAR(line.bulge_factor(1), std::tan(sweep / 4), 1e-9 * (1 + std::tan(sweep / 4)));
        EXPECT_EQ(line.bulge_factor(2), 0.0);
    }
}

// Straight spans write their ends; an arc writes all its chord points, its start included.
TEST(velAbsPolyArcLine, PolygonizeWritesSpansInOrder) {
    const giPoint3 P1(0, 0, 0), P2(2, 0, 0), M(3, 1, 0), P3(4, 0, 0), P4(4, -2, 0);
    const velPolyArcLineDouble line = line_of({{P1, {}}, {P2, M}, {P3, {}}, {P4, {}}});
    for (int mode : {0, 20}) {
        Interpolate ref(0.01, mode);
        const int chords = ref.arc(P2, M, P3);
        velPolyLineDouble out;
        EXPECT_EQ(line.polygonize(0.01, mode, out), chords + 2);
        Records want{{P1, {}}, {P2, {}}};
        giPoint3 a, b;
        while (ref.read_line(a, b))
            want.emplace_back(a, giPoint3());
        want.emplace_back(P3, giPoint3());
        want.emplace_back(P4, giPoint3());
        EXPECT_EQ(records_of(out), want);
        velPolyLineDouble one;
        EXPECT_EQ(line.span_polygonize(2, 0.01, mode, one), chords);
        EXPECT_EQ(one.num_pos(), chords + 1);
    }
    velPolyLineDouble coarse;
    EXPECT_EQ(line.span_polygonize(2, 100.0, 7, coarse), 7); // one chord would do: the mode's floor counts
}

TEST(velAbsPolyArcLine, PolygonizationCacheWindow) {
    // A half circle of radius 10: 5 chords within 0.6, 4 within 1.0 or 1.3.
    velPolyArcLine line;
    line.add_pos({-10, 0, 0});
    line.add_arc({0, 10, 0}, {10, 0, 0});
    const giFloatArray3coPageArrcoPrf first = line.get_polygonized_points(0.6, 0);
    ASSERT_EQ(first->size(), 6);
    for (double tol : {1.0, 0.55, 1.2})
        EXPECT_EQ(line.get_polygonized_points(tol, 0).get(), first.get()) << tol;
    const auto& rebuilt = line.get_polygonized_points(1.3, 0);
    EXPECT_NE(rebuilt.get(), first.get());
    EXPECT_EQ(rebuilt->size(), 5);
    EXPECT_EQ(first->size(), 6); // the holder keeps its array
    const giFloatArray3coPageArrcoPrf at_06 = line.get_polygonized_points(0.6, 0);
    EXPECT_NE(line.get_polygonized_points(0.5, 0).get(), at_06.get()); // below 0.9 c
}

// The vtable index of a virtual member function: the Itanium C++ ABI (GCC, Clang) stores a pointer to a
// virtual member as 1 + its byte offset in the vtable.
template <class F>
std::ptrdiff_t slot(F f) {
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t words[2];
    std::memcpy(words, &f, sizeof f);
    EXPECT_EQ(words[0] % 2, 1) << "not a virtual member";
    return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

template <class... F>
std::vector<std::ptrdiff_t> slots(F... f) {
    return {slot(f)...};
}

struct Probe : velAbsPolyArcLine { // reaches the protected slot
    static std::ptrdiff_t invalidate_caches_slot() { return slot(&Probe::invalidate_caches); }
};

// The virtual slots keep their documented order (a storage class relies on it).
TEST(velAbsPolyArcLine, DocumentedSlotsInOrderAndTheStorageHookAfterThem) {
    using L = velAbsPolyArcLine;
    std::vector<std::ptrdiff_t> documented =
        slots(&L::reset, &L::create_new, &L::create_empty, &L::reserve, &L::add_pos, &L::add_arc,
              &L::edit_pos, &L::edit_mid_pos, &L::ok_to_add_pos, &L::ok_to_add_arc, &L::ok_to_edit_pos,
              &L::ok_to_edit_mid_pos, &L::span_linear, &L::get_pos, &L::get_mid_pos, &L::can_hold_arcs,
              &L::reverse, &L::get_polygonized_points);
    documented.push_back(Probe::invalidate_caches_slot());
    EXPECT_EQ(slot(&CObject::GetRuntimeClass), 0);
    EXPECT_EQ(slot(&CObject::Dump), 5); // the destructor takes two slots
    EXPECT_EQ(documented.front(), slot(&CObject::Dump) + 1);
    for (std::size_t i = 1; i < documented.size(); ++i)
        EXPECT_EQ(documented[i], documented[i - 1] + 1) << "slot " << i;
    EXPECT_EQ(slot(&L::remove_last_pos), documented.back() + 1);
}

template <class L>
class PolyLineStraightOnly : public ::testing::Test {};
using StraightClasses = ::testing::Types<velPolyLine, velPolyLineDouble>;
TYPED_TEST_SUITE(PolyLineStraightOnly, StraightClasses);

TYPED_TEST(PolyLineStraightOnly, ArcsAreRefusedWithTheirMessages) {
    polytest::ReportCapture reports;
    TypeParam line;
    line.add_pos({0, 0, 0});
    line.add_pos({2, 0, 0});
    const giPoint3 end(4, 0, 0), m(3, 1, 0);
    line.add_arc(m, end);
    EXPECT_EQ(line.num_pos(), 2); // nothing added
    EXPECT_EQ(line.ok_to_add_arc(m, end) + line.ok_to_edit_mid_pos(1, m), 0);
    line.edit_mid_pos(1, m);
    EXPECT_EQ(line.span_linear(1), 1);
    EXPECT_TRUE(polytest::mid(line, 1).is_unset());
    EXPECT_EQ(line.can_hold_arcs(), 0);

    // add_arc names velPolyLine in both; the mid point check keeps its old spelling in the single class.
    const bool single = std::is_same_v<TypeParam, velPolyLine>;
    const std::string n = single ? "velPolyLine" : "velPolyLineDouble";
    const std::pair<std::string, std::string> reported[] = {
        {"velPolyLine::add_arc() This geometry cannot contain arcs", n + "::add_arc"},
        {n + "::ok_to_add_arc() This geometry cannot contain arcs", n + "::ok_to_add_arc"},
        {n + (single ? "::ok_to_edi_mid_pos()" : "::ok_to_edit_mid_pos()") +
             " This geometry cannot contain arcs",
         n + "::ok_to_edit_mid_pos"}};
    EXPECT_EQ(polytest::ReportCapture::log, std::vector(std::begin(reported), std::end(reported)));
}

TEST(velPolyArcLineConstZ, FirstPositionSetsTheHeight) {
    velPolyArcLineConstZ line;
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 123}), 1); // anything goes on an empty line
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 0}, {2, 0, 0}), 0);
    line.add_pos({0, 0, 5});
    EXPECT_EQ(line.get_z(), 5.0);
    // Within 1e-5 of the height, either side.
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.00001}) + line.ok_to_add_pos({1, 0, 4.99999}), 2);
    EXPECT_EQ(line.ok_to_add_pos({1, 0, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5}, {2, 0, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_add_arc({1, 1, 5.0001}, {2, 0, 5}) + line.ok_to_add_arc({1, 1, 5}, {2, 0, 4.9999}),
              0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.00001}), 1);
    EXPECT_EQ(line.ok_to_edit_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5.0001}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, 3, 5}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {3, DBL_MAX, 99}), 1); // no mid point: a straight span is fine

    // The checks are advisory: later z values are ignored, not refused.
    line.add_pos({1, 0, 7});
    line.add_arc({1.5, 0.5, -2}, {2, 0, 9});
    line.edit_pos(1, {0.25, 0, 100});
    EXPECT_EQ(line.get_z(), 5.0);
    EXPECT_EQ(pos(line, 1), giPoint3(0.25, 0, 5));
    EXPECT_EQ(mid(line, 2), giPoint3(1.5, 0.5, 5));
    // A straight span's mid point carries the height here and not in the double line; equality ignores it.
    EXPECT_EQ(mid(line, 1), giPoint3(-DBL_MAX, 0, 5));
    EXPECT_TRUE(line == line_of({{{0.25, 0, 5}, {}}, {{1, 0, 5}, {1.5, 0.5, 5}}, {{2, 0, 5}, {}}}));
    // Open unless the ends meet within the tolerance.
    line.add_arc({1, -1, 5}, {0.25, 1e-3, 5});
    EXPECT_EQ(line.open(1e-4), 1);
    EXPECT_EQ(line.open(2e-3), 0);

    // A copy takes the height; reset forgets it at the next first position.
    velPolyArcLineConstZ copy(line);
    EXPECT_EQ(copy.get_z(), 5.0);
    EXPECT_TRUE(copy == line);
    line.reset();
    line.add_pos({1, 1, -3});
    EXPECT_EQ(line.get_z(), -3.0);
}

TEST(velPolyArcLineZX, PointsAreKeptInTheZXPlane) {
    velPolyArcLineZX line;
    line.add_pos({1, 3, 2});
    line.add_arc({2, -7, 3}, {3, 5, 2});
    EXPECT_EQ(line.get_pos(1), giPoint3(1, 0, 2));
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2, 0, 3));
    line.edit_pos(2, {4, 1, 2});
    line.edit_mid_pos(1, {2.5, 9, 3});
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2.5, 0, 3));
    // The inner line holds the same points.
    EXPECT_EQ(typeid(line.inner()), typeid(velPolyArcLine));
    EXPECT_EQ(polytest::pos(line.inner(), 2), giPoint3(4, 0, 2));
    // A no-mid-point value passes the filter unchanged and makes the span straight.
    line.edit_mid_pos(1, {1, DBL_MAX, 1});
    EXPECT_EQ(line.span_linear(1), 1);
}

TEST(velPolyArcLineZX, TurningChecksWantNonNegativeX) {
    velPolyArcLineZX line;
    EXPECT_EQ(line.ok_to_add_pos({-0.1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({std::nan(""), 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({0, 5, 2}), 1); // y is filtered, not refused
    line.add_pos({1, 0, 0});
    EXPECT_EQ(line.ok_to_add_arc({2, 0, 1}, {1, 0, 2}), 1);
    EXPECT_EQ(line.ok_to_add_arc({-2, 0, 1}, {1, 0, 2}) + line.ok_to_add_arc({2, 0, 1}, {-1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {-1e-9, 0, 0}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {0, 0, 0}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, giPoint3()), 1); // no mid point: x = -DBL_MAX is fine
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {-0.5, 0, 1}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {0.5, 0, 1}), 1);
    // Advisory: a refused point is still stored when added.
    line.add_pos({-0.1, 0, 2});
    EXPECT_EQ(line.get_pos(2), polytest::single({-0.1, 0, 2}));
}

} // namespace

TEST(velPolyArcLineZX, ExpensiveCheckRefusesAPointThatMakesTheProfileCrossItself) {
    velPolyArcLineZX profile; // in the ZX plane: x is the radius, z along the axis
    profile.add_pos({1, 0, 0});
    profile.add_pos({1, 0, 4});
    profile.add_pos({3, 0, 4});
    profile.add_pos({3, 0, 2});
    EXPECT_EQ(profile.ok_to_add_pos_expensive({4, 0, 1}), 1);   // runs on outwards
    EXPECT_EQ(profile.ok_to_add_pos_expensive({0.5, 0, 2}), 0); // back across the first span
    EXPECT_EQ(profile.ok_to_add_pos_expensive({-1, 0, 1}), 0);  // a negative radius fails the plain check
    EXPECT_EQ(profile.num_pos(), 4);                            // the profile itself is untouched
}

// Parameters outside the polyline, NaN included, are held to its ends.
TEST(velPolylineStorageLimits, InterpolationHoldsParametersToTheEnds) {
    velPolyArcLineDouble line;
    line.add_pos({1e308, 1e308, 0});
    line.add_pos({-1e308, 1e308, 0});
    line.add_pos({-1e308, -1e308, 0});
    velSingleAbsArcLineListIter it(line);
    it.reset();
    ASSERT_TRUE(++it);
    EXPECT_EQ(it.get_interpolated_pos(std::nan("")), giPoint3(1e308, 1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(-1e300), giPoint3(1e308, 1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(1e300), giPoint3(-1e308, -1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(INFINITY), giPoint3(-1e308, -1e308, 0));
    velPolyArcLineDouble empty;
    velSingleAbsArcLineListIter none(empty);
    none.reset();
    ++none;
    EXPECT_EQ(none.get_interpolated_pos(0.5), giPoint3());
}

// Two million empty polylines once took 600 MB: caches and storage are made when first needed.
TEST(velPolylineStorageLimits, EmptyLinesAreSmall) {
    EXPECT_LE(sizeof(velPolyArcLineDouble), 64u);
    EXPECT_LE(sizeof(velPolyArcLine), 64u);
    EXPECT_LE(sizeof(velPolyLine), 64u);
    constexpr int n = 20000;
    std::vector<std::shared_ptr<velAbsPolyArcLine>> lines;
    lines.reserve(n);
    const std::size_t before = mallinfo2().uordblks;
    for (int k = 0; k < n; ++k)
        lines.push_back(std::make_shared<velPolyArcLineDouble>());
    const std::size_t after = mallinfo2().uordblks;
    if (after == before) GTEST_SKIP() << "the allocator does not report its use (a sanitizer build)";
    EXPECT_LT(static_cast<double>(after - before) / n, 100.0);
}

} // namespace velAbsPolyArcLine_test
