#include "arcline/polyline/velAbsPolyArcLine.h"

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

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
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

// How the protocol tests place their geometry for each class: a plan drawn in (u, v) is laid rigidly into a
// plane the class accepts, and read back as the class stores it.
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

// Plan points (u, v) and the mid points of the arcs (u, v) among the spans, laid into the class's plane;
// the arcs become straight spans where the class has none.
template <class L>
Records plan(const std::vector<std::pair<double, double>>& points,
             const std::vector<std::pair<int, std::pair<double, double>>>& arc_mids = {}) {
    Records r;
    for (const auto& [u, v] : points)
        r.emplace_back(Kind<L>::map(u, v), giPoint3());
    if (L().can_hold_arcs()) {
        for (const auto& [span, m] : arc_mids)
            r[span - 1].second = Kind<L>::map(m.first, m.second);
    }
    return r;
}

// A random line of straight spans and arcs, and its exact length.
template <class L>
std::pair<Records, double> random_line(Rng& rng, int spans) {
    double u = rng.uniform(0, 5), v = rng.uniform(-5, 5), length = 0;
    Records r{{Kind<L>::map(u, v), giPoint3()}};
    for (int i = 0; i < spans; ++i) {
        if (L().can_hold_arcs() && rng.pick(0, 1)) {
            const double R = rng.uniform(0.5, 5), phi = rng.uniform(-pi, pi);
            const double sweep = rng.uniform(0.2, 1.8 * pi) * (rng.pick(0, 1) ? 1 : -1);
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

template <class L>
class PolyArcLineProtocol : public ::testing::Test {
protected:
    static bool arcs() { return L().can_hold_arcs() != 0; }
    static giPoint3 at(double u, double v) { return Kind<L>::map(u, v); }
    static giPoint3 stored(double u, double v) { return Kind<L>::stored(at(u, v)); }
    // Positions (0,0) (2,0) (4,0) (4,2) with span 2 a half circle through (3,1) when the class has arcs.
    static void build_small(L& line) {
        build(line, plan<L>({{0, 0}, {2, 0}, {4, 0}, {4, 2}}, {{2, {3, 1}}}));
    }
};
using StorageClasses = ::testing::Types<velPolyArcLine, velPolyArcLineDouble, velPolyArcLineConstZ,
                                        velPolyLine, velPolyLineDouble, velPolyArcLineZX>;
TYPED_TEST_SUITE(PolyArcLineProtocol, StorageClasses);

TYPED_TEST(PolyArcLineProtocol, EmptyAndSinglePosition) {
    TypeParam line;
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
    // A double line with the same stored points is equal, whatever each class reports as the mid point of
    // a straight span ((-DBL_MAX, 0, Z) for the constant-Z class, (-DBL_MAX, 0, 0) for the double one).
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

TYPED_TEST(PolyArcLineProtocol, ReverseAndInsertMoveMidPointsWithTheirSpans) {
    // Spans 1, 2 and 4 are arcs (where the class has arcs), span 3 straight.
    TypeParam line;
    build(line, plan<TypeParam>({{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}},
                                {{1, {1, 1}}, {2, {3, -1}}, {4, {7, 1}}}));
    const Records r = records_of(line);
    for (int i : {1, 3, 5}) { // the new position i starts a straight span; the span before keeps its mid
        std::unique_ptr<velAbsPolyArcLine> l(line.create_new());
        l->insert_pos(i, this->at(9.5, 9.5));
        Records want = r;
        want.insert(want.begin() + (i - 1), {this->stored(9.5, 9.5), giPoint3()});
        EXPECT_TRUE(*l == line_of(want)) << i;
    }
    line.reverse();
    Records want;
    for (std::size_t i = r.size(); i-- > 0;)
        want.emplace_back(r[i].first, i > 0 ? r[i - 1].second : giPoint3());
    EXPECT_TRUE(line == line_of(want));
    line.reverse();
    EXPECT_TRUE(line == line_of(r));
}

TYPED_TEST(PolyArcLineProtocol, TangentsFallBackOnNeighbours) {
    // A, B, B, C: span 2 has no length; A -> B runs along v, B -> C along u.
    TypeParam line;
    build(line, plan<TypeParam>({{0, 0}, {0, 1}, {0, 1}, {1, 1}}));
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
    build(dot, plan<TypeParam>({{2, 2}, {2, 2}, {2, 2}}));
    dot.span_start_tangent(1, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
    dot.span_end_tangent(2, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
}

// Random lines of arcs and straight spans: the length, the box of dense samples, the tangents, the split of
// every span at a random fraction (arcs divide their length there, with the new mid points halving the
// parts; straight spans are left alone) and the transform.
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
        // A transform (the constant-Z and ZX classes have none) moves positions and arc mid points, and
        // straight spans keep their marker.
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

// After each kind of change every cached answer (length, box, polygonization) equals that of a fresh copy,
// and whoever held the old polygonization still holds it unchanged.
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

// Lines stored in and read back from archives, through their own records and as objects of any class.
template <class L>
class PolyArcLineArchive : public ::testing::Test {};
using ArchivedClasses = ::testing::Types<velPolyArcLine, velPolyArcLineConstZ, velPolyLine>;
TYPED_TEST_SUITE(PolyArcLineArchive, ArchivedClasses);

TYPED_TEST(PolyArcLineArchive, RoundTripRecreatesTheClassAndRefusesBadSchemas) {
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
    for (std::size_t at :
         {std::size_t{0}, std::size_t{std::is_same_v<TypeParam, velPolyArcLineConstZ> ? 12 : 4}}) {
        std::string bad = good;
        bad[at] = 2;
        TypeParam other;
        try {
            polytest::load_bytes(other, bad);
            ADD_FAILURE() << "no exception for a bad schema word at byte " << at;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, 7); // CArchiveException::badSchema
        }
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
    std::string expected;
    polytest::put_ints(expected, {1, 0});
    EXPECT_EQ(polytest::stored_bytes(*line), expected);
}

// Page sizing and the bulge factor are protected; a derived class shows them.
struct Exposed : velPolyArcLineDouble {
    using velAbsPolyArcLine::bulge_factor;
    using velAbsPolyArcLine::compute_num_pages;
    using velAbsPolyArcLine::compute_page_factor;
};

TEST(velAbsPolyArcLine, PageSizing) {
    const int factors[][2] = {{0, 1}, {2, 1},    {3, 2},     {5, 3},       {8, 3},
                              {9, 4}, {513, 10}, {1025, 10}, {1 << 20, 10}};
    for (const auto& [n, k] : factors)
        EXPECT_EQ(Exposed::compute_page_factor(n), k) << n;
    const int pages[][3] = {{0, 2, 1}, {4, 2, 1}, {5, 2, 2}, {1024, 10, 1}, {2049, 10, 3}, {-3, 4, 1}};
    for (const auto& [n, k, p] : pages)
        EXPECT_EQ(Exposed::compute_num_pages(n, k), p) << n << ' ' << k;
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

} // namespace

} // namespace velAbsPolyArcLine_test
