#include "cliTestKit.h"

using namespace clitest;

namespace {

// Three concentric squares (sides 10, 6 and 2), all anticlockwise unless `alternate` turns the middle one.
std::string nested_squares(bool alternate = false) {
    return records({square(0, 0, 10), square(2, 2, 6, alternate), square(4, 4, 2)});
}

struct SortCase {
    const char* name;
    std::string file;
    bool even_odd;
    int loops, outer, holes;
    double area;
};

// Two unit circles whose centres lie 1 apart: their union is two circles less the lens they share.
const double circles_union = 4.0 * std::numbers::pi / 3.0 + std::sqrt(3.0) / 2.0;

std::vector<SortCase> sort_cases() {
    const std::vector<std::string> bow_tie = {p(0, 0), p(6, 6), p(6, 0), p(0, 6), p(0, 0)};
    return {
        // Winding: the three anticlockwise squares wind 1, 2 and 3 times: one region, the outer square.
        {"nested_winding", nested_squares(), false, 1, 1, 0, 100.0},
        // Even-odd: the middle ring is empty, the inner square filled again.
        {"nested_even_odd", nested_squares(), true, 3, 2, 1, 100.0 - 36.0 + 4.0},
        // With the middle square clockwise the winding counts are 1, 0, 1: the same as even-odd.
        {"nested_alternating_winding", nested_squares(true), false, 3, 2, 1, 68.0},
        {"nested_alternating_even_odd", nested_squares(true), true, 3, 2, 1, 68.0},
        // Two overlapping squares: their union.
        {"overlap_winding", records({square(0, 0, 10), square(5, 5, 10)}), false, 1, 1, 0, 175.0},
        // Even-odd leaves the overlap out: loops switch curves at every crossing, so the outline of the union
        // and the overlap as a hole touching it at two corners.
        {"overlap_even_odd", records({square(0, 0, 10), square(5, 5, 10)}), true, 2, 1, 1, 150.0},
        // A bow tie: its halves wind +1 and -1, so the winding rule keeps one, even-odd both.
        {"bow_tie_winding", records({bow_tie}), false, 1, 1, 0, 9.0},
        {"bow_tie_even_odd", records({bow_tie}), true, 2, 2, 0, 18.0},
        // Arcs stay exact: two circles crossing.
        {"circles_winding", records({circle(0, 0, 1), circle(1, 0, 1)}), false, 1, 1, 0, circles_union},
        // A clockwise island inside an anticlockwise circle is a hole under both rules.
        {"island", records({circle(0, 0, 5), circle(1, 0, 1, true)}), false, 2, 1, 1,
         25.0 * std::numbers::pi - std::numbers::pi},
    };
}

class SortCommandCases : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortCommandCases, CountsAreaAndOrientationsReadBack) {
    const SortCase& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, c.file);
    std::vector<std::string> args = {"sort", in, "-o", out, "--json"};
    if (c.even_odd) args.push_back("--even-odd");
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["polylines_in"], count(c.file, "\ns"));
    EXPECT_EQ(j["loops"], c.loops);
    EXPECT_EQ(j["outer"], c.outer);
    EXPECT_EQ(j["holes"], c.holes);
    EXPECT_NEAR(j["area"].get<double>(), c.area, 1e-9 * std::max(1.0, c.area));

    // What OUT holds agrees: as many loops, anticlockwise outer boundaries and clockwise holes adding up to
    // the area, every loop closed and no two crossing.
    const std::vector<double> areas = signed_areas(out);
    ASSERT_EQ(static_cast<int>(areas.size()), c.loops);
    EXPECT_EQ(std::count_if(areas.begin(), areas.end(), [](double a) { return a > 0.0; }), c.outer);
    EXPECT_EQ(std::count_if(areas.begin(), areas.end(), [](double a) { return a < 0.0; }), c.holes);
    double sum = 0.0;
    for (double a : areas)
        sum += a;
    EXPECT_NEAR(sum, c.area, 1e-9 * std::max(1.0, c.area));
    const json info = info_json({out});
    EXPECT_EQ(info[0]["closed"], c.loops);
    const json crossings = json::parse(cli({"crossings", "--json", out}).out);
    // Loops may touch at the points where the input crossed (the bow tie's halves, the even-odd L shapes)
    // but never cross: a touch is reported at most as a pair of crossings at one point.
    for (const json& x : crossings["crossings"])
        EXPECT_NE(x["polyline1"], x["polyline2"]) << "a loop crosses itself";
}

TEST_P(SortCommandCases, SameRegionWhenMovedFarAndScaled) {
    const SortCase& c = GetParam();
    // The input moved by (1000, -2000) and scaled by 8 sorts into the same counts and 64 times the area.
    std::string moved;
    std::istringstream lines(c.file);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string head;
        words >> head;
        if (head == "p" || head == "a") {
            std::vector<double> v;
            for (double x; words >> x;)
                v.push_back(x);
            line = head;
            for (std::size_t k = 0; k < v.size(); ++k) {
                line += ' ';
                line += num(8.0 * v[k] + (k % 3 == 0 ? 1000.0 : k % 3 == 1 ? -2000.0 : 0.0));
            }
        }
        moved += line + "\n";
    }
    ScratchDir dir;
    spit(dir.file("in.txt"), moved);
    std::vector<std::string> args = {"sort", dir.file("in.txt"), "-o", dir.file("out.txt"), "--json"};
    if (c.even_odd) args.push_back("--even-odd");
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["loops"], c.loops);
    EXPECT_EQ(j["outer"], c.outer);
    EXPECT_EQ(j["holes"], c.holes);
    EXPECT_NEAR(j["area"].get<double>(), 64.0 * c.area, 1e-8 * 64.0 * std::max(1.0, c.area));
}

INSTANTIATE_TEST_SUITE_P(Regions, SortCommandCases, ::testing::ValuesIn(sort_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SortCommand, TextLineAndJsonShape) {
    ScratchDir dir;
    const std::string in = dir.file("squares.txt"), out = dir.file("out.txt");
    spit(in, nested_squares());
    const Outcome text = cli({"sort", in, "-o", out, "--even-odd"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, in + ": 3 polylines sorted (even-odd rule) into 3 loops: 2 outer boundaries, 1 hole; "
                             "area 68\n");
    EXPECT_EQ(text.err, "");

    const Outcome js = cli({"sort", in, "-o", out, "--json"});
    ASSERT_EQ(js.code, 0) << js.err;
    const json j = json::parse(js.out);
    ASSERT_TRUE(j.is_object());
    for (const char* key : {"file", "rule", "sorted", "polylines_in", "loops", "outer", "holes", "area"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j["rule"], "winding");
    EXPECT_EQ(j["sorted"], true);
    EXPECT_TRUE(j["area"].is_number_float());

    // OUT on standard output: the records there, the counts on the error stream.
    const Outcome piped = cli({"sort", in, "-o", "-"});
    ASSERT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out.rfind("velGeometryIO 1\n", 0), 0u) << piped.out;
    EXPECT_EQ(piped.err.rfind("arcline sort: " + in + ": 3 polylines sorted", 0), 0u) << piped.err;
    const Outcome clash = cli({"sort", in, "-o", "-", "--json"});
    EXPECT_EQ(clash.code, 2);
    EXPECT_EQ(clash.err, "arcline sort: OUT and --json cannot both be standard output\n");
}

TEST(SortCommand, PictureDrawsInputAndRegion) {
    ScratchDir dir;
    const std::string in = dir.file("squares.txt"), svg = dir.file("x.svg");
    spit(in, nested_squares());
    const Outcome r = cli({"sort", in, "-o", dir.file("out.txt"), "--even-odd", "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string pic = slurp(svg);
    EXPECT_EQ(count(pic, "class=\"layer input\""), 1);
    EXPECT_EQ(count(pic, "class=\"layer sorted\""), 1);
    // Three input squares; two outer boundaries and one hole, each closed subpath one M.
    const auto subpaths = [&](const std::string& cls) {
        const std::vector<std::string> d = path_data(pic, cls);
        return d.empty() ? 0 : count(d[0], "M");
    };
    EXPECT_EQ(subpaths("input"), 3);
    EXPECT_EQ(subpaths("region"), 3);
    EXPECT_EQ(subpaths("outer"), 2);
    EXPECT_EQ(subpaths("hole"), 1);
    EXPECT_NE(pic.find("fill-rule=\"nonzero\""), std::string::npos);
    EXPECT_TRUE(valid_utf8(pic));
}

TEST(SortCommand, BadFileWritesNothing) {
    ScratchDir dir;
    const std::string out = dir.file("out.txt");
    const Outcome bad = cli({"sort", data("nan_coordinate.txt"), "-o", out});
    EXPECT_EQ(bad.code, 2);
    const std::vector<std::string> m = bad.messages();
    ASSERT_FALSE(m.empty());
    // "file:line: reason", then what the command did about it.
    EXPECT_EQ(m[0].rfind(data("nan_coordinate.txt") + ":", 0), 0u) << bad.err;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(m[0][data("nan_coordinate.txt").size() + 1])))
        << bad.err;
    EXPECT_EQ(m.back(), "arcline sort: " + out + " not written");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(cli({"sort", dir.file("missing.txt"), "-o", out}).code, 2);
}

TEST(SortCommand, DebugChannelWritesDocument) {
    ScratchDir dir;
    const std::string in = dir.file("squares.txt"), cdg = dir.file("x.cdg");
    spit(in, records({square(0, 0, 10), square(5, 5, 10)}));
    const Outcome r =
        cli({"sort", in, "-o", dir.file("out.txt"), "--debug", "arclinesorter=2", "--debug-out", cdg});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(slurp(cdg).rfind("CDG1", 0), 0u);
    EXPECT_NE(r.err.find("arcline sort: debug geometry: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" written to " + cdg), std::string::npos) << r.err;
    // The document draws as a picture.
    EXPECT_EQ(cli({"cdg2svg", cdg, "-o", dir.file("x.svg")}).code, 0);
}

} // namespace
