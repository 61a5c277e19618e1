#include "cliTestKit.h"

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/SvgPath.h"

using namespace clitest;
using arcline::cli::SvgPage;
using arcline::cli::SvgPath;

namespace {

// Path data of one arc span on a page that maps the model 1:1 (x + 40, 140 - y: y flipped).
std::string one_arc(const giPoint3& s, const giPoint3& m, const giPoint3& e, const SvgPage& page) {
    SvgPath path(page);
    path.move_to(s);
    path.arc_to(m, e);
    return path.data();
}

const SvgPage unit_page(giBox2({0, 0}, {100, 100}), 100.0, 40.0, 40.0);

} // namespace

// Scale bars are one, two or five times a power of ten; a page of one point, or of nothing, shows a square
// of unit extent around it.
TEST(SvgPage, RoundLengthsAndPagesOfOnePoint) {
    for (const auto& [length, round] :
         {std::pair{7.3, 5.0}, {100.0, 100.0}, {99.99, 50.0}, {0.42, 0.2}, {2e-7, 2e-7}})
        EXPECT_EQ(SvgPage::round_length(length), round) << length;
    const double size = 600, margin = 30, band = 50;
    const SvgPage point(giBox2({3, 4}, {3, 4}), size, margin, band);
    EXPECT_EQ(point.scale(), size / SvgPage::unit_extent);
    EXPECT_NEAR(point.x(3), 0.5 * point.width(), 1e-9);
    EXPECT_NEAR(point.y(4), margin + 0.5 * size, 1e-9);
    EXPECT_EQ(SvgPage(giBox2(), size, margin, band).scale(), size);
}

// The exact text: a large anticlockwise arc on the y-down page (sweep 0), a small clockwise one (sweep 1),
// points, lines and closed loops.
TEST(SvgPath, ExactPathData) {
    const double r2 = std::sqrt(0.5);
    EXPECT_EQ(one_arc({100, 50, 0}, {50 - 50 * r2, 50 + 50 * r2, 0}, {50, 0, 0}, unit_page),
              "M140 90A50 50 0 1 0 90 140");
    EXPECT_EQ(one_arc({100, 50, 0}, {50 + 50 * r2, 50 - 50 * r2, 0}, {50, 0, 0}, unit_page),
              "M140 90A50 50 0 0 1 90 140");
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
