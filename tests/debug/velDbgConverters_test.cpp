#include "debugChannelKit.h"

#include "arcline/debug/giBox3velDbg.h"
#include "arcline/debug/giPoint2velDbg.h"
#include "arcline/debug/giPoint3velDbg.h"
#include "arcline/debug/torCurvePtr2velDbg.h"
#include "arcline/debug/torCurvePtr3velDbg.h"
#include "arcline/debug/velAbsContourvelDbg.h"
#include "arcline/debug/velDbgCircle.h"
#include "arcline/debug/velDbgLine.h"
#include "arcline/debug/velDbgPolylineSection.h"
#include "arcline/debug/velDbgSinglePolyline.h"
#include "arcline/debug/velDbgText.h"
#include "arcline/debug/velDbgVector.h"
#include "arcline/debug/velDebugGeometryUtils.h"
#include "arcline/debug/velStrokeFont.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/torCurve2.h"
#include "arcline/platform/torLine3.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace velDbgConverters_test {

using namespace dbgtest;
using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

namespace {

// What a converter made: the positions of each polyline and the number of arc spans.
struct Drawn {
    std::vector<std::vector<giPoint3>> polylines;
    int arcs = 0;
};

Drawn drawn(velDebugGeometryConverter& c) {
    c.calculate();
    Drawn out;
    velPolylineListIter& it = c.iterator();
    for (it.reset(); ++it;) {
        std::vector<giPoint3> p;
        for (int i = 0; i < it.num_pos(); ++i) {
            p.push_back(it.get_pos(i));
            if (i + 1 < it.num_pos() && !it.span_linear(i)) ++out.arcs;
        }
        out.polylines.push_back(p);
    }
    return out;
}

std::shared_ptr<velPolyArcLineDouble> sample(double dx) {
    auto p = std::make_shared<velPolyArcLineDouble>();
    p->add_pos({dx, 0, 0});
    p->add_pos({dx + 2, 0, 0});
    p->add_arc({dx + 3, 1, 0}, {dx + 2, 2, 0});
    return p;
}

// Every converter kind draws what it is made of; calculate() starts afresh.
TEST(DebugConverters, DrawWhatTheyAreMadeOf) {
    List list;
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(list);
    for (const double dx : {0.0, 10.0, 20.0})
        cursor.insert_last(sample(dx));
    velAbsPolyArcLineListIter iter(list);
    const auto at = [&](int index, auto make) {
        iter.set_index(index);
        std::unique_ptr<velDebugGeometryConverter> c = make();
        iter.reset();
        return c;
    };
    using Want = std::vector<std::vector<giPoint3>>;
    const std::vector<giPoint3> arrow{{0, 0, 0}, {10, 0, 0}, {8, 1, 0}, {8, -1, 0}, {10, 0, 0}};
    const std::vector<giPoint3> second{{10, 0, 0}, {12, 0, 0}, {12, 2, 0}};
    const giBox3 box({0, 0, 0}, {1, 2, 3});
    std::vector<giPoint3> box_drawing(16);
    for (int i = 0; i < 16; ++i)
        velDebugGeometryUtils::box_drawing(box)->get_pos(i + 1, box_drawing[static_cast<std::size_t>(i)]);
    struct Case {
        const char* name;
        std::unique_ptr<velDebugGeometryConverter> converter;
        Want want;
        int arcs;
    };
    // clang-format off
    Case cases[] = {
        {"line in the plane", std::make_unique<velDbgLine>(giPoint2(1, 2), giPoint2(3, 4)), {{{1, 2, 0}, {3, 4, 0}}}, 0},
        {"line in space", std::make_unique<velDbgLine>(giPoint3(1, 2, 3), giPoint3(4, 5, 6)), {{{1, 2, 3}, {4, 5, 6}}}, 0},
        {"vector", std::make_unique<velDbgVector>(giPoint3(0, 0, 0), giVector3(10, 0, 0)), {arrow}, 0},
        {"vector to a point", std::make_unique<velDbgVector>(giPoint3(0, 0, 0), giPoint3(10, 0, 0)), {arrow}, 0},
        {"circle in the plane", std::make_unique<velDbgCircle>(giPoint2(1, 1), 2.0), {{{3, 1, 0}, {-1, 1, 0}, {3, 1, 0}}}, 2},
        {"circle in space", std::make_unique<velDbgCircle>(giPoint3(0, 0, 1), 1.0, giVector3(1, 0, 0)), {{{0, 1, 1}, {0, -1, 1}, {0, 1, 1}}}, 2},
        {"point of the plane", std::make_unique<giPoint2velDbg>(giPoint2(5, 6)), {{{5, 6, 0}}}, 0},
        {"point", std::make_unique<giPoint3velDbg>(giPoint3(5, 6, 7)), {{{5, 6, 7}}}, 0},
        {"empty box", std::make_unique<giBox3velDbg>(giBox3()), {}, 0},
        {"box", std::make_unique<giBox3velDbg>(box), {box_drawing}, 0},
        {"polyline by index", std::make_unique<velDbgSinglePolyline>(iter, 1), {second}, 1},
        {"current polyline", at(1, [&] { return std::make_unique<velDbgSinglePolyline>(iter); }), {second}, 1},
        {"no polyline", std::make_unique<velDbgSinglePolyline>(iter, 3), {}, 0},
        {"section across a corner", at(1, [&] { return std::make_unique<velDbgPolylineSection>(velPolylineSection(iter, 0.5, 1.0)); }), {{{11, 0, 0}, {12, 0, 0}}}, 0},
        {"contour", std::make_unique<velAbsContourvelDbg>(std::make_shared<velPolyArcLineAdapter>(velAbsPolyArcLinecoPrg(sample(20)), 1)), {{{20, 0, 0}, {22, 0, 0}, {22, 2, 0}}}, 1},
        {"no contour", std::make_unique<velAbsContourvelDbg>(nullptr), {}, 0},
        {"segment curve", std::make_unique<torCurvePtr3velDbg>(std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(1, 2, 3))), {{{0, 0, 0}, {1, 2, 3}}}, 0},
        {"no curve", std::make_unique<torCurvePtr3velDbg>(nullptr), {}, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.converter->iterator().size(), 0) << "nothing before calculate()";
        const Drawn d = drawn(*c.converter);
        ASSERT_EQ(d.polylines.size(), c.want.size());
        for (std::size_t k = 0; k < c.want.size(); ++k) {
            ASSERT_EQ(d.polylines[k].size(), c.want[k].size());
            for (std::size_t i = 0; i < c.want[k].size(); ++i)
                EXPECT_LT(d.polylines[k][i].distance(c.want[k][i]), 1e-6) << i;
        }
        EXPECT_EQ(d.arcs, c.arcs);
        EXPECT_EQ(drawn(*c.converter).polylines.size(), c.want.size());
    }
}

// A circle of the plane by angle, for the plane curve converter.
class Circle2 : public torCurve2 {
public:
    explicit Circle2(double r) : m_r(r) {}
    double start_param() const override { return 0.0; }
    double end_param() const override { return 2 * std::numbers::pi; }
    giPoint2 evaluate(double t) const override { return {m_r * std::cos(t), m_r * std::sin(t)}; }

private:
    double m_r;
};

TEST(DebugConverters, PlaneCurveWithinItsTolerance) {
    for (const double tol : {1e-1, 1e-3}) {
        torCurvePtr2velDbg c(std::make_shared<Circle2>(10.0), tol);
        const Drawn d = drawn(c);
        ASSERT_EQ(d.polylines.size(), 1u);
        const auto& p = d.polylines[0];
        ASSERT_GE(p.size(), static_cast<std::size_t>(torCurvePtr2velDbg::min_pieces + 1));
        EXPECT_EQ(p.front(), (giPoint3{10, 0, 0}));
        EXPECT_LT(p.back().distance({10, 0, 0}), 1e-9);
        // Every point on the circle; every chord's sagitta within the tolerance.
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            EXPECT_NEAR(std::hypot(p[i].x, p[i].y), 10.0, 1e-9);
            const double half = 0.5 * p[i].distance(p[i + 1]);
            EXPECT_LE(10.0 - std::sqrt(100.0 - half * half), tol * 1.0001);
        }
        // Not needlessly fine: a chord of sagitta s has length 2 sqrt(2 r s); halving stops within 4 x that.
        EXPECT_LE(p.size(),
                  static_cast<std::size_t>(2 * std::numbers::pi * 10.0 / (2 * std::sqrt(20.0 * tol)) * 4) +
                      torCurvePtr2velDbg::min_pieces + 1);
    }
}

TEST(DebugConverters, TextInStrokes) {
    EXPECT_EQ(velDbgText(42, 1.0, giPoint3(0, 0, 0)).text(), "42");
    EXPECT_EQ(velDbgText(2.5, 1.0, giPoint3(0, 0, 0)).text(), "2.5");
    EXPECT_EQ(velDbgText(1.0 / 3.0, 1.0, giPoint3(0, 0, 0)).text(), "0.333333");
    EXPECT_EQ(velStrokeFont::glyph('a'), velStrokeFont::glyph('A'));
    EXPECT_EQ(velStrokeFont::glyph('~'), velStrokeFont::glyph('?'));
    EXPECT_TRUE(velStrokeFont::glyph(' ').empty());

    // "HI" at (1, 2, 3), capitals 12 high: H has three strokes, I three; H spans x 0..4 units and I 5..9,
    // a unit being 12 / 6 = 2.
    velDbgText hi("Hi", 12.0, giPoint3(1, 2, 3));
    const Drawn d = drawn(hi);
    EXPECT_EQ(d.polylines.size(), 6u);
    giBox3 box;
    for (const auto& p : d.polylines) {
        EXPECT_GE(p.size(), 2u);
        for (const giPoint3& q : p)
            box.merge(q);
    }
    EXPECT_EQ(box.min(), (giPoint3{1, 2, 3}));
    EXPECT_EQ(box.max(), (giPoint3{1 + 2 * 8, 2 + 12, 3}));

    // In a work plane: along its x axis (world Y), capitals up its y axis (world Z).
    velDbgText up("1\n1", 6.0, giWorkplane3({5, 0, 0}, {0, 1, 0}, {0, 0, 1}));
    giBox3 b;
    for (const auto& p : drawn(up).polylines)
        for (const giPoint3& q : p)
            b.merge(q);
    EXPECT_NEAR(b.min().x, 5.0, 1e-12);
    EXPECT_NEAR(b.max().x, 5.0, 1e-12);
    // Two lines: the second's baseline a line spacing (9 units of 1) below the first.
    EXPECT_NEAR(b.min().z, -velStrokeFont::line_spacing, 1e-12);
    EXPECT_NEAR(b.max().z, velStrokeFont::cap_height, 1e-12);
}

} // namespace

} // namespace velDbgConverters_test
