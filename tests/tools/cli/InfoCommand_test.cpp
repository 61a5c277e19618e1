#include "cliTestKit.h"

#include <random>

using namespace clitest;
using std::numbers::pi;

TEST(InfoCommand, JsonTellsCountsLengthAreaAndBox) {
    ScratchDir dir;
    const std::string f = dir.file("parts.txt");
    // A unit square and a circle of radius 1 (two half arcs) around (5, 0), both anticlockwise, and an open
    // L of length 2 at height 3.
    spit(f, records({square(0, 0), circle(5, 0, 1), {p(0, 2, 3), p(1, 2, 3), p(1, 3, 3)}}));
    const Outcome r = cli({"info", "--json", f});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(count(r.out, "\n"), 1);
    EXPECT_NE(r.out.find("{\"file\": \"" + f + "\", "), std::string::npos) << r.out;
    EXPECT_EQ(json_value(r.out, "polylines"), 3);
    EXPECT_EQ(json_value(r.out, "positions"), 5 + 3 + 3);
    EXPECT_EQ(json_value(r.out, "arc_spans"), 2);
    EXPECT_EQ(json_value(r.out, "closed"), 2);
    EXPECT_EQ(json_value(r.out, "open"), 1);
    EXPECT_NEAR(*json_value(r.out, "length"), 4.0 + 2.0 * pi + 2.0, 1e-12);
    EXPECT_NEAR(*json_value(r.out, "area"), 1.0 + pi, 1e-12);
    // The circle reaches x = 6 and y = -1 only through its arcs.
    EXPECT_NE(r.out.find("\"box\": [0, -1, 0, 6, 3, 3]}"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("error"), std::string::npos);
}

// Holes subtract: circles of random radii, some clockwise, scattered far from the origin; the sums follow
// the formulas, and reversing every polyline negates the area and keeps the length.
TEST(InfoCommand, AreaIsSignedAndSummedOverClosedPolylines) {
    ScratchDir dir;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> centre(-1e4, 1e4), radius(0.01, 50.0);
    for (int round = 0; round < 5; ++round) {
        std::vector<std::vector<std::string>> ccw, cw;
        double area = 0.0, length = 0.0;
        for (int k = 0; k < 20; ++k) {
            const double cx = centre(rng), cy = centre(rng), r = radius(rng);
            const bool hole = k % 3 == 0;
            ccw.push_back(circle(cx, cy, r, hole));
            cw.push_back(circle(cx, cy, r, !hole));
            area += (hole ? -1.0 : 1.0) * pi * r * r;
            length += 2.0 * pi * r;
        }
        const std::string f = dir.file("c.txt"), g = dir.file("r.txt");
        spit(f, records(ccw));
        spit(g, records(cw));
        const Outcome r = cli({"info", f, g, "--json"});
        ASSERT_EQ(r.code, 0) << r.err;
        const std::string first = r.out.substr(0, r.out.find('\n'));
        const std::string second = r.out.substr(r.out.find('\n') + 1);
        const double tol = 1e-9 * (std::abs(area) + 1e4);
        EXPECT_NEAR(*json_value(first, "area"), area, tol);
        EXPECT_NEAR(*json_value(second, "area"), -area, tol);
        EXPECT_NEAR(*json_value(first, "length"), length, 1e-9 * length);
        EXPECT_NEAR(*json_value(second, "length"), length, 1e-9 * length);
    }
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
    const Outcome j = cli({"info", "--json", e});
    EXPECT_NE(j.out.find("\"box\": null}"), std::string::npos) << j.out;
}

TEST(InfoCommand, FaultsGiveFileAndLineAndKeepWhatCameBefore) {
    ScratchDir dir;
    const std::string bad = dir.file("bad.txt"), good = dir.file("good.txt");
    // Line 8 breaks off the second polyline; the first (a square) is finished before it.
    spit(bad, "velGeometryIO 1\np 0 0 0\np 1 0 0\np 1 1 0\np 0 0 0\ns\np 5 5 0\na 1 2 oops 4 5 6\ns\ne");
    spit(good, records({square(0, 0)}));
    const Outcome r = cli({"info", "--json", bad, dir.file("missing.txt"), good});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, bad + ":8: 'a' record: number 3 of 6 is missing or malformed\n" +
                         dir.file("missing.txt") + ": cannot open: No such file or directory\n");
    // The bad file still reports its first polyline (with the error), the missing one nothing, the good one
    // all.
    ASSERT_EQ(count(r.out, "\n"), 2) << r.out;
    EXPECT_EQ(json_value(r.out, "polylines"), 1);
    EXPECT_NEAR(*json_value(r.out, "area"), 0.5, 1e-15);
    EXPECT_NE(r.out.find("\"error\": \"" + bad + ":8: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(good), std::string::npos);

    const Outcome text = cli({"info", bad});
    EXPECT_EQ(text.code, 2);
    EXPECT_NE(text.out.find("polylines  1 (1 closed, 0 open)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("only the polylines before the fault"), std::string::npos);

    // Other faults: a directory, a file that is no geometry, and a picture whose arc span is cut.
    const std::string pic = dir.file("pic.txt"), junk = dir.file("junk.txt");
    spit(pic, "picture 1\n2\n1 0 0\na 0 2 0 1\n2 0 0\nl 0 1 0\na 7 1 x -1\n");
    spit(junk, "hello world\n");
    struct Case {
        std::string path, err;
        int polylines;
    };
    for (const Case& c : {Case{dir.file(""), dir.file("") + ": is a directory\n", -1},
                          Case{junk, junk + ":1: not a geometry record file: header word 'hello'\n", 0},
                          Case{pic, pic + ":7: Readline failed to read arc span.\n", 2}}) {
        const Outcome f = cli({"info", "--json", c.path});
        EXPECT_EQ(f.code, 2);
        EXPECT_EQ(f.err, c.err);
        if (c.polylines < 0) {
            EXPECT_EQ(f.out, "");
        } else {
            EXPECT_EQ(json_value(f.out, "polylines"), c.polylines) << f.out;
        }
    }
}
