#include "cliTestKit.h"

using namespace clitest;

namespace {

const double pi = std::numbers::pi;

// The summary lines of the three modes, the raw counts in JSON, DXF out with its bulges, and the pictures:
// outer boundaries and holes, temporary spans dashed (each a subpath of its own).
TEST(OffsetCommand, SummariesAndPictures) {
    ScratchDir dir;
    const std::string in = put(dir, "in.txt", {square(0, 0, 10), square(3, 3, 4)}), out = dir.file("out.txt"),
                      svg = dir.file("out.svg");
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string head = in + ": region of 2 boundaries offset by -1, rounded corners: 2 loops: 1 outer "
                                  "boundary, 1 hole; 12 spans; area ";
    ASSERT_THAT(r.out, StartsWith(head));
    EXPECT_NEAR(std::stod(r.out.substr(head.size())), 32 - pi, 1e-9) << r.out;
    EXPECT_EQ(subpaths(slurp(svg), "outer"), 1);
    EXPECT_EQ(subpaths(slurp(svg), "hole"), 1);
    EXPECT_THAT(
        cli({"offset", in, "1", "--each", "-o", out}).out,
        HasSubstr(
            ": 2 polylines offset each by 1, rounded corners: 2 polylines written, 0 vanished; 2 loops: "
            "2 outer boundaries, 0 holes; "));
    const Outcome dxf = cli({"offset", in, "+1", "--raw", "-o", dir.file("out.dxf")});
    EXPECT_THAT(dxf.out, HasSubstr(in + ": raw offset by 1, rounded corners: "));
    EXPECT_THAT(dxf.out, HasSubstr("2 written, 0 vanished; 16 spans, 0 temporary (0 lines, 0 arcs)"));
    EXPECT_EQ(info_json({dir.file("out.dxf")})[0]["arc_spans"], 8);
    // The JSON summary agrees with OUT, and its per-output records add up to its totals.
    for (const char* mode : {"--each", "--sharp"}) {
        const json s = json::parse(cli({"offset", in, "1", mode, "-o", out, "--json"}).out);
        EXPECT_EQ(s["mode"], mode == std::string("--each") ? "each" : "region");
        EXPECT_EQ(s["outputs"].size(), info_json({out})[0]["polylines"].get<std::size_t>());
        EXPECT_EQ(s["loops"].get<int>() + s["open"].get<int>(), s["outputs"].size());
        EXPECT_EQ(s["outer"].get<int>() + s["holes"].get<int>(), s["loops"].get<int>());
        EXPECT_NEAR(info_json({out})[0]["area"].get<double>(), s["area"].get<double>(), 1e-9);
        double area = 0.0;
        int spans = 0;
        for (const json& o : s["outputs"]) {
            area += o["area"].get<double>();
            spans += o["spans"].get<int>();
        }
        EXPECT_NEAR(area, s["area"].get<double>(), 1e-9);
        EXPECT_EQ(spans, s["spans"]);
    }

    spit(in, records({collapsing_arc(), square(10, 0, 4)}));
    const json j = json::parse(cli({"offset", in, "5", "--raw", "-o", out, "--json", "--svg", svg}).out);
    EXPECT_EQ((json{j["polylines_in"], j["temporary_lines"], j["temporary_arcs"]}), (json{2, 3, 0}));
    const std::string picture = slurp(svg);
    const std::vector<std::string> temporary = d_after(picture, "class=\"layer temporary\"");
    ASSERT_EQ(temporary.size(), 1u);
    EXPECT_EQ(count(temporary[0], "M"), 3);
    EXPECT_EQ(count(temporary[0], "L"), 3);
    EXPECT_THAT(picture.substr(picture.find("class=\"layer temporary\"")), HasSubstr("stroke-dasharray"));
    EXPECT_THAT(picture, HasSubstr("temporary spans, dashed (3)"));
}

// Boundaries that cross are cut and rejoined, with a warning that --strict makes a fault; the raw offset
// of coordinates near the largest double leaves out what overflows and names it.
TEST(OffsetCommand, CrossingBoundariesAndOverflow) {
    ScratchDir dir;
    const std::string in = put(dir, "in.txt", {square(0, 0, 10), square(5, 5, 10)}),
                      out = dir.file("out.txt");
    const Outcome r = cli({"offset", in, "-1", "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr(in + ": warning: the boundaries cross"));
    // The two L shapes left of the outline when the hole grows.
    EXPECT_EQ((json{json::parse(r.out)["holes"], json::parse(r.out)["outer"]}), (json{0, 2}));
    EXPECT_EQ(cli({"offset", in, "-1", "-o", out, "--strict"}).code, 2);

    const Outcome huge = cli({"offset", data("huge_coordinates.txt"), "1", "--raw", "-o", out});
    EXPECT_EQ(huge.code, 2);
    EXPECT_THAT(huge.err, HasSubstr("huge_coordinates.txt: polyline 0: "));
    EXPECT_THAT(huge.out, HasSubstr("1 not finite"));
    EXPECT_EQ(info_json({out})[0]["polylines"], 0);
}

} // namespace
