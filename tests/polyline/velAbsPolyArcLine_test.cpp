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
#include <memory>
#include <numbers>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace {

using polytest::mid;
using polytest::pos;
using polytest::Rng;
constexpr double pi = std::numbers::pi;

// How the protocol tests place their geometry for each class: a plan drawn in (u, v) is laid rigidly into a
// plane the class accepts, and read back as the class stores it.
template <class L>
struct Kind {
    static giPoint3 map(const giPoint3& p) {
        if constexpr (std::is_same_v<L, velPolyArcLineConstZ>)
            return {p.x, p.y, 2.5};
        else if constexpr (std::is_same_v<L, velPolyArcLineZX>)
            return {p.x, 0.0, p.y};
        else
            return {p.x, 0.6 * p.y, 0.8 * p.y + 1.0};
    }
    static constexpr bool single =
        !std::is_same_v<L, velPolyArcLineDouble> && !std::is_same_v<L, velPolyLineDouble>;
    static giPoint3 stored(const giPoint3& p) { return single ? polytest::single(p) : p; }
    static constexpr double tol = single ? 2e-5 : 1e-9; // geometric checks of stored coordinates up to ~50
};

struct Step {
    bool arc;
    giPoint3 mid, end; // plan coordinates, z = 0
    double length;
};
struct Plan {
    giPoint3 start;
    std::vector<Step> steps;
};

Plan random_plan(Rng& rng, int spans, bool arcs) {
    Plan plan{{rng.uniform(0, 5), rng.uniform(-5, 5), 0}, {}};
    giPoint3 p = plan.start;
    for (int i = 0; i < spans; ++i) {
        if (arcs && rng.pick(0, 1)) {
            const double R = rng.uniform(0.5, 5), phi = rng.uniform(-pi, pi);
            const double sweep = rng.uniform(0.2, 1.8 * pi) * (rng.pick(0, 1) ? 1 : -1);
            auto at = [&](double a) {
                return giPoint3{p.x + R * (std::cos(a) - std::cos(phi)),
                                p.y + R * (std::sin(a) - std::sin(phi)), 0};
            };
            plan.steps.push_back({true, at(phi + sweep / 2), at(phi + sweep), R * std::fabs(sweep)});
        } else {
            const giPoint3 e{p.x + rng.uniform(-4, 4), p.y + rng.uniform(-4, 4), 0};
            plan.steps.push_back({false, {}, e, p.distance(e)});
        }
        p = plan.steps.back().end;
    }
    return plan;
}

template <class L>
void build(L& line, const Plan& plan) {
    line.add_pos(Kind<L>::map(plan.start));
    for (const Step& s : plan.steps) {
        if (s.arc)
            line.add_arc(Kind<L>::map(s.mid), Kind<L>::map(s.end));
        else
            line.add_pos(Kind<L>::map(s.end));
    }
}

// Plans from a list of plan points; `arcs` marks the spans that are arcs through the given mid points.
Plan plan_of(const std::vector<giPoint3>& points, const std::vector<giPoint3>& mids, bool arcs) {
    Plan plan{points[0], {}};
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool arc = arcs && i - 1 < mids.size() && !mids[i - 1].is_unset();
        plan.steps.push_back({arc, arc ? mids[i - 1] : giPoint3(), points[i], 0});
    }
    return plan;
}

// The stored points, exactly, in a double line.
velPolyArcLineDouble copy_double(const velAbsPolyArcLine& l) {
    velPolyArcLineDouble d;
    giPoint3 p, m;
    for (int i = 1; i <= l.num_pos(); ++i) {
        l.get_pos(i, p);
        if (i == 1 || l.span_linear(i - 1)) {
            d.add_pos(p);
        } else {
            l.get_mid_pos(i - 1, m);
            d.add_arc(m, p);
        }
    }
    return d;
}

std::vector<giFloatArray3> points_of(const giFloatArray3coPageArr& a) {
    return {a.begin(), a.end()};
}

template <class L>
class PolyArcLineProtocol : public ::testing::Test {
protected:
    using K = Kind<L>;
    static bool arcs() { return L().can_hold_arcs() != 0; }
    static giPoint3 at(double u, double v) { return K::map({u, v, 0}); }
    static giPoint3 stored(double u, double v) { return K::stored(at(u, v)); }
    // Positions (0,0) (2,0) (4,0) (4,2) with span 2 a half circle through (3,1) when the class has arcs.
    void build_small(L& line) {
        build(line, plan_of({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {4, 2, 0}}, {{}, {3, 1, 0}}, arcs()));
    }
};
using StorageClasses = ::testing::Types<velPolyArcLine, velPolyArcLineDouble, velPolyArcLineConstZ,
                                        velPolyLine, velPolyLineDouble, velPolyArcLineZX>;
TYPED_TEST_SUITE(PolyArcLineProtocol, StorageClasses);

TYPED_TEST(PolyArcLineProtocol, EmptyAndSinglePosition) {
    TypeParam line;
    EXPECT_EQ(line.num_pos(), 0);
    EXPECT_EQ(line.num_spans(), 0);
    EXPECT_EQ(line.length(), 0.0);
    EXPECT_TRUE(line.box().empty());
    EXPECT_EQ(line.get_polygonized_points(0.01, 0)->size(), 0);
    velPolyLineDouble out;
    EXPECT_EQ(line.polygonize(0.01, 0, out), 0);
    EXPECT_EQ(out.num_pos(), 0);

    TypeParam one;
    one.add_pos(this->at(1.25, -3));
    const giPoint3 p = this->stored(1.25, -3);
    EXPECT_EQ(one.num_pos(), 1);
    EXPECT_EQ(one.num_spans(), 0);
    EXPECT_EQ(one.length(), 0.0);
    EXPECT_EQ(one.box(), giBox3(p, p));
    const auto& poly = one.get_polygonized_points(0.01, 0);
    ASSERT_EQ(poly->size(), 1);
    EXPECT_EQ(poly->read(0), giFloatArray3(p));
    EXPECT_TRUE(line == one); // neither has a span
    one.add_pos(this->at(2, -3));
    EXPECT_EQ(one.num_spans(), 1);
    EXPECT_TRUE(line != one);
}

TYPED_TEST(PolyArcLineProtocol, AddGetEditRoundTripAndCopies) {
    TypeParam line;
    this->build_small(line);
    ASSERT_EQ(line.num_pos(), 4);
    EXPECT_EQ(line.num_spans(), 3);
    EXPECT_EQ(pos(line, 1), this->stored(0, 0));
    EXPECT_EQ(pos(line, 3), this->stored(4, 0));
    EXPECT_EQ(pos(line, 4), this->stored(4, 2));
    giPoint3 s, e;
    line.span_start(3, s);
    line.span_end(3, e);
    EXPECT_EQ(s, pos(line, 3));
    EXPECT_EQ(e, pos(line, 4));
    EXPECT_EQ(line.span_linear(1), 1);
    EXPECT_EQ(line.span_linear(3), 1);
    EXPECT_EQ(mid(line, 1).x, -DBL_MAX);
    EXPECT_EQ(line.span_linear(2), this->arcs() ? 0 : 1);
    if (this->arcs()) {
        EXPECT_EQ(mid(line, 2), this->stored(3, 1));
    }

    line.edit_pos(4, this->at(5.5, 2.25));
    EXPECT_EQ(pos(line, 4), this->stored(5.5, 2.25));
    line.edit_mid_pos(3, this->at(5, 1));
    EXPECT_EQ(line.span_linear(3), this->arcs() ? 0 : 1);
    if (this->arcs()) {
        EXPECT_EQ(mid(line, 3), this->stored(5, 1));
        // Every form of the no-mid-point value makes the span straight again.
        for (const giPoint3& none :
             {giPoint3(), giPoint3(DBL_MAX, 0, 0), giPoint3(1, DBL_MAX, 0), giPoint3(1, 2, DBL_MAX)}) {
            line.edit_mid_pos(3, this->at(5, 1));
            line.edit_mid_pos(3, none);
            EXPECT_EQ(line.span_linear(3), 1);
            EXPECT_EQ(mid(line, 3).x, -DBL_MAX);
        }
    }

    std::unique_ptr<velAbsPolyArcLine> copy(line.create_new());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(typeid(*copy), typeid(TypeParam));
    EXPECT_TRUE(*copy == line);
    copy->edit_pos(1, this->at(-1, -1));
    EXPECT_EQ(pos(line, 1), this->stored(0, 0)); // the copy is independent
    std::unique_ptr<velAbsPolyArcLine> empty(line.create_empty());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(typeid(*empty), typeid(TypeParam));
    EXPECT_EQ(empty->num_pos(), 0);
}

TYPED_TEST(PolyArcLineProtocol, ReverseFivePositions) {
    // Spans 1, 2 and 4 are arcs (where the class has arcs), span 3 straight.
    TypeParam line;
    build(line, plan_of({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {6, 0, 0}, {8, 0, 0}},
                        {{1, 1, 0}, {3, -1, 0}, {}, {7, 1, 0}}, this->arcs()));
    const velPolyArcLineDouble before = copy_double(line);
    line.reverse();
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(pos(line, i), pos(before, 6 - i));
    for (int j = 1; j <= 4; ++j) {
        EXPECT_EQ(line.span_linear(j), before.span_linear(5 - j));
        if (!line.span_linear(j)) {
            EXPECT_EQ(mid(line, j), mid(before, 5 - j));
        }
    }
    EXPECT_NEAR(line.length(), before.length(), 1e-12);
    line.reverse();
    EXPECT_TRUE(line == before);
}

TYPED_TEST(PolyArcLineProtocol, EqualityComparesKindsEndsAndArcMids) {
    TypeParam line;
    this->build_small(line);
    // A double line with the same stored points is equal, whatever each class reports as the mid point of
    // a straight span ((-DBL_MAX, 0, Z) for the constant-Z class, (-DBL_MAX, 0, 0) for the double one).
    velPolyArcLineDouble same = copy_double(line);
    EXPECT_TRUE(line == same);
    EXPECT_TRUE(same == line);
    EXPECT_FALSE(line != same);

    velPolyArcLineDouble moved = copy_double(line);
    moved.edit_pos(3, pos(line, 3) + giVector3(0, 0, 1e-9));
    EXPECT_TRUE(line != moved);
    velPolyArcLineDouble longer = copy_double(line);
    longer.add_pos(pos(line, 4));
    EXPECT_TRUE(line != longer);
    velPolyArcLineDouble bent = copy_double(line);
    bent.edit_mid_pos(3, this->at(5, 1));
    EXPECT_TRUE(line != bent); // straight against arc
    if (this->arcs()) {
        velPolyArcLineDouble other_mid = copy_double(line);
        other_mid.edit_mid_pos(2, mid(line, 2) + giVector3(1e-9, 0, 0));
        EXPECT_TRUE(line != other_mid);
    }
}

TYPED_TEST(PolyArcLineProtocol, InsertPosShiftsTheRest) {
    Rng rng(11);
    TypeParam line;
    build(line, random_plan(rng, 5, this->arcs()));
    const velPolyArcLineDouble old = copy_double(line);
    const int n = line.num_pos();
    for (int i : {1, 3, n}) {
        std::unique_ptr<velAbsPolyArcLine> l(line.create_new());
        l->insert_pos(i, this->at(9.5, 9.5));
        ASSERT_EQ(l->num_pos(), n + 1);
        EXPECT_EQ(pos(*l, i), this->stored(9.5, 9.5));
        for (int k = 1; k <= n; ++k)
            EXPECT_EQ(pos(*l, k < i ? k : k + 1), pos(old, k)) << i << ' ' << k;
        EXPECT_EQ(l->span_linear(i), 1); // the span that begins at the new position
        for (int k = 1; k < n; ++k) {
            if (k == i) continue;
            const int was = k < i ? k : k - 1;
            EXPECT_EQ(l->span_linear(k), old.span_linear(was)) << i << ' ' << k;
            if (!old.span_linear(was)) {
                EXPECT_EQ(mid(*l, k), mid(old, was));
            }
        }
    }
}

TYPED_TEST(PolyArcLineProtocol, SplitArcKeepsLengthAndCircle) {
    Rng rng(12);
    const double tol = Kind<TypeParam>::tol;
    TypeParam line;
    build(line, random_plan(rng, 8, this->arcs()));
    if (!this->arcs()) {
        const velPolyArcLineDouble old = copy_double(line);
        EXPECT_TRUE(line.split_arc(1, 0.5).is_unset());
        EXPECT_TRUE(line == old);
        return;
    }
    for (int i = 1; i <= line.num_spans(); ++i) {
        std::unique_ptr<velAbsPolyArcLine> l(line.create_new());
        const double f = rng.uniform(0.1, 0.9);
        const giPoint3 P = l->split_arc(i, f);
        if (line.span_linear(i)) {
            EXPECT_TRUE(P.is_unset());
            EXPECT_TRUE(*l == line);
            continue;
        }
        const polytest::Circle k = polytest::circle_through(pos(line, i), mid(line, i), pos(line, i + 1));
        const double sweep = k.angle(pos(line, i + 1), 0), L = line.span_length(i);
        ASSERT_EQ(l->num_pos(), line.num_pos() + 1);
        EXPECT_EQ(pos(*l, i + 1), Kind<TypeParam>::stored(P));
        EXPECT_NEAR(k.angle(P, 0), f * sweep, tol / k.R);
        EXPECT_NEAR(k.angle(mid(*l, i), 0), f / 2 * sweep, tol / k.R);
        EXPECT_NEAR(k.angle(mid(*l, i + 1), 0), (1 + f) / 2 * sweep, tol / k.R);
        for (const giPoint3& q : {P, pos(*l, i + 1), mid(*l, i), mid(*l, i + 1)})
            EXPECT_LT(k.distance(q), tol);
        EXPECT_NEAR(l->span_length(i), f * L, 5 * tol);
        EXPECT_NEAR(l->span_length(i + 1), (1 - f) * L, 5 * tol);
        EXPECT_NEAR(l->length(), line.length(), 10 * tol);
        EXPECT_EQ(pos(*l, i + 2), pos(line, i + 1));
    }
}

TYPED_TEST(PolyArcLineProtocol, TangentsFallBackOnNeighbours) {
    // A, B, B, C: span 2 has no length; A -> B runs along v, B -> C along u.
    TypeParam line;
    build(line, plan_of({{0, 0, 0}, {0, 1, 0}, {0, 1, 0}, {1, 1, 0}}, {}, false));
    const giUnitVec3 along_v(pos(line, 2) - pos(line, 1)), along_u(pos(line, 4) - pos(line, 3));
    giUnitVec3 t;
    line.span_tangent(2, 0.5, t);
    EXPECT_TRUE(t.invalid());
    line.span_start_tangent(2, t); // earlier spans' ends first
    EXPECT_EQ(t, along_v);
    line.span_end_tangent(2, t); // later spans' starts first
    EXPECT_EQ(t, along_u);
    // A zero-length last span ends as the span before it.
    line.add_pos(this->at(1, 1));
    line.span_end_tangent(4, t);
    EXPECT_EQ(t, along_u);
    // Nothing has a direction: (1, 0, 0).
    TypeParam dot;
    build(dot, plan_of({{2, 2, 0}, {2, 2, 0}, {2, 2, 0}}, {}, false));
    dot.span_start_tangent(1, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
    dot.span_end_tangent(2, t);
    EXPECT_EQ(t, giUnitVec3(giAxisX));
}

TYPED_TEST(PolyArcLineProtocol, RandomLinesLengthBoxTangentsAndReversal) {
    Rng rng(13);
    const double tol = Kind<TypeParam>::tol;
    for (int trial = 0; trial < 15; ++trial) {
        const Plan plan = random_plan(rng, 8, this->arcs());
        TypeParam line;
        build(line, plan);
        double sum = 0, exact = 0;
        for (int i = 1; i <= line.num_spans(); ++i)
            sum += line.span_length(i);
        for (const Step& s : plan.steps)
            exact += s.length;
        EXPECT_DOUBLE_EQ(line.length(), sum);
        EXPECT_NEAR(line.length(), exact, 100 * tol);

        // Dense samples of every span lie in the box, and every side of the box is reached.
        const giBox3& box = line.box();
        double gap[6] = {DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX};
        for (int i = 1; i <= line.num_spans(); ++i) {
            const giPoint3 S = pos(line, i), E = pos(line, i + 1), M = mid(line, i);
            for (int j = 0; j <= 2000; ++j) {
                const double t = j / 2000.0;
                const giPoint3 q =
                    line.span_linear(i) ? S.interpolate(E, t) : torArc3Utils::evaluate(S, M, E, t);
                ASSERT_TRUE(box.contains(q, 1e-12)) << q << ' ' << box;
                for (int c = 0; c < 3; ++c) {
                    gap[c] = std::min(gap[c], q[c] - box.min()[c]);
                    gap[3 + c] = std::min(gap[3 + c], box.max()[c] - q[c]);
                }
            }
            // The tangent is the direction of motion along the span.
            for (double t : {0.1, 0.5, 0.9}) {
                constexpr double h = 1e-6;
                giUnitVec3 tan;
                line.span_tangent(i, t, tan);
                giVector3 d = line.span_linear(i) ? E - S
                                                  : torArc3Utils::evaluate(S, M, E, t + h) -
                                                        torArc3Utils::evaluate(S, M, E, t - h);
                d.unitize();
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(tan[c], d[c], 1e-6);
            }
        }
        for (double g : gap)
            EXPECT_LT(g, 1e-3);

        std::unique_ptr<velAbsPolyArcLine> r(line.create_new());
        r->reverse();
        EXPECT_NEAR(r->length(), line.length(), 1e-9);
        EXPECT_EQ(pos(*r, 1), pos(line, line.num_pos()));
        r->reverse();
        EXPECT_TRUE(*r == line);
    }
}

// Caches: after each kind of change every cached answer equals that of a fresh copy, at least one of them
// visibly changed, and whoever held the old polygonization still holds it unchanged.
constexpr double cache_tol = 1e-3;
struct Primed {
    double length;
    giBox3 box;
    giFloatArray3coPageArrcoPrf held;
    std::vector<giFloatArray3> points;
};
Primed prime(const velAbsPolyArcLine& l) {
    const auto& poly = l.get_polygonized_points(cache_tol, 0);
    return {l.length(), l.box(), poly, points_of(*poly)};
}
void expect_caches_fresh(const velAbsPolyArcLine& l, const Primed& before) {
    std::unique_ptr<velAbsPolyArcLine> fresh(l.create_new());
    EXPECT_EQ(l.length(), fresh->length());
    EXPECT_EQ(l.box(), fresh->box());
    const auto now = points_of(*l.get_polygonized_points(cache_tol, 0));
    EXPECT_EQ(now, points_of(*fresh->get_polygonized_points(cache_tol, 0)));
    EXPECT_EQ(points_of(*before.held), before.points);
}

TYPED_TEST(PolyArcLineProtocol, CachesEmptiedByAppends) {
    TypeParam line;
    this->build_small(line);
    Primed p = prime(line);
    line.add_pos(this->at(6, 2));
    EXPECT_NEAR(line.length(), p.length + 2, 1e-5);
    EXPECT_NE(line.box(), p.box);
    expect_caches_fresh(line, p);
    if (!this->arcs()) return;
    p = prime(line);
    line.add_arc(this->at(7, 3), this->at(6, 4)); // a half circle of radius 1
    EXPECT_NEAR(line.length(), p.length + pi, 1e-5);
    EXPECT_NE(line.box(), p.box);
    expect_caches_fresh(line, p);
}

TYPED_TEST(PolyArcLineProtocol, CachesEmptiedByEdits) {
    TypeParam line;
    this->build_small(line);
    Primed p = prime(line);
    line.edit_pos(4, this->at(4, 3));
    EXPECT_NEAR(line.length(), p.length + 1, 1e-5);
    expect_caches_fresh(line, p);
    p = prime(line);
    line.edit_mid_pos(3, this->at(5.5, 1.5)); // span 3 becomes a half circle when the class has arcs
    if (this->arcs()) {
        EXPECT_NEAR(line.length(), p.length + 1.5 * pi - 3, 1e-5);
        EXPECT_NE(line.box(), p.box);
    } else {
        EXPECT_EQ(line.length(), p.length);
    }
    expect_caches_fresh(line, p);
}

TYPED_TEST(PolyArcLineProtocol, CachesEmptiedByInsertAndSplit) {
    TypeParam line;
    this->build_small(line);
    Primed p = prime(line);
    line.insert_pos(4, this->at(4, 5)); // a detour of 3 up and 3 back
    EXPECT_NEAR(line.length(), p.length + 6, 1e-5);
    expect_caches_fresh(line, p);
    if (!this->arcs()) return;
    p = prime(line);
    line.split_arc(2, 0.3); // same geometry, but the new position starts an arc and so appears twice
    EXPECT_EQ(line.get_polygonized_points(cache_tol, 0)->size(), p.points.size() + 1);
    expect_caches_fresh(line, p);
}

TYPED_TEST(PolyArcLineProtocol, CachesEmptiedByReverse) {
    TypeParam line;
    this->build_small(line);
    const Primed p = prime(line);
    line.reverse();
    EXPECT_EQ(line.get_polygonized_points(cache_tol, 0)->read(0), giFloatArray3(this->stored(4, 2)));
    expect_caches_fresh(line, p);
}

TYPED_TEST(PolyArcLineProtocol, CachesEmptiedByReset) {
    TypeParam line;
    this->build_small(line);
    const Primed p = prime(line);
    line.reset();
    EXPECT_EQ(line.num_pos(), 0);
    EXPECT_EQ(line.length(), 0.0);
    EXPECT_TRUE(line.box().empty());
    EXPECT_EQ(line.get_polygonized_points(cache_tol, 0)->size(), 0);
    expect_caches_fresh(line, p);
    this->build_small(line); // usable again
    EXPECT_NEAR(line.length(), p.length, 1e-12);
}

// The classes with a transform (the constant-Z and ZX classes have none).
template <class L>
class PolyArcLineTransformCaches : public PolyArcLineProtocol<L> {};
using TransformedClasses =
    ::testing::Types<velPolyArcLine, velPolyArcLineDouble, velPolyLine, velPolyLineDouble>;
TYPED_TEST_SUITE(PolyArcLineTransformCaches, TransformedClasses);

// Positions and arc mid points move, straight spans keep their marker, and the caches follow.
TYPED_TEST(PolyArcLineTransformCaches, CachesEmptiedByTransform) {
    const double tol = Kind<TypeParam>::tol;
    TypeParam line;
    this->build_small(line);
    const velPolyArcLineDouble before = copy_double(line);
    const giXform3 xf = giXform3::rotation_z(0.7, {1, 1, 0}) * giXform3::scaling(2.0);
    Primed p = prime(line);
    line.transform(xf);
    EXPECT_NEAR(line.length(), 2 * p.length, 1e-4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_LT(pos(line, i).distance(xf * pos(before, i)), tol) << i;
    EXPECT_EQ(line.span_linear(1) + line.span_linear(3), 2);
    if (this->arcs()) {
        EXPECT_LT(mid(line, 2).distance(xf * mid(before, 2)), tol);
    }
    expect_caches_fresh(line, p);

    p = prime(line);
    const giXform3 shift = giXform3::translation({1, 2, 3});
    if constexpr (requires { line.force_transform(shift); })
        line.force_transform(shift);
    else
        line.transform(shift);
    EXPECT_LT(line.box().min().distance(p.box.min() + giVector3(1, 2, 3)), tol);
    expect_caches_fresh(line, p);
}

// Lines stored in and read back from archives, through their own records and as objects of any class.
template <class L>
class PolyArcLineArchive : public ::testing::Test {};
using ArchivedClasses = ::testing::Types<velPolyArcLine, velPolyArcLineConstZ, velPolyLine>;
TYPED_TEST_SUITE(PolyArcLineArchive, ArchivedClasses);

TYPED_TEST(PolyArcLineArchive, RoundTripRecreatesTheClass) {
    Rng rng(14);
    TypeParam line;
    build(line, random_plan(rng, 9, line.can_hold_arcs()));
    std::stringstream ss;
    {
        CArchive ar(ss, CArchive::store);
        ar << static_cast<const CObject*>(&line) << static_cast<const CObject*>(&line);
    }
    CArchive in(ss, CArchive::load);
    std::unique_ptr<CObject> object(in.ReadObject(RUNTIME_CLASS(velAbsPolyArcLine)));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetRuntimeClass(), TypeParam::GetThisClass());
    velAbsPolyArcLine* second = nullptr;
    in >> second;
    std::unique_ptr<velAbsPolyArcLine> owned(second);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(typeid(*second), typeid(TypeParam));
    for (const velAbsPolyArcLine* l :
         {static_cast<const velAbsPolyArcLine*>(dynamic_cast<velAbsPolyArcLine*>(object.get())),
          static_cast<const velAbsPolyArcLine*>(second)}) {
        EXPECT_TRUE(*l == line);
        EXPECT_EQ(l->length(), line.length());
    }
    // A loaded line keeps growing like any other.
    for (int i = 0; i < 40; ++i)
        second->add_pos(Kind<TypeParam>::map({i * 0.5, 1, 0}));
    ASSERT_EQ(second->num_pos(), line.num_pos() + 40);
    for (int i = 1; i <= line.num_pos(); ++i)
        EXPECT_EQ(pos(*second, i), pos(line, i));
    EXPECT_EQ(pos(*second, second->num_pos()), Kind<TypeParam>::stored(Kind<TypeParam>::map({19.5, 1, 0})));
}

TYPED_TEST(PolyArcLineArchive, BadSchemaWordsThrow) {
    TypeParam line;
    build(line, plan_of({{0, 0, 0}, {1, 0, 0}}, {}, false));
    const std::string good = polytest::stored_bytes(line);
    // The class's schema word comes first; the base record's follows it (after Z for the constant-Z class).
    const std::size_t base_word = std::is_same_v<TypeParam, velPolyArcLineConstZ> ? 12 : 4;
    for (std::size_t at : {std::size_t{0}, base_word}) {
        std::string bad = good;
        bad[at] = 2;
        TypeParam loaded;
        try {
            polytest::load_bytes(loaded, bad);
            ADD_FAILURE() << "no exception for a bad schema word at byte " << at;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
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
    EXPECT_EQ(line->reserve(10), 0);
    EXPECT_EQ(line->create_new(), nullptr);
    EXPECT_EQ(line->create_empty(), nullptr);
    EXPECT_EQ(line->ok_to_add_pos({}) + line->ok_to_add_arc({}, {}) + line->ok_to_edit_pos(1, {}) +
                  line->ok_to_edit_mid_pos(1, {}) + line->span_linear(1) + line->can_hold_arcs(),
              6);
    giPoint3 p(7, 8, 9);
    line->get_pos(1, p);
    line->get_mid_pos(1, p);
    EXPECT_EQ(p, giPoint3(7, 8, 9));
    std::string expected;
    polytest::put_int(expected, 1);
    polytest::put_int(expected, 0);
    EXPECT_EQ(polytest::stored_bytes(*line), expected);
}

// Page sizing and the bulge factor are protected; a derived class shows them.
struct Exposed : velPolyArcLineDouble {
    using velAbsPolyArcLine::bulge_factor;
    using velAbsPolyArcLine::compute_num_pages;
    using velAbsPolyArcLine::compute_page_factor;
};

TEST(velAbsPolyArcLine, PageSizing) {
    const int factors[][2] = {{0, 1}, {1, 1}, {2, 1},    {3, 2},     {4, 2},     {5, 3},
                              {8, 3}, {9, 4}, {513, 10}, {1024, 10}, {1025, 10}, {1 << 20, 10}};
    for (const auto& [n, k] : factors)
        EXPECT_EQ(Exposed::compute_page_factor(n), k) << n;
    const int pages[][3] = {{0, 2, 1},     {1, 2, 1},     {4, 2, 1}, {5, 2, 2},
                            {1024, 10, 1}, {2049, 10, 3}, {-3, 4, 1}};
    for (const auto& [n, k, p] : pages)
        EXPECT_EQ(Exposed::compute_num_pages(n, k), p) << n << ' ' << k;
}

TEST(velAbsPolyArcLine, BulgeFactorIsTanQuarterSweep) {
    Rng rng(15);
    for (int i = 0; i < 200; ++i) {
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

// Every chord of a polygonized arc lies within tol of the arc, its ends on it and in order from S to E,
// with hardly more chords than the fewest that can do it.
TEST(velAbsPolyArcLine, PolygonizedArcsStayWithinTolerance) {
    Rng rng(16);
    for (int trial = 0; trial < 120; ++trial) {
        const polytest::Circle k = polytest::random_circle(rng, 0.01, 10, 10);
        const double a = rng.uniform(-pi, pi), sweep = rng.uniform(0.01, 1.95 * pi);
        velPolyArcLineDouble exact;
        exact.add_pos(k.at(a));
        exact.add_arc(k.at(a + sweep / 2), k.at(a + sweep));
        velPolyArcLine single;
        single.add_pos(k.at(a));
        single.add_arc(k.at(a + sweep / 2), k.at(a + sweep));
        for (double tol = 1e-1; tol > 1e-6; tol /= 10) {
            velPolyLineDouble out;
            const int count = exact.polygonize(tol, 0, out);
            const int fewest =
                tol >= 2 * k.R
                    ? 1
                    : static_cast<int>(std::ceil(sweep / (4 * std::asin(std::sqrt(tol / (2 * k.R))))));
            EXPECT_GE(count, fewest - 1); // a hair below an integer may round down
            EXPECT_LE(count, 1.5 * fewest + 1) << k.R << ' ' << sweep << ' ' << tol;
            ASSERT_EQ(out.num_pos(), count + 1);
            EXPECT_EQ(pos(out, 1), k.at(a));
            EXPECT_EQ(pos(out, count + 1), k.at(a + sweep));
            double last = a - 1e-9;
            for (int i = 1; i <= out.num_pos(); ++i) {
                const giPoint3 p = pos(out, i);
                ASSERT_LT(k.distance(p), 1e-12 * (20 + k.R));
                const double angle = k.angle(p, a - 1e-9);
                ASSERT_GT(angle, last); // onwards along the arc, never back
                ASSERT_LE(angle, a + sweep + 1e-9);
                last = angle;
                if (i > 1) {
                    ASSERT_LE(k.distance(pos(out, i - 1).interpolate(p, 0.5)), tol * (1 + 1e-6));
                }
            }
            // The cached single-precision polygonization: the same within float rounding.
            const auto& poly = single.get_polygonized_points(tol, 0);
            ASSERT_GE(poly->size(), 2);
            for (int i = 1; i < poly->size(); ++i) {
                const giPoint3 p = poly->read(i - 1).point(), q = poly->read(i).point();
                ASSERT_LT(k.distance(q), 1e-5);
                ASSERT_LE(k.distance(p.interpolate(q, 0.5)), tol + 1e-5);
            }
        }
    }
}

// Straight spans write their ends; an arc writes all its chord points, its start included.
TEST(velAbsPolyArcLine, PolygonizeWritesSpansInOrder) {
    const giPoint3 P1(0, 0, 0), P2(2, 0, 0), M(3, 1, 0), P3(4, 0, 0), P4(4, -2, 0);
    velPolyArcLineDouble line;
    line.add_pos(P1);
    line.add_pos(P2);
    line.add_arc(M, P3);
    line.add_pos(P4);
    for (int mode : {0, 20}) {
        Interpolate ref(0.01, mode);
        const int chords = ref.arc(P2, M, P3);
        velPolyLineDouble out;
        EXPECT_EQ(line.polygonize(0.01, mode, out), chords + 2);
        ASSERT_EQ(out.num_pos(), chords + 4);
        EXPECT_EQ(pos(out, 1), P1);
        EXPECT_EQ(pos(out, 2), P2);
        giPoint3 a, b;
        for (int i = 0; ref.read_line(a, b); ++i)
            EXPECT_EQ(pos(out, 3 + i), a);
        EXPECT_EQ(pos(out, chords + 3), P3);
        EXPECT_EQ(pos(out, chords + 4), P4);
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
