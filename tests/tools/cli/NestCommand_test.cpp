#include "cliTestKit.h"

using namespace clitest;

namespace {

// Towers of concentric squares side by side, in shuffled order and with random orientations: the nesting
// is known from how they were built.
struct Towers {
    std::string file;
    std::vector<int> depth;      // per polyline of the file, from 1
    std::vector<bool> clockwise; // per polyline
    int towers = 0;
};

Towers random_towers(std::mt19937& rng) {
    std::uniform_int_distribution<int> n_towers(1, 4), levels(1, 4), coin(0, 1);
    struct Square {
        double x, y, side;
        int depth;
        bool clockwise;
    };
    std::vector<Square> squares;
    Towers t;
    t.towers = n_towers(rng);
    for (int k = 0; k < t.towers; ++k)
        for (int d = 1, n = levels(rng); d <= n; ++d)
            squares.push_back({30.0 * k + 2.0 * d, 2.0 * d, 20.0 - 4.0 * d, d, coin(rng) == 1});
    std::shuffle(squares.begin(), squares.end(), rng);
    std::vector<std::vector<std::string>> polylines;
    for (const Square& s : squares) {
        polylines.push_back(square(s.x, s.y, s.side, s.clockwise));
        t.depth.push_back(s.depth);
        t.clockwise.push_back(s.clockwise);
    }
    t.file = records(polylines);
    return t;
}

// Every node of the JSON tree: its depth (checked against the key) and parent recorded per polyline.
void walk(const json& nodes, int depth, int parent, std::vector<int>& depth_of, std::vector<int>& parent_of) {
    for (const json& node : nodes) {
        const int k = node["polyline"];
        ASSERT_GE(k, 0);
        ASSERT_LT(k, static_cast<int>(depth_of.size()));
        EXPECT_EQ(depth_of[static_cast<std::size_t>(k)], 0) << "polyline " << k << " twice in the tree";
        depth_of[static_cast<std::size_t>(k)] = depth;
        parent_of[static_cast<std::size_t>(k)] = parent;
        EXPECT_EQ(node["depth"], depth);
        EXPECT_EQ(node["kind"], depth % 2 == 1 ? "outer" : "hole");
        walk(node["children"], depth + 1, k, depth_of, parent_of);
    }
}

TEST(NestCommand, RandomTowersNestByGeometryNotOrientation) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 25; ++round) {
        const Towers t = random_towers(rng);
        ScratchDir dir;
        const std::string f = dir.file("towers.txt");
        spit(f, t.file);
        const Outcome r = cli({"nest", "--json", f});
        ASSERT_EQ(r.code, 0) << r.err;
        const json j = json::parse(r.out);
        const std::size_t n = t.depth.size();
        ASSERT_EQ(j["polylines"], n);
        EXPECT_EQ(j["roots"].size(), static_cast<std::size_t>(t.towers));
        std::vector<int> depth_of(n, 0), parent_of(n, -2);
        walk(j["roots"], 1, -1, depth_of, parent_of);
        for (std::size_t k = 0; k < n; ++k) {
            EXPECT_EQ(depth_of[k], t.depth[k]) << "round " << round << ", polyline " << k;
            // A square's parent is the next larger one of its tower: one level up.
            if (parent_of[k] >= 0) {
                EXPECT_EQ(t.depth[static_cast<std::size_t>(parent_of[k])], t.depth[k] - 1);
            }
        }
        // The signed areas are the polylines' own.
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

TEST(NestCommand, BadFile) {
    const Outcome bad = cli({"nest", "--json", data("unknown_record.txt")});
    EXPECT_EQ(bad.code, 2);
    const std::vector<std::string> m = bad.messages();
    ASSERT_EQ(m.size(), 1u) << bad.err;
    EXPECT_EQ(m[0].rfind(data("unknown_record.txt") + ":", 0), 0u) << bad.err;
    EXPECT_EQ(bad.out, "");
}

TEST(NestCommand, DebugOptionsTaken) {
    ScratchDir dir;
    const std::string f = dir.file("squares.txt"), cdg = dir.file("x.cdg");
    spit(f, records({square(0, 0, 10), square(2, 2, 6), square(20, 0, 1)}));
    const Outcome r = cli({"nest", f, "--debug", "arclinesorter=2", "--debug-out", cdg});
    ASSERT_EQ(r.code, 0) << r.err;
    // The containment is found on the sorter's tree, which the channel draws.
    EXPECT_EQ(slurp(cdg).rfind("CDG1", 0), 0u) << r.err;
}

} // namespace
