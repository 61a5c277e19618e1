#include "cliTestKit.h"

using namespace clitest;

namespace {

// Concentric squares in `order` (0 largest), with the given orientations.
std::string squares(const std::vector<int>& order, const std::vector<bool>& clockwise) {
    std::vector<std::vector<std::string>> polylines;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const double d = 2.0 * order[i];
        polylines.push_back(square(d, d, 20.0 - 2.0 * d, clockwise[i]));
    }
    return records(polylines);
}

TEST(OrientCommand, RandomNestsOrientedByDepth) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coin(0, 1), levels(1, 4);
    for (int round = 0; round < 25; ++round) {
        const int n = levels(rng);
        std::vector<int> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        std::vector<bool> clockwise;
        int wrong = 0;
        for (int level : order) {
            clockwise.push_back(coin(rng) == 1);
            // Depth level + 1: odd depths anticlockwise.
            wrong += clockwise.back() != (level % 2 == 1);
        }
        ScratchDir dir;
        const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
        spit(in, squares(order, clockwise));
        const Outcome r = cli({"orient", in, "-o", out});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, in + ": " + std::to_string(n) + (n == 1 ? " polyline, " : " polylines, ") +
                             std::to_string(wrong) + " reversed\n");
        // OUT: the same squares in the same order, each signed by its depth.
        const std::vector<double> areas = signed_areas(out);
        ASSERT_EQ(static_cast<int>(areas.size()), n);
        for (std::size_t i = 0; i < areas.size(); ++i) {
            const double side = 20.0 - 4.0 * order[i];
            EXPECT_DOUBLE_EQ(areas[i], (order[i] % 2 == 0 ? 1.0 : -1.0) * side * side) << "round " << round;
        }
        // Orienting again changes nothing.
        const Outcome again = cli({"orient", out, "-o", dir.file("again.txt")});
        EXPECT_EQ(again.out, out + ": " + std::to_string(n) + (n == 1 ? " polyline, " : " polylines, ") +
                                 "0 reversed\n");
    }
}

TEST(OrientCommand, CrossingPolylinesAreCutAndRejoined) {
    ScratchDir dir;
    const std::string in = dir.file("overlap.txt"), out = dir.file("out.txt");
    // Two overlapping squares, the second clockwise: cut into the loops that switch curves at the crossings.
    spit(in, records({square(0, 0, 10), square(5, 5, 10, true)}));
    const Outcome r = cli({"orient", in, "-o", out});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<double> areas = signed_areas(out);
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(r.out, in + ": 2 polylines, crossing; cut and rejoined into " + std::to_string(areas.size()) +
                         " loops, oriented by depth\n");
    // No loop of the result crosses another or itself.
    const json x = json::parse(cli({"crossings", "--json", out}).out);
    for (const json& c : x["crossings"])
        EXPECT_NE(c["polyline1"], c["polyline2"]);
    // Outer loops anticlockwise: the loops nest no deeper than holes in the outline.
    const json tree = json::parse(cli({"nest", "--json", out}).out);
    for (const json& root : tree["roots"])
        EXPECT_GT(root["area"].get<double>(), 0.0);
}

} // namespace
