#include "cliTestKit.h"

using namespace clitest;

namespace {

constexpr const char* op_names[] = {"union", "intersection", "difference", "xor"};

// What one operation makes: loops, outer boundaries, holes and the region's area.
struct Expect {
    int loops, outer, holes;
    double area;
};

struct BooleanCase {
    const char* name;
    std::vector<std::vector<std::string>> a, b;
    double area_a, area_b; // the regions' areas
    Expect by_op[4];       // union, intersection, difference (A minus B), xor
};

const double pi = std::numbers::pi;
// Two unit circles whose centres lie 1 apart share a lens of area 2 pi / 3 - sqrt(3) / 2.
const double lens = 2.0 * pi / 3.0 - std::sqrt(3.0) / 2.0;

// clang-format off
const std::vector<BooleanCase> cases = {
    // B given clockwise: orientation does not matter. The union an octagon-like outline, two L shapes.
    {"overlapping_squares", {square(0, 0, 10)}, {square(5, 5, 10, true)}, 100, 100, {{1, 1, 0, 175}, {1, 1, 0, 25}, {1, 1, 0, 75}, {2, 2, 0, 150}}},
    // A with a hole (given anticlockwise: nesting makes it one) that B's corner cuts: A minus B opens the
    // hole into the notch; B minus A is an L and the square [5,6]^2 touching at corners.
    {"square_with_hole", {square(0, 0, 10), square(2, 2, 4)}, {square(5, 5, 10)}, 84, 100, {{2, 1, 1, 160}, {1, 1, 0, 24}, {1, 1, 0, 60}, {3, 3, 0, 136}}},
    {"circles", {circle(0, 0, 1)}, {circle(1, 0, 1)}, pi, pi, {{1, 1, 0, 2 * pi - lens}, {1, 1, 0, lens}, {1, 1, 0, pi - lens}, {2, 2, 0, 2 * pi - 2 * lens}}},
    {"disjoint", {square(0, 0, 1)}, {square(5, 0, 2)}, 1, 4, {{2, 2, 0, 5}, {0, 0, 0, 0}, {1, 1, 0, 1}, {2, 2, 0, 5}}},
    // B wholly inside A: a hole for the difference and the exclusive or.
    {"b_inside_a", {square(0, 0, 10)}, {circle(5, 5, 2)}, 100, 4 * pi, {{1, 1, 0, 100}, {1, 1, 0, 4 * pi}, {2, 1, 1, 100 - 4 * pi}, {2, 1, 1, 100 - 4 * pi}}},
};
// clang-format on

class BooleanCommandCases : public ::testing::TestWithParam<BooleanCase> {};

// Each operation's summary and OUT agree with the expected region, and the four areas read back from OUT
// keep union + intersection = A + B, xor = union - intersection, difference = A - intersection.
TEST_P(BooleanCommandCases, CountsAreasAndIdentitiesReadBackFromOut) {
    const BooleanCase& c = GetParam();
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt");
    spit(a, records(c.a));
    spit(b, records(c.b));
    double area[4];
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(op_names[k]);
        const Expect& e = c.by_op[k];
        const std::string out = dir.file(std::string(op_names[k]) + ".txt");
        const Outcome r = cli({"boolean", op_names[k], a, b, "-o", out, "--json"});
        ASSERT_EQ(r.code, 0) << r.err;
        const json j = json::parse(r.out);
        EXPECT_EQ(j["operation"], op_names[k]);
        EXPECT_EQ(j["done"], true);
        EXPECT_EQ(j["polylines_a"], c.a.size());
        EXPECT_EQ(j["polylines_b"], c.b.size());
        EXPECT_EQ(j["loops"], e.loops);
        EXPECT_EQ(j["outer"], e.outer);
        EXPECT_EQ(j["holes"], e.holes);
        EXPECT_NEAR(j["area"].get<double>(), e.area, 1e-9 * std::max(1.0, e.area));
        expect_loops_in(out, e.loops, e.outer, e.holes, e.area);
        area[k] = info_json({out})[0]["area"].get<double>();
    }
    const double tol = 1e-9 * std::max(c.area_a, c.area_b);
    EXPECT_NEAR(area[0] + area[1], c.area_a + c.area_b, tol);
    EXPECT_NEAR(area[3], area[0] - area[1], tol);
    EXPECT_NEAR(area[2], c.area_a - area[1], tol);
}

INSTANTIATE_TEST_SUITE_P(Regions, BooleanCommandCases, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The text line, the JSON object's fields, both regions from standard input, and the picture: both inputs
// thin (one path per layer) and the result's outline and hole.
TEST(BooleanCommand, TextJsonStandardInputAndPicture) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), out = dir.file("out.txt"),
                      svg = dir.file("x.svg");
    spit(a, records({square(0, 0, 10), square(2, 2, 4)}));
    spit(b, records({square(5, 5, 10)}));
    const Outcome text = cli({"boolean", "union", a, b, "-o", out, "--svg", svg});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, "union of " + a + " (2 polylines) and " + b +
                            " (1 polyline): 2 loops: 1 outer boundary, 1 hole; area 160\n");
    EXPECT_EQ(text.err, "");
    const std::string pic = slurp(svg);
    for (const char* layer : {"class=\"layer a\"", "class=\"layer b\"", "class=\"layer result\""})
        EXPECT_EQ(count(pic, layer), 1) << layer;
    const std::vector<std::string> inputs = path_data(pic, "input");
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(count(inputs[0], "M"), 2);
    EXPECT_EQ(count(inputs[1], "M"), 1);
    EXPECT_EQ(subpaths(pic, "region"), 2);
    EXPECT_EQ(subpaths(pic, "outer"), 1);
    EXPECT_EQ(subpaths(pic, "hole"), 1);

    const json j = json::parse(cli({"boolean", "difference", a, b, "-o", out, "--json"}).out);
    for (const char* key : {"operation", "file_a", "file_b", "polylines_a", "polylines_b", "done",
                            "polylines", "loops", "outer", "holes", "area"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j.size(), 11u);
    EXPECT_EQ(j["file_a"], a);
    EXPECT_EQ(j["file_b"], b);
    EXPECT_EQ(j["polylines"], 1);
    // Both regions from standard input: the same bytes twice, so A xor A is empty.
    const Outcome same = cli({"boolean", "xor", "-", "-", "-o", out, "--json"}, slurp(a));
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(json::parse(same.out)["loops"], 0);
}

} // namespace
