#include "cliTestKit.h"

#include "tools/cli/PolylineDrawing.h"

using namespace clitest;
using arcline::cli::PolylineDrawing;

TEST(SvgCommand, LayersBoundariesHolesAndOpenPolylines) {
    ScratchDir dir;
    // An outer square with a clockwise square island; a second file with an open polyline with an arc.
    const std::string region = put(dir, "region.txt", {square(0, 0, 10), square(3, 3, 2, true)});
    const std::string path = put(dir, "path.txt", {{p(-2, -2), a(5, -6, 12, -2), p(12, 12)}});
    const Outcome r = cli({"svg", region, path, "-o", "-", "--arrows", "--points", "--size", "400"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string& svg = r.out;
    EXPECT_THAT(svg, StartsWith("<?xml"));
    EXPECT_EQ(count(svg, "class=\"layer\""), 2);
    const std::string colour0(PolylineDrawing::layer_colour(0)), colour1(PolylineDrawing::layer_colour(1));
    EXPECT_THAT(svg, HasSubstr("id=\"layer-1\" class=\"layer\" data-file=\"" + region + "\" stroke=\"" +
                               colour0 + "\""));
    EXPECT_THAT(svg, HasSubstr("stroke=\"" + colour1 + "\""));
    EXPECT_NE(colour0, colour1);
    // Both squares fill one region (non-zero: the clockwise island is a hole); the island is dashed.
    ASSERT_EQ(path_data(svg, "region").size(), 1u);
    EXPECT_EQ(count(path_data(svg, "region")[0], "Z"), 2);
    EXPECT_THAT(svg, HasSubstr("fill-rule=\"nonzero\""));
    ASSERT_EQ(path_data(svg, "outer").size(), 1u);
    ASSERT_EQ(path_data(svg, "hole").size(), 1u);
    EXPECT_EQ(count(path_data(svg, "outer")[0], "M"), 1);
    EXPECT_THAT(svg, HasSubstr("class=\"hole\" d=\"" + path_data(svg, "hole")[0] +
                               "\" stroke-width=\"1.5\" stroke-dasharray"));
    // The open polyline: an arc that dips below its chord going right (anticlockwise: SVG sweep 0), then a
    // line; not closed.
    ASSERT_EQ(path_data(svg, "open").size(), 1u);
    const auto open = parse_path(path_data(svg, "open")[0]);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(open[1].op, 'A');
    EXPECT_EQ(open[1].args[4], 0.0);
    EXPECT_EQ(open[2].op, 'L');
    EXPECT_EQ(path_data(svg, "arrows").size(), 2u);
    EXPECT_EQ(count(svg, "<circle"), 5 + 5 + 3);
    EXPECT_THAT(svg, HasSubstr("class=\"scale-bar\""));
    EXPECT_THAT(svg, HasSubstr(path + " (1 polyline)"));

    // Without the options: no arrows, no dots.
    ASSERT_EQ(cli({"svg", region, "-o", dir.file("plain.svg")}).code, 0);
    const std::string text = slurp(dir.file("plain.svg"));
    EXPECT_EQ(count(text, "<circle"), 0);
    EXPECT_TRUE(path_data(text, "arrows").empty());
    EXPECT_EQ(text.back(), '\n');
}

TEST(SvgCommand, FaultsStillDrawWhatWasRead) {
    ScratchDir dir;
    const std::string bad = dir.file("bad.txt"), out = dir.file("out.svg");
    const std::string good = records({square(0, 0)});
    spit(bad, good.substr(0, good.size() - 1) + "p 1 2 three\ns\ne");
    const Outcome r = cli({"svg", bad, dir.file("missing.txt"), "-o", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, bad + ":8: 'p' record: number 3 of 3 is missing or malformed\n" +
                         dir.file("missing.txt") + ": cannot open: No such file or directory\n");
    const std::string svg = slurp(out);
    EXPECT_EQ(count(svg, "class=\"layer\""), 1);
    EXPECT_EQ(path_data(svg, "outer").size(), 1u);

    // A coordinate that is not finite is a fault of the file; the polyline before it is drawn.
    const Outcome nan = cli({"svg", data("nan_coordinate.txt"), "-o", out});
    EXPECT_EQ(nan.code, 2);
    EXPECT_EQ(nan.err, data("nan_coordinate.txt") + ":6: 'p' record: number 2 of 3 is not finite (nan)\n");
    EXPECT_EQ(path_data(slurp(out), "open").size(), 1u);

    const Outcome unwritable = cli({"svg", data("version_7.txt"), "-o", dir.file("no/dir/out.svg")});
    EXPECT_EQ(unwritable.code, 1);
}

// The fill rule: two overlapping anticlockwise squares are one region under nonzero, a region with a hole
// under evenodd; none draws no region.
TEST(SvgCommand, FillRules) {
    const std::string two = records({square(0, 0, 2), square(1, 1, 2)});
    for (const auto& [rule, attribute] : std::vector<std::pair<std::string, std::string>>{
             {"nonzero", "fill-rule=\"nonzero\""}, {"evenodd", "fill-rule=\"evenodd\""}, {"none", ""}}) {
        const Outcome r = cli({"svg", "-", "-o", "-", "--fill", rule}, two);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(path_data(r.out, "region").size(), attribute.empty() ? 0u : 1u) << rule;
        EXPECT_THAT(r.out, HasSubstr(attribute)); // "" is in every text
        EXPECT_EQ(path_data(r.out, "outer").size(), 1u);
    }
    EXPECT_EQ(cli({"svg", "-", "-o", "-", "--fill", "odd"}, two).code, 2);
}

// Coordinates near the largest double: the picture is made (arrows included) with finite page coordinates
// inside the page.
TEST(SvgCommand, HugeCoordinatesDraw) {
    const Outcome r = cli({"svg", data("huge_coordinates.txt"), "-o", "-", "--arrows", "--points"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_THAT(r.out, AllOf(Not(HasSubstr("nan")), Not(HasSubstr("inf"))));
    int numbers = 0;
    for (const std::string& d : d_after(r.out, "<path "))
        for (const PathCommand& c : parse_path(d))
            for (const double v : c.args) {
                EXPECT_TRUE(std::abs(v) < 2000.0) << v;
                ++numbers;
            }
    EXPECT_GT(numbers, 20);
    EXPECT_GE(count(path_data(r.out, "arrows").at(0), "Z"), 5);
}

// Layer names come from file names, which need not be UTF-8: the picture stays valid UTF-8 XML.
TEST(SvgCommand, NamesThatAreNotUtf8) {
    ScratchDir dir;
    const Outcome r = cli({"svg", put(dir, "r\xe9gion<1>.txt", {square(0, 0)}), "-o", "-"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(valid_utf8(r.out));
    EXPECT_THAT(r.out, HasSubstr("r\xef\xbf\xbdgion&lt;1&gt;.txt"));
}
