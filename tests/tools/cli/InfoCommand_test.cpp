#include "cliTestKit.h"

using namespace clitest;
using std::numbers::pi;

TEST(InfoCommand, JsonTellsCountsLengthAreaAndBox) {
    ScratchDir dir;
    const std::string f = dir.file("parts.txt");
    // A unit square and a circle of radius 1 (two half arcs) around (5, 0), both anticlockwise, an open
    // L of length 2 at height 3, and an empty polyline.
    spit(f, records({square(0, 0), circle(5, 0, 1), {p(0, 2, 3), p(1, 2, 3), p(1, 3, 3)}, {}}));
    const Outcome r = cli({"info", "--json", f});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.messages(),
              std::vector<std::string>{f + ":16: warning: empty polyline: an 's' record without "
                                           "positions before it"});
    const json j = json::parse(r.out);
    ASSERT_EQ(j.size(), 1u);
    const json& o = j[0];
    EXPECT_EQ(o["file"], f);
    EXPECT_EQ(o["format"], "records");
    EXPECT_EQ(o["polylines"], 4);
    EXPECT_EQ(o["positions"], 5 + 3 + 3);
    EXPECT_EQ(o["arc_spans"], 2);
    EXPECT_EQ(o["closed"], 2);
    EXPECT_EQ(o["open"], 1);
    EXPECT_EQ(o["empty"], 1);
    EXPECT_NEAR(o["length"].get<double>(), 4.0 + 2.0 * pi + 2.0, 1e-12);
    EXPECT_NEAR(o["area"].get<double>(), 1.0 + pi, 1e-12);
    // The circle reaches x = 6 and y = -1 only through its arcs.
    EXPECT_EQ(o["box"], json::array({0, -1, 0, 6, 3, 3}));
    EXPECT_EQ(o["warnings"], 1);
    EXPECT_FALSE(o.contains("error"));
}

TEST(InfoCommand, TextReportAndEmptyFile) {
    ScratchDir dir;
    const std::string f = dir.file("sq.txt"), e = dir.file("empty.txt");
    spit(f, records({square(0, 0, 2, true)}));
    spit(e, records({}));
    const Outcome r = cli({"info", f, e});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(f + ":\n  polylines  1 (1 closed, 0 open)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  length     8\n  area       -4 "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  box        (0, 0, 0) .. (2, 2, 0)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(e + ":\n  polylines  0 (0 closed, 0 open)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  box        empty\n"), std::string::npos) << r.out;
    EXPECT_TRUE(info_json({e})[0]["box"].is_null());
}

// One JSON document even when files fail: an unreadable file has only "file" and "error", a file with a
// fault reports what came before it.
TEST(InfoCommand, FaultsKeepWhatCameBefore) {
    ScratchDir dir;
    const std::string bad = dir.file("bad.txt"), good = dir.file("good.txt"),
                      missing = dir.file("missing.txt");
    // Line 8 breaks off the second polyline; the first (a square) is finished before it.
    spit(bad, "velGeometryIO 1\np 0 0 0\np 1 0 0\np 1 1 0\np 0 0 0\ns\np 5 5 0\na 1 2 oops 4 5 6\ns\ne");
    spit(good, records({square(0, 0)}));
    const Outcome r = cli({"info", "--json", bad, missing, good});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.messages(),
              (std::vector<std::string>{bad + ":8: 'a' record: number 3 of 6 is missing or malformed",
                                        missing + ": cannot open: No such file or directory"}));
    const json j = json::parse(r.out);
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j[0]["polylines"], 1);
    EXPECT_NEAR(j[0]["area"].get<double>(), 0.5, 1e-15);
    EXPECT_EQ(j[0]["error"], bad + ":8: 'a' record: number 3 of 6 is missing or malformed");
    EXPECT_EQ(j[1],
              (json{{"file", missing}, {"error", missing + ": cannot open: No such file or directory"}}));
    EXPECT_EQ(j[2]["polylines"], 1);

    const Outcome text = cli({"info", bad});
    EXPECT_EQ(text.code, 2);
    EXPECT_NE(text.out.find("polylines  1 (1 closed, 0 open)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("only the polylines before the fault"), std::string::npos);
}

// Coordinates near the largest double are finite input: sums that overflow are null in JSON, the box is
// exact. A file name that is not UTF-8 still makes valid JSON (the bad bytes become U+FFFD).
TEST(InfoCommand, HugeCoordinatesAndNamesThatAreNotUtf8) {
    const json j = info_json({data("huge_coordinates.txt")});
    EXPECT_EQ(j[0]["positions"], 5);
    EXPECT_TRUE(j[0]["length"].is_null());
    EXPECT_EQ(j[0]["box"][3].get<double>(), 1.7e308);
    ScratchDir dir;
    const std::string f = dir.file("caf\xe9-\xff.txt");
    spit(f, records({square(0, 0)}));
    const Outcome r = cli({"info", "--json", f});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(valid_utf8(r.out));
    EXPECT_EQ(json::parse(r.out)[0]["file"], dir.file("caf\xef\xbf\xbd-\xef\xbf\xbd.txt"));
}
