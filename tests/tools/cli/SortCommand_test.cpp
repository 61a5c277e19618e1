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
    // Loops may touch where the input crossed (the bow tie's halves, the even-odd L shapes), never cross.
    expect_loops_in(out, c.loops, c.outer, c.holes, c.area);
}

INSTANTIATE_TEST_SUITE_P(Regions, SortCommandCases, ::testing::ValuesIn(sort_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The text line, the JSON object's fields, and the picture: three input squares, two outer boundaries and
// a hole.
TEST(SortCommand, TextJsonAndPicture) {
    ScratchDir dir;
    const std::string in = dir.file("squares.txt"), out = dir.file("out.txt"), svg = dir.file("x.svg");
    spit(in, nested_squares());
    const Outcome text = cli({"sort", in, "-o", out, "--even-odd", "--svg", svg});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, in + ": 3 polylines sorted (even-odd rule) into 3 loops: 2 outer boundaries, 1 hole; "
                             "area 68\n");
    EXPECT_EQ(text.err, "");
    const std::string pic = slurp(svg);
    EXPECT_EQ(count(pic, "class=\"layer input\""), 1);
    EXPECT_EQ(count(pic, "class=\"layer sorted\""), 1);
    EXPECT_EQ(subpaths(pic, "input"), 3);
    EXPECT_EQ(subpaths(pic, "region"), 3);
    EXPECT_EQ(subpaths(pic, "outer"), 2);
    EXPECT_EQ(subpaths(pic, "hole"), 1);
    EXPECT_TRUE(valid_utf8(pic));

    const json j = json::parse(cli({"sort", in, "-o", out, "--json"}).out);
    for (const char* key : {"file", "rule", "sorted", "polylines_in", "loops", "outer", "holes", "area"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j["rule"], "winding");
    EXPECT_EQ(j["sorted"], true);
}

} // namespace
