#include "cliTestKit.h"

#include <set>

using namespace clitest;

namespace {

const double pi = std::numbers::pi;

// One row per region: the levels that pocketing makes, each with its loops and area.
struct Level {
    int loops, holes;
    double area;
};
struct PocketCase {
    const char* name;
    double step;
    std::vector<std::vector<std::string>> input;
    std::vector<Level> levels;
};

const std::vector<PocketCase> cases = {
    // Squares of side 10 - 2 k 1.5 (inner corners stay sharp) until the side would be negative.
    {"square", 1.5, {square(0, 0, 10)}, {{1, 0, 49}, {1, 0, 16}, {1, 0, 1}}},
    // Circles of radius 5 - 2 k, drawn clockwise: orientation does not matter.
    {"disc", 2, {circle(0, 0, 5, true)}, {{1, 0, 9 * pi}, {1, 0, pi}}},
    // A hole of side 2 grows into a rounded square of side 5 as the outline shrinks to side 7; at the
    // second level the hole (reaching 3 from its square) swallows everything the outline keeps.
    {"square_with_hole", 1.5, {square(0, 0, 10), square(4, 4, 2)}, {{2, 1, 49 - (25 - 2.25 * (4 - pi))}}},
    // Separate regions: the levels go on while any of them keeps material.
    {"two_squares", 1.5, {square(0, 0, 10), square(20, 0, 4)}, {{2, 0, 50}, {1, 0, 16}, {1, 0, 1}}},
    // Nothing to pocket.
    {"empty", 1, {}, {}},
};

class PocketCases : public ::testing::TestWithParam<PocketCase> {};

TEST_P(PocketCases, LevelsLoopsAndAreas) {
    const PocketCase& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    spit(in, records(c.input));
    const Outcome r = cli({"pocket", in, num(c.step), "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err; // no progress bar off a terminal
    const json j = json::parse(r.out);
    ASSERT_EQ(j["levels"], c.levels.size());
    ASSERT_EQ(j["per_level"].size(), c.levels.size());
    int loops = 0, spans = 0;
    for (std::size_t k = 0; k < c.levels.size(); ++k) {
        const json& level = j["per_level"][k];
        EXPECT_EQ(level["level"], k + 1);
        EXPECT_DOUBLE_EQ(level["offset"].get<double>(), -(k + 1.0) * c.step);
        EXPECT_EQ(level["loops"], c.levels[k].loops) << "level " << k + 1;
        EXPECT_EQ(level["holes"], c.levels[k].holes) << "level " << k + 1;
        EXPECT_NEAR(level["area"].get<double>(), c.levels[k].area, 1e-9 * std::max(1.0, c.levels[k].area))
            << "level " << k + 1;
        loops += level["loops"].get<int>();
        spans += level["spans"].get<int>();
    }
    EXPECT_EQ(j["loops"], loops);
    EXPECT_EQ(j["spans"], spans);
    // OUT holds every level's loops in order: the first ones are those of level 1.
    const std::vector<double> areas = signed_areas(out);
    ASSERT_EQ(areas.size(), static_cast<std::size_t>(loops));
    if (!c.levels.empty() && c.levels[0].loops == 1) {
        EXPECT_NEAR(areas[0], c.levels[0].area, 1e-9 * c.levels[0].area);
    }
}

INSTANTIATE_TEST_SUITE_P(PocketCommand, PocketCases, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PocketCommand, TableSummaryAndPicture) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), svg = dir.file("out.svg");
    spit(in, records({square(0, 0, 10)}));
    const Outcome r = cli({"pocket", in, "1.5", "-o", out, "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "# level offset loops spans area\n"
                     "1 -1.5 1 4 49\n"
                     "2 -3 1 4 16\n"
                     "3 -4.5 1 4 1\n" +
                         in + ": pocket of 1 boundary with step 1.5: 3 levels, 3 loops, 12 spans\n");
    const std::string picture = slurp(svg);
    EXPECT_EQ(count(picture, "class=\"layer level\""), 3);
    EXPECT_EQ(count(picture, "class=\"layer input\""), 1);
    // Every level its own shade.
    std::set<std::string> shades;
    for (std::size_t at = picture.find("class=\"layer level\""); at != std::string::npos;
         at = picture.find("class=\"layer level\"", at + 1))
        shades.insert(picture.substr(picture.find("stroke=\"", at), 16));
    EXPECT_EQ(shades.size(), 3u);
}

} // namespace
