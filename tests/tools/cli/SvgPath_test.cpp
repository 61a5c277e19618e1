#include "cliTestKit.h"

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/SvgPath.h"

#include <random>

using namespace clitest;
using arcline::cli::SvgPage;
using arcline::cli::SvgPath;
using std::numbers::pi;

namespace {

// The arc an A command draws (equal radii, no rotation), by SVG's own conversion from end points to centre,
// radius correction included: centre, radius, start angle and signed sweep, in page coordinates.
struct DrawnArc {
    double cx, cy, r, start, sweep;
    double x(double t) const { return cx + r * std::cos(start + t * sweep); }
    double y(double t) const { return cy + r * std::sin(start + t * sweep); }
};
DrawnArc svg_arc(double x1, double y1, const PathCommand& a) {
    double r = a.args[0];
    const bool large = a.args[3] != 0.0, sweep = a.args[4] != 0.0;
    const double x2 = a.args[5], y2 = a.args[6];
    const double xp = 0.5 * (x1 - x2), yp = 0.5 * (y1 - y2);
    const double d2 = xp * xp + yp * yp;
    r = std::max(r, std::sqrt(d2));
    const double k = (large != sweep ? 1.0 : -1.0) * std::sqrt(std::max(0.0, (r * r - d2) / d2));
    const double cxp = k * yp, cyp = -k * xp;
    const double ux = (xp - cxp) / r, uy = (yp - cyp) / r, vx = (-xp - cxp) / r, vy = (-yp - cyp) / r;
    double delta = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    if (!sweep && delta > 0) delta -= 2 * pi;
    if (sweep && delta < 0) delta += 2 * pi;
    return {cxp + 0.5 * (x1 + x2), cyp + 0.5 * (y1 + y2), r, std::atan2(uy, ux), delta};
}

// Path data of one arc span on a page that maps the model 1:1 (x + 40, 140 - y: y flipped).
std::string one_arc(const giPoint3& s, const giPoint3& m, const giPoint3& e, const SvgPage& page) {
    SvgPath path(page);
    path.move_to(s);
    path.arc_to(m, e);
    return path.data();
}

const SvgPage unit_page(giBox2({0, 0}, {100, 100}), 100.0, 40.0, 40.0);

} // namespace

// The exact text: a large anticlockwise arc on the y-down page (sweep 0), points, lines and closed loops.
TEST(SvgPath, ExactPathData) {
    const double r2 = std::sqrt(0.5);
    EXPECT_EQ(one_arc({100, 50, 0}, {50 - 50 * r2, 50 + 50 * r2, 0}, {50, 0, 0}, unit_page),
              "M140 90A50 50 0 1 0 90 140");
    EXPECT_EQ(one_arc({10, 10, 0}, {20, 20, 0}, {10, 10, 0}, unit_page), "M50 130");
    EXPECT_EQ(one_arc({10, 10, 0}, {20, 10, 0}, {30, 10, 0}, unit_page), "M50 130L70 130");
    velPolyArcLineDouble loop;
    loop.add_pos({0, 0, 0});
    loop.add_pos({100, 0, 0});
    loop.add_arc({50, 50, 0}, {0, 0, 0});
    velSingleAbsArcLineListIter it(loop);
    it.reset();
    ASSERT_TRUE(++it);
    SvgPath path(unit_page);
    path.add_polyline(it);
    EXPECT_EQ(path.data(), "M40 140L140 140A50 50 0 0 0 40 140Z");
}

// Random flat arcs at any height: SVG's reading of the A commands lies on the arc's circle, sweeps the arc's
// angle in its direction and ends at its end. Arcs of nearly a whole turn come in two halves.
TEST(SvgPath, ArcCommandsDrawTheArc) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int k = 0; k < 2000; ++k) {
        SCOPED_TRACE(k);
        const double r = 1.0 + 49.0 * u(rng), a0 = 2 * pi * u(rng);
        // Sweeps near +-180 degrees and up to nearly +-360 included.
        const double sweep =
            (u(rng) < 0.5 ? -1 : 1) * (k % 4 == 0 ? pi + 1e-6 * (u(rng) - 0.5) : 6.2 * u(rng) + 0.05);
        const double cx = 50 + 100 * (u(rng) - 0.5), cy = 50 + 100 * (u(rng) - 0.5), z = 10 * u(rng);
        auto at = [&](double t) {
            return giPoint3(cx + r * std::cos(a0 + t * sweep), cy + r * std::sin(a0 + t * sweep), z);
        };
        const auto cmds = parse_path(one_arc(at(0), at(0.5), at(1), unit_page));
        const bool split =
            2 * r * std::sin(0.5 * std::abs(sweep)) < SvgPath::split_chord_ratio * r && std::abs(sweep) > pi;
        ASSERT_EQ(cmds.size(), split ? 3u : 2u);
        double x = cmds[0].args[0], y = cmds[0].args[1], swept = 0.0;
        for (std::size_t i = 1; i < cmds.size(); ++i) {
            ASSERT_EQ(cmds[i].op, 'A');
            EXPECT_EQ(cmds[i].args[3] != 0, !split && std::abs(sweep) > pi);
            EXPECT_EQ(cmds[i].args[4] != 0, sweep < 0);
            const DrawnArc d = svg_arc(x, y, cmds[i]);
            for (const double t : {0.25, 0.5, 0.75})
                EXPECT_NEAR(std::hypot(d.x(t) - unit_page.x(cx), d.y(t) - unit_page.y(cy)), r, 3e-3);
            swept += std::abs(d.sweep);
            x = cmds[i].args[5];
            y = cmds[i].args[6];
        }
        EXPECT_NEAR(swept, std::abs(sweep), 2e-3 / r); // ends rounded to 1e-3
        EXPECT_NEAR(x, unit_page.x(at(1).x), 5e-4);
        EXPECT_NEAR(y, unit_page.y(at(1).y), 5e-4);
    }
}

TEST(SvgPath, DegenerateAndTiltedArcs) {
    using Shape = SvgPath::ArcShape;
    EXPECT_EQ(SvgPath::shape({1, 1, 0}, {2, 2, 0}, {1, 1, 0}), Shape::point);
    EXPECT_EQ(SvgPath::shape({0, 0, 0}, {1, 1e-10, 0}, {2, 0, 0}), Shape::straight);
    EXPECT_EQ(SvgPath::shape({0, 0, 0}, {1, 1e-8, 0}, {2, 0, 0}), Shape::flat);
    EXPECT_EQ(SvgPath::shape({0, 0, 5}, {1, 1, 5}, {2, 0, 5}), Shape::flat);
    EXPECT_EQ(SvgPath::shape({0, 0, 0}, {1, 1, 1e-3}, {2, 0, 0}), Shape::tilted);

    // A circle tilted by 60 degrees about X: samples only, all on its XY projection, the ellipse
    // x^2 + (y / cos 60)^2 = r^2 about (50, 50); from angle 0 to 180 through 90.
    const double r = 40, c = 0.5, s = std::sqrt(0.75);
    const auto cmds =
        parse_path(one_arc({50 + r, 50, 0}, {50, 50 + r * c, r * s}, {50 - r, 50, 0}, unit_page));
    ASSERT_GE(cmds.size(), 1u + SvgPath::min_samples);
    for (std::size_t k = 1; k < cmds.size(); ++k) {
        ASSERT_EQ(cmds[k].op, 'L');
        const double x = cmds[k].args[0] - 40 - 50, y = 140 - cmds[k].args[1] - 50;
        EXPECT_NEAR(std::hypot(x, y / c), r, 2e-3);
        EXPECT_GE(y, -1e-3); // the upper half
    }
    EXPECT_EQ(cmds.back().args, (std::vector<double>{50, 90}));

    // Nearly a full circle whose ends print as one page point: two halves, both drawn.
    const double gap = 1e-7;
    const auto full = parse_path(
        one_arc({90, 50, 0}, {10, 50, 0}, {50 + 40 * std::cos(gap), 50 - 40 * std::sin(gap), 0}, unit_page));
    ASSERT_EQ(full.size(), 3u);
    EXPECT_EQ(full[1].op, 'A');
    EXPECT_EQ(full[2].op, 'A');
    EXPECT_NEAR(full[1].args[5], 10 + 40, 1e-3); // through the far side of the circle
}
