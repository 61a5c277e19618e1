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

TEST(OffsetCommand, ArgumentsAndBadInput) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records({square(0, 0, 10)}));
    // The full offset is not built: without --raw the command says so and names the option.
    const Outcome full = cli({"offset", in, "1", "-o", out});
    EXPECT_EQ(full.code, 2);
    EXPECT_NE(full.err.find("arcline offset: "), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("--raw"), std::string::npos) << full.err;
    EXPECT_FALSE(fs::exists(out));
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"offset", in, "nan", "--raw", "-o", out},
          {"offset", in, "1e999", "--raw", "-o", out},
          {"offset", in, "2x", "--raw", "-o", out},
          {"offset", in, "1", "--raw", "--chamfer", "-1", "-o", out},
          {"offset", in, "1", "--raw"},
          {"offset", in, "1", "--raw", "-o", "-", "--svg", "-"},
          {"offset", in, "--raw", "-o", out}}) {
        const Outcome r = cli(bad);
        EXPECT_EQ(r.code, 2) << bad[2];
        EXPECT_NE(r.err.find("arcline offset"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(out));
    // A fault in the input: named with its line, exit code 2, OUT left as it was.
    spit(out, "old");
    const Outcome nan = cli({"offset", data("nan_coordinate.txt"), "1", "--raw", "-o", out});
    EXPECT_EQ(nan.code, 2);
    EXPECT_NE(nan.err.find("nan_coordinate.txt:6: "), std::string::npos) << nan.err;
    EXPECT_NE(nan.err.find("arcline offset: " + out + " not written"), std::string::npos) << nan.err;
    EXPECT_EQ(slurp(out), "old");
    EXPECT_EQ(cli({"offset", dir.file("missing.txt"), "1", "--raw", "-o", out}).code, 2);
    // Offsets that overflow are left out and named; the rest is written.
    const Outcome huge = cli({"offset", data("huge_coordinates.txt"), "1", "--raw", "-o", out});
    EXPECT_EQ(huge.code, 2);
    EXPECT_NE(huge.err.find("huge_coordinates.txt: polyline 0: "), std::string::npos) << huge.err;
    EXPECT_NE(summary(huge).find("1 not finite"), std::string::npos) << huge.out;
    EXPECT_EQ(info_json({out})[0]["polylines"], 0);
}

} // namespace
