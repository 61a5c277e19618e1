#include "cliTestKit.h"

using namespace clitest;

namespace {

// The tree by containment, not by order or orientation, as indented text and as JSON.
TEST(NestCommand, IndentedTextAndJsonTree) {
    ScratchDir dir;
    // The largest square last and the middle one clockwise: the tree is by containment.
    const std::string f =
        put(dir, "squares.txt", {square(4, 4, 2), square(2, 2, 6, true), square(0, 0, 10), square(20, 0, 1)});
    const Outcome r = cli({"nest", f});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "# polyline area outer|hole, indented by depth\n"
                     "2 100 outer\n"
                     "  1 -36 hole\n"
                     "    0 4 outer\n"
                     "3 1 outer\n");
    EXPECT_EQ(r.err, "");
    const json j = json::parse(cli({"nest", "--json", f}).out);
    EXPECT_EQ(j["polylines"], 4);
    ASSERT_EQ(j["roots"].size(), 2u);
    const json& hole = j["roots"][0]["children"].at(0);
    EXPECT_EQ(j["roots"][0]["kind"], "outer");
    EXPECT_EQ((json{hole["polyline"], hole["depth"], hole["kind"]}), (json{1, 2, "hole"}));
    EXPECT_DOUBLE_EQ(hole["area"].get<double>(), -36);
    EXPECT_EQ(hole["children"].at(0)["polyline"], 0);
    EXPECT_EQ(j["roots"][1]["children"].size(), 0u);

    // Polylines that cross warn.
    const std::string o = put(dir, "overlap.txt", {square(0, 0, 10), square(5, 5, 10)});
    const Outcome c = cli({"nest", o});
    EXPECT_EQ(c.code, 0);
    EXPECT_EQ(c.err, o + ": warning: the polylines cross; where they do their nesting is not well defined\n");
}

} // namespace
