#include "cliTestKit.h"

using namespace clitest;

namespace {

const double pi = std::numbers::pi, r2 = std::sqrt(2.0);

// A clockwise quarter arc of radius 3 about the origin between two lines that turn right into it and out of
// it: offset by +5 the arc collapses through its centre, and it and the corner spans beside it become
// temporary lines.
std::vector<std::string> collapsing_arc() {
    const double m = 3.0 / std::sqrt(2.0);
    return {p(-5, -2), p(0, 3), a(m, m, 3, 0), p(-2, -5)};
}

// One row per way of offsetting: OUT read back has these polylines, area and length (NaN: not checked).
struct Case {
    const char* name;
    double distance;
    std::vector<std::string> options;
    std::vector<std::vector<std::string>> input;
    int polylines;
    double area, length;
};

const double nan = std::nan("");
const std::vector<std::string> raw = {"--raw"};
// clang-format off
const std::vector<Case> cases = {
    // Raw offsets of a square of side 10 by 4: quarter circles at the corners, sharp corners, a chamfer at 5
    // from each input corner (sharp corners lie at 4 sqrt 2) cutting a right isosceles triangle off each.
    {"raw_rounded", 4, raw, {square(0, 0, 10)}, 1, 260 + 16 * pi, 40 + 8 * pi},
    {"raw_sharp", 4, {"--raw", "--extend"}, {square(0, 0, 10)}, 1, 324, 72},
    {"raw_chamfered", 4, {"--raw", "--chamfer", "5"}, {square(0, 0, 10)}, 1,
     324 - 2 * std::pow(r2 * (4 * r2 - 5), 2), 72 - 4 * (2 - r2) * r2 * (4 * r2 - 5)},
    // A hole shrinks to side 2, a smaller one vanishes; an open polyline keeps its temporary spans.
    {"raw_hole_shrinks", 4, raw, {square(0, 0, 10, true), square(20, 0, 3, true)}, 1, -4, 8},
    {"raw_temporary_spans", 5, raw, {collapsing_arc(), {p(7, 7)}}, 1, 0, nan},
    // Regions are oriented by nesting first: the drawing direction does not matter.
    {"region_grows", 1, {}, {square(0, 0, 10, true)}, 1, 144 - 4 + pi, 40 + 2 * pi},
    {"region_shrinks", -1, {}, {square(0, 0, 10)}, 1, 64, 32},
    {"region_sharp", 1, {"--sharp"}, {square(0, 0, 10)}, 1, 144, 48},
    {"region_chamfer", 1, {"--chamfer", "1.2"}, {square(0, 0, 10)}, 1, 144 - 4 * (r2 - 1.2) * (r2 - 1.2), nan},
    // A hole grows with rounded corners when the material shrinks; two squares 1 apart merge.
    {"region_hole_grows", -1, {}, {square(0, 0, 10), square(3, 3, 4)}, 2, 64 - (36 - 4 + pi), nan},
    {"region_merges", 1, {}, {square(0, 0, 4), square(5, 0, 4)}, 1, nan, nan},
    // Each polyline on its own: a clockwise loop keeps its orientation; overlapping ones do not merge; an
    // open line gives the run on the side the sign picks.
    {"each_right_of_clockwise", 1, {"--each"}, {square(0, 0, 10, true)}, 1, -64, 32},
    {"each_does_not_merge", 1, {"--each"}, {square(0, 0, 4), square(5, 0, 4)}, 2, 2 * (32 + pi), 32 + 4 * pi},
    {"each_open_line", 1, {"--each"}, {{p(0, 0), p(10, 0)}, {p(3, 3)}}, 1, 0, 10},
};
// clang-format on

class OffsetCommandCases : public ::testing::TestWithParam<Case> {};

TEST_P(OffsetCommandCases, OutputReadsBackWithTheOffsetsProperties) {
    const Case& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records(c.input));
    std::vector<std::string> args = {"offset", in, num(c.distance), "-o", out, "--json"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const json j = json::parse(r.out), k = info_json({out})[0];
    EXPECT_EQ(k["polylines"], c.polylines);
    if (!std::isnan(c.area)) {
        EXPECT_NEAR(k["area"].get<double>(), c.area, 1e-9 * std::max(1.0, std::fabs(c.area)));
    }
    if (!std::isnan(c.length)) {
        EXPECT_NEAR(k["length"].get<double>(), c.length, 1e-9 * c.length);
    }
    if (j["mode"] == "raw") return;
    // The summary agrees with OUT, and its per-output records add up to its totals.
    EXPECT_EQ(j["mode"], c.options.size() > 0 && c.options[0] == "--each" ? "each" : "region");
    EXPECT_EQ(j["outputs"].size(), static_cast<std::size_t>(c.polylines));
    EXPECT_EQ(j["loops"].get<int>() + j["open"].get<int>(), c.polylines);
    EXPECT_EQ(j["outer"].get<int>() + j["holes"].get<int>(), j["loops"].get<int>());
    EXPECT_NEAR(k["area"].get<double>(), j["area"].get<double>(), 1e-9 * std::max(1.0, std::fabs(c.area)));
    double area = 0.0;
    int spans = 0;
    for (const json& o : j["outputs"]) {
        area += o["area"].get<double>();
        spans += o["spans"].get<int>();
    }
    EXPECT_NEAR(area, j["area"].get<double>(), 1e-9 * std::max(1.0, std::fabs(area)));
    EXPECT_EQ(spans, j["spans"]);
}

INSTANTIATE_TEST_SUITE_P(OffsetCommand, OffsetCommandCases, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The summary lines of the three modes, the raw counts in JSON, DXF out with its bulges, and the pictures:
// outer boundaries and holes, temporary spans dashed (each a subpath of its own).
TEST(OffsetCommand, SummariesAndPictures) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), svg = dir.file("out.svg");
    spit(in, records({square(0, 0, 10), square(3, 3, 4)}));
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string head = in + ": region of 2 boundaries offset by -1, rounded corners: 2 loops: 1 outer "
                                  "boundary, 1 hole; 12 spans; area ";
    ASSERT_EQ(r.out.rfind(head, 0), 0u) << r.out;
    EXPECT_NEAR(std::stod(r.out.substr(head.size())), 32 - pi, 1e-9) << r.out;
    EXPECT_EQ(subpaths(slurp(svg), "outer"), 1);
    EXPECT_EQ(subpaths(slurp(svg), "hole"), 1);
    EXPECT_NE(
        cli({"offset", in, "1", "--each", "-o", out})
            .out.find(": 2 polylines offset each by 1, rounded corners: 2 polylines written, 0 vanished; "
                      "2 loops: 2 outer boundaries, 0 holes; "),
        std::string::npos);
    const Outcome dxf = cli({"offset", in, "+1", "--raw", "-o", dir.file("out.dxf")});
    EXPECT_NE(dxf.out.find(in + ": raw offset by 1, rounded corners: "), std::string::npos) << dxf.out;
    EXPECT_NE(dxf.out.find("2 written, 0 vanished; 16 spans, 0 temporary (0 lines, 0 arcs)"),
              std::string::npos);
    EXPECT_EQ(info_json({dir.file("out.dxf")})[0]["arc_spans"], 8);

    spit(in, records({collapsing_arc(), square(10, 0, 4)}));
    const json j = json::parse(cli({"offset", in, "5", "--raw", "-o", out, "--json", "--svg", svg}).out);
    EXPECT_EQ(j["polylines_in"], 2);
    EXPECT_EQ(j["temporary_lines"], 3);
    EXPECT_EQ(j["temporary_arcs"], 0);
    const std::string picture = slurp(svg);
    const std::vector<std::string> temporary = d_after(picture, "class=\"layer temporary\"");
    ASSERT_EQ(temporary.size(), 1u);
    EXPECT_EQ(count(temporary[0], "M"), 3);
    EXPECT_EQ(count(temporary[0], "L"), 3);
    EXPECT_NE(picture.find("stroke-dasharray", picture.find("class=\"layer temporary\"")), std::string::npos);
    EXPECT_NE(picture.find("temporary spans, dashed (3)"), std::string::npos);
}

// Boundaries that cross are cut and rejoined, with a warning that --strict makes a fault; the raw offset
// of coordinates near the largest double leaves out what overflows and names it.
TEST(OffsetCommand, CrossingBoundariesAndOverflow) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records({square(0, 0, 10), square(5, 5, 10)}));
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find(in + ": warning: the boundaries cross"), std::string::npos) << r.err;
    EXPECT_EQ(json::parse(r.out)["holes"], 0);
    EXPECT_EQ(json::parse(r.out)["outer"], 2); // the two L shapes left of the outline when the hole grows
    EXPECT_EQ(cli({"offset", in, "-1", "-o", out, "--strict"}).code, 2);

    const Outcome huge = cli({"offset", data("huge_coordinates.txt"), "1", "--raw", "-o", out});
    EXPECT_EQ(huge.code, 2);
    EXPECT_NE(huge.err.find("huge_coordinates.txt: polyline 0: "), std::string::npos) << huge.err;
    EXPECT_NE(huge.out.find("1 not finite"), std::string::npos) << huge.out;
    EXPECT_EQ(info_json({out})[0]["polylines"], 0);
}

} // namespace
