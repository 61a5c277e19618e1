// What every geometry command shares: faults of arguments and input (exit code 2, a message naming the
// argument or file:line, OUT not written), OUT on standard output, and the debug channel options.

#include "cliTestKit.h"

using namespace clitest;

namespace {

TEST(Commands, FaultsNameTheArgumentOrTheFileAndWriteNothing) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), open = dir.file("open.txt");
    const std::string nan = data("nan_coordinate.txt"), missing = dir.file("missing.txt");
    spit(in, records({square(0, 0, 10)}));
    spit(open, records({square(0, 0, 10), {p(0, 0), p(5, 5)}, {p(1, 1), p(2, 1)}}));
    struct Bad {
        Bad(std::vector<std::string> a, std::string n, std::string l = {})
            : args(std::move(a)), names(std::move(n)), last(std::move(l)) {}
        std::vector<std::string> args;
        std::string names; // what the first message must hold
        std::string last;  // the last message, when it is checked
    };
    const std::string not_written = out + " not written";
    const std::vector<Bad> bad = {
        {{"offset", in, "nan", "-o", out}, "DIST"},
        {{"offset", in, "1e200", "-o", out}, "DIST"},
        {{"offset", in, "--raw", "-o", out}, "DIST"},
        {{"offset", in, "1", "--chamfer", "-1", "-o", out}, "--chamfer"},
        {{"offset", in, "1"}, "--output"},
        {{"offset", in, "1", "-o", "-", "--svg", "-"}, "--svg"},
        {{"offset", in, "1", "-o", "-", "--json"}, "--json"},
        {{"offset", in, "1", "--raw", "--each", "-o", out}, "--each"},
        // Open polylines bound no region: the first is named, with how many more.
        {{"offset", open, "1", "-o", out}, "polyline 1 is open (its ends lie 7.07"},
        {{"offset", open, "1", "-o", out}, "and 1 more"},
        {{"offset", data("huge_coordinates.txt"), "1", "-o", out}, "huge_coordinates.txt: coordinates reach"},
        {{"offset", nan, "1", "-o", out}, "nan_coordinate.txt:6: "},
        {{"offset", missing, "1", "-o", out}, "missing.txt"},
        {{"pocket", in, "0", "-o", out}, "STEP"},
        {{"pocket", in, "one", "-o", out}, "STEP"},
        {{"pocket", in, "1e-6", "-o", out}, "at most 100000"}, // 5e6 levels
        {{"pocket", open, "1", "-o", out}, "polyline 1 is open"},
        {{"pocket", in, "1", "-o", "-", "--json"}, "--json"},
        {{"boolean", "sum", in, in, "-o", out}, "sum"},
        {{"boolean", "union", nan, in, "-o", out}, nan + ":6: ", "arcline boolean: " + not_written},
        {{"boolean", "union", in, nan, "-o", out}, nan + ":6: ", "arcline boolean: " + not_written},
        {{"boolean", "union", in, missing, "-o", out}, missing + ": "},
        {{"boolean", "xor", in, in, "-o", "-", "--json"}, "OUT and --json cannot both be standard output"},
        {{"sort", nan, "-o", out}, nan + ":6: ", "arcline sort: " + not_written},
        {{"sort", missing, "-o", out}, missing + ": "},
        {{"sort", in, "-o", "-", "--json"}, "arcline sort: OUT and --json cannot both be standard output"},
        {{"orient", data("inf_coordinate.txt"), "-o", out},
         "inf_coordinate.txt:6: ",
         "arcline orient: " + not_written},
        {{"nest", "--json", data("unknown_record.txt")}, "unknown_record.txt:5: unknown record 'q'"},
        {{"crossings", "--between", "9", in}, "--between"},
        {{"crossings", nan}, nan + ":6: "},
        {{"crossings", missing}, missing + ": "},
    };
    for (const Bad& b : bad) {
        const Outcome r = cli(b.args);
        SCOPED_TRACE(b.args[0] + " " + b.args[1]);
        EXPECT_EQ(r.code, 2);
        const std::vector<std::string> m = r.messages();
        ASSERT_FALSE(m.empty());
        EXPECT_NE(m[0].find(b.names), std::string::npos) << r.err;
        if (!b.last.empty()) {
            EXPECT_EQ(m.back(), b.last);
            EXPECT_EQ(std::count(m.begin(), m.end(), b.last), 1);
        }
        EXPECT_FALSE(fs::exists(out));
        if (b.args[0] == "nest") {
            EXPECT_EQ(r.out, "");
        }
    }
    // A fault in the input leaves an existing OUT as it was.
    spit(out, "old");
    EXPECT_EQ(cli({"offset", open, "1", "-o", out}).code, 2);
    EXPECT_EQ(slurp(out), "old");
}

// OUT as "-": the records go to standard output, the summary to the error stream after the command's name.
TEST(Commands, StandardOutputTakesTheRecords) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), b = dir.file("b.txt");
    spit(in, records({square(0, 0, 10), square(2, 2, 6)}));
    spit(b, records({square(5, 5, 10)}));
    const std::vector<std::vector<std::string>> runs = {{"offset", in, "1", "--each"},
                                                        {"offset", in, "1", "--raw"},
                                                        {"pocket", in, "0.5"},
                                                        {"boolean", "intersection", in, b},
                                                        {"sort", in},
                                                        {"orient", in}};
    for (std::vector<std::string> args : runs) {
        args.insert(args.end(), {"-o", "-"});
        const Outcome r = cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out.rfind("velGeometryIO 1\n", 0), 0u) << args[0];
        EXPECT_EQ(r.err.rfind("arcline " + args[0] + ": ", 0), 0u) << r.err;
        EXPECT_GT(info_json({"-"}, r.out)[0]["closed"].get<int>(), 0) << args[0];
    }
    EXPECT_EQ(cli({"orient", in, "-o", "-"}).err, "arcline orient: " + in + ": 2 polylines, 1 reversed\n");
}

// The commands that sort take --debug and --debug-out: the sorter's channel writes a document that
// cdg2svg draws.
TEST(Commands, DebugChannelWritesADocument) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), cdg = dir.file("x.cdg");
    spit(a, records({square(0, 0, 10), square(2, 2, 6)}));
    spit(b, records({square(5, 5, 10)}));
    const std::vector<std::vector<std::string>> runs = {
        {"orient", a, "-o", dir.file("out.txt")},
        {"boolean", "difference", a, b, "-o", dir.file("out.txt")},
        {"sort", a, "-o", dir.file("out.txt")},
        {"nest", a}};
    for (std::vector<std::string> args : runs) {
        fs::remove(cdg);
        args.insert(args.end(), {"--debug", "arclinesorter=2", "--debug-out", cdg});
        const Outcome r = cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(slurp(cdg).rfind("CDG1", 0), 0u) << args[0];
        EXPECT_NE(r.err.find("arcline " + args[0] + ": debug geometry: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(" written to " + cdg), std::string::npos) << r.err;
        EXPECT_EQ(cli({"cdg2svg", cdg, "-o", dir.file("x.svg")}).code, 0) << args[0];
    }
}

} // namespace
