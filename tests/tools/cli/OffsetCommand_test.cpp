#include "cliTestKit.h"

using namespace clitest;

namespace {

const double pi = std::numbers::pi;

// A clockwise quarter arc of radius 3 about the origin from (0, 3) to (3, 0) between two lines that turn
// right into it and out of it: offset by +5 the arc collapses through its centre, and it and the corner
// spans beside it become temporary lines.
std::vector<std::string> collapsing_arc() {
    const double m = 3.0 / std::sqrt(2.0);
    return {p(-5, -2), p(0, 3), a(m, m, 3, 0), p(-2, -5)};
}

// The summary line of a run (its standard output).
std::string summary(const Outcome& r) {
    return r.out.substr(0, r.out.find('\n'));
}

// One row per way of offsetting: the offset read back from OUT has these properties.
struct Case {
    const char* name;
    double distance;
    std::vector<std::string> options;
    std::vector<std::vector<std::string>> input;
    double area, length, width; // of OUT read back (area summed over closed polylines)
    int polylines;
    std::string counts; // the tail of the summary line
};

const std::vector<Case> cases = {
    // A square of side 10 offset outwards by 4: rounded corners are quarter circles, sharp ones an 18 x 18
    // square; a chamfer at 5 from each corner (sharp corners lie at 4 sqrt 2).
    {"rounded",
     4,
     {},
     {square(0, 0, 10)},
     260 + 16 * pi,
     40 + 8 * pi,
     18,
     1,
     "1 written, 0 vanished; 8 spans, 0 temporary (0 lines, 0 arcs)"},
    {"sharp",
     4,
     {"--extend"},
     {square(0, 0, 10)},
     324,
     72,
     18,
     1,
     "1 written, 0 vanished; 4 spans, 0 temporary (0 lines, 0 arcs)"},
    {"chamfer_limit_above_corner",
     4,
     {"--chamfer", "6"},
     {square(0, 0, 10)},
     324,
     72,
     18,
     1,
     "1 written, 0 vanished; 4 spans, 0 temporary (0 lines, 0 arcs)"},
    // Chamfer lines at 5 from the input corners cut a right isosceles triangle of legs 2 (4 sqrt 2 - 5)
    // sqrt 2 off each corner of the 18 x 18 square.
    {"chamfered",
     4,
     {"--chamfer", "5"},
     {square(0, 0, 10)},
     324 - 4 * 0.5 * std::pow(std::sqrt(2.0) * (4 * std::sqrt(2.0) - 5), 2),
     72 - 4 * (2 - std::sqrt(2.0)) * std::sqrt(2.0) * (4 * std::sqrt(2.0) - 5),
     18,
     1,
     "1 written, 0 vanished; 8 spans, 0 temporary (0 lines, 0 arcs)"},
    // A hole (clockwise) shrinks: side 2; a smaller one vanishes.
    {"hole_shrinks_and_small_one_vanishes",
     4,
     {},
     {square(0, 0, 10, true), square(20, 0, 3, true)},
     -4,
     8,
     2,
     1,
     "1 written, 1 vanished; 4 spans, 0 temporary (0 lines, 0 arcs)"},
    // Open polyline with a collapsing arc: three temporary lines; single points give nothing.
    {"temporary_spans",
     5,
     {},
     {collapsing_arc(), {p(7, 7)}},
     0,
     std::nan(""),
     std::nan(""),
     1,
     "1 written, 1 vanished; 5 spans, 3 temporary (3 lines, 0 arcs)"},
};

class OffsetCommandCases : public ::testing::TestWithParam<Case> {};

TEST_P(OffsetCommandCases, OutputReadsBackWithTheOffsetsProperties) {
    const Case& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records(c.input));
    std::vector<std::string> args = {"offset", in, num(c.distance), "--raw", "-o", out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const std::string line = summary(r);
    EXPECT_EQ(line.substr(line.size() - std::min(line.size(), c.counts.size())), c.counts) << line;

    const json j = info_json({out});
    ASSERT_EQ(j.size(), 1u);
    EXPECT_FALSE(j[0].contains("error")) << j[0];
    EXPECT_EQ(j[0]["polylines"], c.polylines);
    EXPECT_NEAR(j[0]["area"].get<double>(), c.area, 1e-9 * std::max(1.0, std::fabs(c.area)));
    if (!std::isnan(c.length)) {
        EXPECT_NEAR(j[0]["length"].get<double>(), c.length, 1e-9 * c.length);
        EXPECT_NEAR(j[0]["box"][3].get<double>() - j[0]["box"][0].get<double>(), c.width, 1e-9 * c.width);
    }
}

INSTANTIATE_TEST_SUITE_P(OffsetCommand, OffsetCommandCases, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OffsetCommand, StandardOutputAndDxf) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), dxf = dir.file("out.dxf");
    spit(in, records({square(0, 0, 10, true)}));
    // The geometry on standard output; the counts then go to the error stream.
    const Outcome r = cli({"offset", in, "4", "--raw", "-o", "-"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("velGeometryIO 1\n", 0), 0u) << r.out;
    EXPECT_EQ(r.err.rfind("arcline offset: " + in + ": raw offset by 4, rounded corners: 1 polyline", 0), 0u)
        << r.err;
    const json j = info_json({"-"}, r.out);
    EXPECT_NEAR(j[0]["area"].get<double>(), -4, 1e-12);
    EXPECT_EQ(cli({"offset", in, "+4", "--raw", "-o", "-"}).out, r.out);
    // A negative distance as the second argument; DXF by the extension, bulges kept.
    const Outcome neg = cli({"offset", in, "-1", "--raw", "-o", dxf});
    ASSERT_EQ(neg.code, 0) << neg.err;
    const json k = info_json({dxf});
    EXPECT_EQ(k[0]["format"], "dxf");
    EXPECT_EQ(k[0]["arc_spans"], 4);
    EXPECT_NEAR(k[0]["area"].get<double>(), -(100 + 40 + pi), 1e-9);
}

TEST(OffsetCommand, PictureDrawsTemporarySpansDashed) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), svg = dir.file("out.svg");
    spit(in, records({collapsing_arc(), square(10, 0, 4)}));
    const Outcome r = cli({"offset", in, "5", "--raw", "-o", out, "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string picture = slurp(svg);
    EXPECT_EQ(count(picture, "class=\"layer "), 3);
    // The three temporary lines of the collapsed arc, each a subpath of its own, dashed.
    const std::vector<std::string> temporary = d_after(picture, "class=\"layer temporary\"");
    ASSERT_EQ(temporary.size(), 1u);
    int moves = 0, lines = 0;
    for (const PathCommand& c : parse_path(temporary[0])) {
        moves += c.op == 'M';
        lines += c.op == 'L';
    }
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(lines, 3);
    const std::size_t layer = picture.find("class=\"layer temporary\"");
    EXPECT_NE(picture.find("stroke-dasharray", layer), std::string::npos);
    EXPECT_NE(picture.find("temporary spans, dashed (3)"), std::string::npos);
    // Nothing temporary: the layer is there, without a path.
    const Outcome plain = cli({"offset", in, "-0.5", "--raw", "-o", out, "--svg", svg});
    ASSERT_EQ(plain.code, 0) << plain.err;
    const std::string quiet = slurp(svg);
    const std::size_t at = quiet.find("class=\"layer temporary\"");
    ASSERT_NE(at, std::string::npos);
    const std::string group = quiet.substr(at, quiet.find("</g>", at) - at);
    EXPECT_EQ(group.find("<path"), std::string::npos) << group;
}

// One row per way of offsetting a region or each polyline: what the summary says and OUT holds.
struct ValidCase {
    const char* name;
    double distance;
    std::vector<std::string> options;
    std::vector<std::vector<std::string>> input;
    int loops, outer, holes, open;
    double area;   // the loops' signed areas summed
    double length; // NaN: not checked
};

const double s = 10.0; // side of the squares below
const double root2 = std::sqrt(2.0);

const std::vector<ValidCase> valid_cases = {
    // A square grows by a band with quarter circles at its corners and shrinks to a square with sharp
    // corners, whichever way it was drawn: the region is oriented by nesting first.
    {"region_grows", 1, {}, {square(0, 0, s)}, 1, 1, 0, 0, (s + 2) * (s + 2) - 4 + pi, 4 * s + 2 * pi},
    {"region_grows_clockwise",
     1,
     {},
     {square(0, 0, s, true)},
     1,
     1,
     0,
     0,
     (s + 2) * (s + 2) - 4 + pi,
     4 * s + 2 * pi},
    {"region_shrinks", -1, {}, {square(0, 0, s)}, 1, 1, 0, 0, (s - 2) * (s - 2), 4 * (s - 2)},
    {"region_shrinks_clockwise", -1, {}, {square(0, 0, s, true)}, 1, 1, 0, 0, (s - 2) * (s - 2), 4 * (s - 2)},
    {"region_sharp", 1, {"--sharp"}, {square(0, 0, s)}, 1, 1, 0, 0, (s + 2) * (s + 2), 4 * (s + 2)},
    // Sharp corners lie sqrt 2 from the input corners: a chamfer at 1.2 cuts a right isosceles triangle
    // of height sqrt 2 - 1.2 (area its square) off each.
    {"region_chamfer",
     1,
     {"--chamfer", "1.2"},
     {square(0, 0, s)},
     1,
     1,
     0,
     0,
     (s + 2) * (s + 2) - 4 * (root2 - 1.2) * (root2 - 1.2),
     std::nan("")},
    // A hole (given anticlockwise: its nesting makes it one) grows when the material shrinks, with rounded
    // corners, and shrinks to a sharp square when it grows.
    {"region_hole_grows",
     -1,
     {},
     {square(0, 0, s), square(3, 3, 4)},
     2,
     1,
     1,
     0,
     64 - (36 - 4 + pi),
     std::nan("")},
    {"region_hole_shrinks",
     1,
     {},
     {square(0, 0, s), square(3, 3, 4, true)},
     2,
     1,
     1,
     0,
     140 + pi - 4,
     std::nan("")},
    // Two squares 1 apart grown by 1 merge into one loop.
    {"region_merges", 1, {}, {square(0, 0, 4), square(5, 0, 4)}, 1, 1, 0, 0, std::nan(""), std::nan("")},
    // Each polyline on its own: the right side is outside an anticlockwise loop and inside a clockwise one,
    // which keeps its orientation.
    {"each_right_of_anticlockwise", 1, {"--each"}, {square(0, 0, s)}, 1, 1, 0, 0, 140 + pi, 4 * s + 2 * pi},
    {"each_left_of_anticlockwise", -1, {"--each"}, {square(0, 0, s)}, 1, 1, 0, 0, 64, 32},
    {"each_right_of_clockwise", 1, {"--each"}, {square(0, 0, s, true)}, 1, 0, 1, 0, -64, 32},
    // Two overlapping squares offset each on their own do not merge.
    {"each_does_not_merge",
     1,
     {"--each"},
     {square(0, 0, 4), square(5, 0, 4)},
     2,
     2,
     0,
     0,
     2 * (36 - 4 + pi),
     2 * (16 + 2 * pi)},
    // An open line gives the run along the side the sign picks, as long as the line; a point gives nothing.
    {"each_open_line", 1, {"--each"}, {{p(0, 0), p(s, 0)}, {p(3, 3)}}, 0, 0, 0, 1, 0, s},
};

class OffsetValidCases : public ::testing::TestWithParam<ValidCase> {};

TEST_P(OffsetValidCases, SummaryAndOutputAgree) {
    const ValidCase& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records(c.input));
    std::vector<std::string> args = {"offset", in, num(c.distance), "-o", out, "--json"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["mode"], c.options.size() > 0 && c.options[0] == "--each" ? "each" : "region");
    EXPECT_EQ(j["loops"], c.loops);
    EXPECT_EQ(j["outer"], c.outer);
    EXPECT_EQ(j["holes"], c.holes);
    EXPECT_EQ(j["open"], c.open);
    EXPECT_EQ(j["outputs"].size(), static_cast<std::size_t>(c.loops + c.open));
    if (!std::isnan(c.area)) {
        EXPECT_NEAR(j["area"].get<double>(), c.area, 1e-9 * std::max(1.0, std::fabs(c.area)));
    }
    if (!std::isnan(c.length)) {
        EXPECT_NEAR(j["length"].get<double>(), c.length, 1e-9 * c.length);
    }
    // OUT reads back with the same area, and the per-output records add up to the totals.
    const json k = info_json({out});
    EXPECT_EQ(k[0]["polylines"], c.loops + c.open);
    EXPECT_NEAR(k[0]["area"].get<double>(), j["area"].get<double>(), 1e-9 * std::max(1.0, std::fabs(c.area)));
    double area = 0.0;
    int spans = 0;
    for (const json& o : j["outputs"]) {
        area += o["area"].get<double>();
        spans += o["spans"].get<int>();
    }
    EXPECT_NEAR(area, j["area"].get<double>(), 1e-9 * std::max(1.0, std::fabs(area)));
    EXPECT_EQ(spans, j["spans"]);
}

INSTANTIATE_TEST_SUITE_P(OffsetCommand, OffsetValidCases, ::testing::ValuesIn(valid_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OffsetCommand, SummaryLineAndPicture) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), svg = dir.file("out.svg");
    spit(in, records({square(0, 0, 10), square(3, 3, 4)}));
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string head = in + ": region of 2 boundaries offset by -1, rounded corners: 2 loops: 1 outer "
                                  "boundary, 1 hole; 12 spans; area ";
    ASSERT_EQ(r.out.rfind(head, 0), 0u) << r.out;
    EXPECT_NEAR(std::stod(r.out.substr(head.size())), 32 - pi, 1e-9) << r.out;
    const std::string picture = slurp(svg);
    EXPECT_EQ(count(picture, "class=\"layer "), 2);
    EXPECT_EQ(path_data(picture, "outer").size(), 1u);
    EXPECT_EQ(path_data(picture, "hole").size(), 1u);
    // The geometry on standard output: the line goes to the error stream.
    const Outcome each = cli({"offset", in, "1", "--each", "-o", "-"});
    ASSERT_EQ(each.code, 0) << each.err;
    EXPECT_EQ(each.out.rfind("velGeometryIO 1\n", 0), 0u);
    EXPECT_EQ(each.err.rfind("arcline offset: " + in +
                                 ": 2 polylines offset each by 1, rounded corners: 2 polylines "
                                 "written, 0 vanished; 2 loops: 2 outer boundaries, 0 holes; ",
                             0),
              0u)
        << each.err;
}

TEST(OffsetCommand, ArgumentsAndBadInput) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), open = dir.file("open.txt");
    spit(in, records({square(0, 0, 10)}));
    spit(open, records({square(0, 0, 10), {p(0, 0), p(5, 5)}, {p(1, 1), p(2, 1)}}));
    struct Bad {
        std::vector<std::string> args;
        const char* names; // what the message must name
    };
    const std::vector<Bad> bad = {
        {{"offset", in, "nan", "-o", out}, "DIST"},
        {{"offset", in, "1e999", "-o", out}, "DIST"},
        {{"offset", in, "2x", "-o", out}, "DIST"},
        {{"offset", in, "1e200", "-o", out}, "DIST"},
        {{"offset", in, "1", "--chamfer", "-1", "-o", out}, "--chamfer"},
        {{"offset", in, "1"}, "--output"},
        {{"offset", in, "--raw", "-o", out}, "DIST"},
        {{"offset", in, "1", "-o", "-", "--svg", "-"}, "--svg"},
        {{"offset", in, "1", "-o", "-", "--json"}, "--json"},
        {{"offset", in, "1", "--raw", "--each", "-o", out}, "--each"},
        // Open polylines bound no region: the first is named, with how many more.
        {{"offset", open, "1", "-o", out}, "polyline 1 is open (its ends lie 7.07"},
        {{"offset", open, "1", "-o", out}, "and 1 more"},
        {{"offset", open, "1", "-o", out}, "--each"},
        {{"offset", data("huge_coordinates.txt"), "1", "-o", out}, "huge_coordinates.txt: coordinates reach"},
        {{"offset", data("nan_coordinate.txt"), "1", "-o", out}, "nan_coordinate.txt:6: "},
        {{"offset", dir.file("missing.txt"), "1", "-o", out}, "missing.txt"},
    };
    for (const Bad& b : bad) {
        const Outcome r = cli(b.args);
        EXPECT_EQ(r.code, 2) << b.names;
        EXPECT_NE(r.err.find(b.names), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out)) << b.names;
    }
    // A fault in the input leaves OUT as it was.
    spit(out, "old");
    EXPECT_EQ(cli({"offset", open, "1", "-o", out}).code, 2);
    EXPECT_EQ(slurp(out), "old");
    // The raw offset of coordinates near the largest double: offsets that overflow are left out and named.
    const Outcome huge = cli({"offset", data("huge_coordinates.txt"), "1", "--raw", "-o", out});
    EXPECT_EQ(huge.code, 2);
    EXPECT_NE(huge.err.find("huge_coordinates.txt: polyline 0: "), std::string::npos) << huge.err;
    EXPECT_NE(summary(huge).find("1 not finite"), std::string::npos) << huge.out;
    EXPECT_EQ(info_json({out})[0]["polylines"], 0);
}

TEST(OffsetCommand, CrossingBoundariesWarn) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    // Two squares overlapping in [5,10]^2: cut and rejoined, the overlap nests inside the outline as a hole.
    spit(in, records({square(0, 0, 10), square(5, 5, 10)}));
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find(in + ": warning: the boundaries cross"), std::string::npos) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["holes"], 0);
    EXPECT_EQ(j["outer"], 2); // the two L shapes left of the outline when the hole grows
    EXPECT_EQ(cli({"offset", in, "-1", "-o", out, "--strict"}).code, 2);
}

TEST(OffsetCommand, RawJson) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records({collapsing_arc(), square(10, 0, 4)}));
    const Outcome r = cli({"offset", in, "5", "--raw", "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["mode"], "raw");
    EXPECT_EQ(j["polylines_in"], 2);
    EXPECT_EQ(j["temporary_lines"], 3);
    EXPECT_EQ(j["temporary_arcs"], 0);
}

} // namespace
