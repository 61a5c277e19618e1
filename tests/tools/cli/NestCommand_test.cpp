#include "cliTestKit.h"

using namespace clitest;

namespace {

// Every node of the JSON tree: its kind by depth, and its depth and parent recorded per polyline (0 and -2:
// not in the tree).
void walk(const json& nodes, int depth, int parent, std::vector<int>& depth_of, std::vector<int>& parent_of) {
    for (const json& node : nodes) {
        const std::size_t k = node["polyline"];
        ASSERT_LT(k, depth_of.size());
        EXPECT_EQ(depth_of[k], 0) << "polyline " << k << " twice in the tree";
        depth_of[k] = depth;
        parent_of[k] = parent;
        EXPECT_EQ(node["depth"], depth);
        EXPECT_EQ(node["kind"], depth % 2 == 1 ? "outer" : "hole");
        walk(node["children"], depth + 1, static_cast<int>(k), depth_of, parent_of);
    }
}

// Towers of concentric squares side by side, shuffled and randomly oriented: the tree follows how they were
// built (a square's parent is the next larger one of its tower), and the areas are the polylines' own.
TEST(NestCommand, RandomTowersNestByGeometryNotOrientation) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> n_towers(1, 4), levels(1, 4), coin(0, 1);
    for (int round = 0; round < 25; ++round) {
        std::vector<std::pair<int, std::vector<std::string>>> squares; // depth, records
        const int towers = n_towers(rng);
        for (int k = 0; k < towers; ++k)
            for (int d = 1, n = levels(rng); d <= n; ++d)
                squares.push_back({d, square(30.0 * k + 2.0 * d, 2.0 * d, 20.0 - 4.0 * d, coin(rng) == 1)});
        std::shuffle(squares.begin(), squares.end(), rng);
        std::vector<std::vector<std::string>> polylines;
        for (const auto& sq : squares)
            polylines.push_back(sq.second);
        ScratchDir dir;
        const std::string f = dir.file("towers.txt");
        spit(f, records(polylines));
        const Outcome r = cli({"nest", "--json", f});
        ASSERT_EQ(r.code, 0) << r.err;
        const json j = json::parse(r.out);
        const std::size_t n = squares.size();
        ASSERT_EQ(j["polylines"], n);
        EXPECT_EQ(j["roots"].size(), static_cast<std::size_t>(towers));
        std::vector<int> depth_of(n, 0), parent_of(n, -2);
        walk(j["roots"], 1, -1, depth_of, parent_of);
        for (std::size_t k = 0; k < n; ++k) {
            EXPECT_EQ(depth_of[k], squares[k].first) << "round " << round << ", polyline " << k;
            if (parent_of[k] >= 0) {
                EXPECT_EQ(squares[static_cast<std::size_t>(parent_of[k])].first, squares[k].first - 1);
            }
        }
        const std::vector<double> areas = signed_areas(f);
        for (const json& root : j["roots"])
            EXPECT_DOUBLE_EQ(root["area"].get<double>(), areas[root["polyline"].get<std::size_t>()]);
    }
}

TEST(NestCommand, IndentedText) {
    ScratchDir dir;
    const std::string f = dir.file("squares.txt");
    // The largest square last and the middle one clockwise: the tree is by containment.
    spit(f, records({square(4, 4, 2), square(2, 2, 6, true), square(0, 0, 10), square(20, 0, 1)}));
    const Outcome r = cli({"nest", f});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "# polyline area outer|hole, indented by depth\n"
                     "2 100 outer\n"
                     "  1 -36 hole\n"
                     "    0 4 outer\n"
                     "3 1 outer\n");
    EXPECT_EQ(r.err, "");
}

TEST(NestCommand, CrossingPolylinesWarn) {
    ScratchDir dir;
    const std::string f = dir.file("overlap.txt");
    spit(f, records({square(0, 0, 10), square(5, 5, 10)}));
    const Outcome r = cli({"nest", f});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, f + ": warning: the polylines cross; where they do their nesting is not well defined\n");
}

} // namespace
