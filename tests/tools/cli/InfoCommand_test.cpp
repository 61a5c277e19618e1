#include "cliTestKit.h"

using namespace clitest;
using std::numbers::pi;

// One JSON document even when files fail: counts, length, area and the box of what was read; an unreadable
// file has only "file" and "error", a file with a fault reports what came before it. The text report says
// the same in lines.
TEST(InfoCommand, ReportsWhatWasReadAndTheFaults) {
    ScratchDir dir;
    // A unit square and a circle of radius 1 (two half arcs) around (5, 0), both anticlockwise, an open
    // L of length 2 at height 3, and an empty polyline.
    const std::string f =
        put(dir, "parts.txt", {square(0, 0), circle(5, 0, 1), {p(0, 2, 3), p(1, 2, 3), p(1, 3, 3)}, {}});
    const std::string bad = dir.file("bad.txt"), missing = dir.file("missing.txt"),
                      e = put(dir, "empty.txt", {});
    // Line 8 breaks off the second polyline; the first (a triangle) is finished before it.
    spit(bad, "velGeometryIO 1\np 0 0 0\np 1 0 0\np 1 1 0\np 0 0 0\ns\np 5 5 0\na 1 2 oops 4 5 6\ns\ne");
    const std::string fault = bad + ":8: 'a' record: number 3 of 6 is missing or malformed",
                      cannot = missing + ": cannot open: No such file or directory";
    const Outcome r = cli({"info", "--json", f, bad, missing});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.messages(), (std::vector<std::string>{f + ":16: warning: empty polyline: an 's' record "
                                                          "without positions before it",
                                                      fault, cannot}));
    const json j = json::parse(r.out);
    ASSERT_EQ(j.size(), 3u);
    const json& o = j[0];
    EXPECT_EQ((json{o["file"], o["format"], o["polylines"], o["positions"], o["arc_spans"], o["closed"],
                    o["open"], o["empty"], o["warnings"]}),
              (json{f, "records", 4, 5 + 3 + 3, 2, 2, 1, 1, 1}));
    EXPECT_NEAR(o["length"].get<double>(), 4.0 + 2.0 * pi + 2.0, 1e-12);
    EXPECT_NEAR(o["area"].get<double>(), 1.0 + pi, 1e-12);
    // The circle reaches x = 6 and y = -1 only through its arcs.
    EXPECT_EQ(o["box"], json::array({0, -1, 0, 6, 3, 3}));
    EXPECT_FALSE(o.contains("error"));
    EXPECT_EQ(j[1]["polylines"], 1);
    EXPECT_NEAR(j[1]["area"].get<double>(), 0.5, 1e-15);
    EXPECT_EQ(j[1]["error"], fault);
    EXPECT_EQ(j[2], (json{{"file", missing}, {"error", cannot}}));
    EXPECT_TRUE(info_json({e})[0]["box"].is_null());

    const Outcome text = cli({"info", bad, e});
    EXPECT_EQ(text.code, 2);
    for (const std::string& line :
         {bad + ":\n  polylines  1 (1 closed, 0 open)\n", std::string("\n  area       0.5 "),
          std::string("  box        (0, 0, 0) .. (1, 1, 0)\n"),
          std::string("only the polylines before the fault"), e + ":\n  polylines  0 (0 closed, 0 open)\n",
          std::string("  box        empty\n")})
        EXPECT_THAT(text.out, HasSubstr(line));
}

// Coordinates near the largest double are finite input: sums that overflow are null in JSON, the box is
// exact. A file name that is not UTF-8 still makes valid JSON (the bad bytes become U+FFFD).
TEST(InfoCommand, HugeCoordinatesAndNamesThatAreNotUtf8) {
    const json j = info_json({data("huge_coordinates.txt")});
    EXPECT_EQ(j[0]["positions"], 5);
    EXPECT_TRUE(j[0]["length"].is_null());
    EXPECT_EQ(j[0]["box"][3].get<double>(), 1.7e308);
    ScratchDir dir;
    const Outcome r = cli({"info", "--json", put(dir, "caf\xe9-\xff.txt", {square(0, 0)})});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(valid_utf8(r.out));
    EXPECT_EQ(json::parse(r.out)[0]["file"], dir.file("caf\xef\xbf\xbd-\xef\xbf\xbd.txt"));
}
