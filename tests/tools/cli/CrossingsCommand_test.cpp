#include "cliTestKit.h"

using namespace clitest;

namespace {

TEST(CrossingsCommand, TextJsonPictureAndBetween) {
    ScratchDir dir;
    // Two unit squares overlapping at a corner cross twice; a bow tie crosses itself once; an open segment
    // crosses the second square's left side and the bow tie's right half.
    const std::string f = put(dir, "shapes.txt",
                              {square(0, 0, 2),
                               square(1, 1, 2),
                               {p(4, 0), p(6, 2), p(6, 0), p(4, 2), p(4, 0)},
                               {p(0.5, 2.5), p(5.5, 2.5)}}),
                      svg = dir.file("x.svg");
    const Outcome text = cli({"crossings", f, "--svg", svg});
    ASSERT_EQ(text.code, 0) << text.err;
    // Two of the squares, one of the bow tie with itself, and the segment across the second square's two
    // upright sides.
    EXPECT_THAT(text.out, HasSubstr("\n5 crossings\n"));
    // A layer for the input and one for the marks.
    EXPECT_EQ(count(slurp(svg), "class=\"layer\""), 2);

    const Outcome js = cli({"crossings", "--json", f});
    ASSERT_EQ(js.code, 0) << js.err;
    const json j = json::parse(js.out);
    EXPECT_EQ(j["polylines"], 4);
    ASSERT_EQ(j["count"], 5);
    int self = 0;
    for (const json& c : j["crossings"]) {
        self += c["polyline1"] == c["polyline2"];
        // The point lies on both polylines' parameters: here on the span of each named by the parameter.
        EXPECT_GE(c["param1"].get<double>(), 0.0);
        EXPECT_EQ(c["point"].size(), 2u);
    }
    EXPECT_EQ(self, 1);
    const json bow = *std::find_if(j["crossings"].begin(), j["crossings"].end(),
                                   [](const json& c) { return c["polyline1"] == 2; });
    EXPECT_NEAR(bow["point"][0].get<double>(), 5.0, 1e-12);
    EXPECT_NEAR(bow["point"][1].get<double>(), 1.0, 1e-12);

    // Only between the squares [0, 1) and the rest [1, 4): the two corner crossings.
    const json between = json::parse(cli({"crossings", "--json", "--between", "1", f}).out);
    ASSERT_EQ(between["count"], 2);
    for (const json& c : between["crossings"]) {
        EXPECT_EQ(c["polyline1"], 0);
        EXPECT_EQ(c["polyline2"], 1);
    }
}

} // namespace
