// What every geometry command shares: faults of arguments and input (exit code 2, a message naming the
// argument or file:line, OUT not written), OUT on standard output, the debug channel options, and OUT read
// back with the properties of the library's result (one table over the commands and their options).

#include "cliTestKit.h"

#include <set>

using namespace clitest;

namespace {

TEST(Commands, FaultsNameTheArgumentOrTheFileAndWriteNothing) {
    ScratchDir dir;
    const std::string in = put(dir, "in.txt", {square(0, 0, 10)}), out = dir.file("out.txt");
    const std::string open = put(dir, "open.txt", {square(0, 0, 10), {p(0, 0), p(5, 5)}, {p(1, 1), p(2, 1)}});
    const std::string nan = data("nan_coordinate.txt"), missing = dir.file("missing.txt");
    struct Bad {
        std::vector<std::string> args;
        std::string names, last = {}; // what the first message must hold; the last message, when checked
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
        EXPECT_THAT(m[0], HasSubstr(b.names));
        EXPECT_TRUE(b.last.empty() || (m.back() == b.last && std::count(m.begin(), m.end(), b.last) == 1))
            << r.err;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_TRUE(r.out.empty() || b.args[0] == "crossings") << r.out; // crossings tells what came before
    }
    // A fault in the input leaves an existing OUT as it was.
    spit(out, "old");
    EXPECT_EQ(cli({"offset", open, "1", "-o", out}).code, 2);
    EXPECT_EQ(slurp(out), "old");
}

// OUT as "-": the records go to standard output, the summary to the error stream after the command's name.
// The commands that sort take --debug and --debug-out: the sorter's channel writes a document that cdg2svg
// draws.
TEST(Commands, StandardOutputTakesTheRecordsAndTheDebugChannelWritesADocument) {
    ScratchDir dir;
    const std::string in = put(dir, "in.txt", {square(0, 0, 10), square(2, 2, 6)}), cdg = dir.file("x.cdg");
    const std::string b = put(dir, "b.txt", {square(5, 5, 10)});
    const std::vector<std::vector<std::string>> runs = {{"offset", in, "1", "--each"},
                                                        {"offset", in, "1", "--raw"},
                                                        {"pocket", in, "0.5"},
                                                        {"boolean", "intersection", in, b},
                                                        {"sort", in},
                                                        {"orient", in},
                                                        {"boolean", "difference", in, b}};
    for (std::vector<std::string> args : runs) {
        args.insert(args.end(), {"-o", "-"});
        const Outcome r = cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_THAT(r.out, StartsWith("velGeometryIO 1\n"));
        EXPECT_THAT(r.err, StartsWith("arcline " + args[0] + ": "));
        EXPECT_GT(info_json({"-"}, r.out)[0]["closed"].get<int>(), 0) << args[0];
        if (args[0] != "orient" && args[0] != "boolean" && args[0] != "sort") continue;
        fs::remove(cdg);
        args.insert(args.end(), {"--debug", "arclinesorter=2", "--debug-out", cdg});
        const Outcome d = cli(args);
        ASSERT_EQ(d.code, 0) << d.err;
        EXPECT_THAT(slurp(cdg), StartsWith("CDG1"));
        EXPECT_THAT(d.err, HasSubstr("arcline " + args[0] + ": debug geometry: "));
        EXPECT_THAT(d.err, HasSubstr(" written to " + cdg));
        EXPECT_EQ(cli({"cdg2svg", cdg, "-o", dir.file("x.svg")}).code, 0) << args[0];
    }
    fs::remove(cdg);
    EXPECT_EQ(cli({"nest", in, "--debug", "arclinesorter=2", "--debug-out", cdg}).code, 0);
    EXPECT_THAT(slurp(cdg), StartsWith("CDG1"));
    EXPECT_EQ(cli({"orient", in, "-o", "-"}).err, "arcline orient: " + in + ": 2 polylines, 1 reversed\n");
    spit(b, records({square(0, 0, 10), square(5, 5, 10, true)}));
    EXPECT_EQ(cli({"orient", b, "-o", "-"}).err,
              "arcline orient: " + b +
                  ": 2 polylines, crossing; cut and rejoined into 2 loops, oriented by depth\n");
    // Both regions from standard input: the same bytes twice, so A xor A is empty.
    const Outcome same = cli({"boolean", "xor", "-", "-", "-o", dir.file("x.txt"), "--json"}, slurp(b));
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(json::parse(same.out)["loops"], 0);
}

// One command run: "A" and "B" in `args` name the input files, "-o OUT" is added. OUT read back has
// `polylines` polylines, area and length (NaN: not checked); when `holes` >= 0 they are closed loops,
// anticlockwise outer boundaries and clockwise holes that do not cross themselves.
struct CommandRun {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::vector<std::string>> a, b;
    int polylines, holes;
    double area, length;
};

const double pi = std::numbers::pi, r2 = std::sqrt(2.0), nan = std::nan("");
// Two unit circles whose centres lie 1 apart share a lens of area 2 pi / 3 - sqrt(3) / 2.
const double lens = 2.0 * pi / 3.0 - std::sqrt(3.0) / 2.0;
const std::vector<std::string> sq10 = square(0, 0, 10),
                               bow_tie = {p(0, 0), p(6, 6), p(6, 0), p(0, 6), p(0, 0)};
const std::vector<std::vector<std::string>> nested = {sq10, square(2, 2, 6), square(4, 4, 2)},
                                            overlap = {sq10, square(5, 5, 10, true)};
// clang-format off
const CommandRun runs[] = {
    // Raw offsets of a square of side 10 by 4: quarter circles at the corners, sharp corners, a chamfer at 5
    // from each input corner (sharp corners lie at 4 sqrt 2) cutting a right isosceles triangle off each.
    {"offset_raw_rounded", {"offset", "A", "4", "--raw"}, {sq10}, {}, 1, -1, 260 + 16 * pi, 40 + 8 * pi},
    {"offset_raw_sharp", {"offset", "A", "4", "--raw", "--extend"}, {sq10}, {}, 1, -1, 324, 72},
    {"offset_raw_chamfered", {"offset", "A", "4", "--raw", "--chamfer", "5"}, {sq10}, {}, 1, -1, 324 - 2 * std::pow(r2 * (4 * r2 - 5), 2), 72 - 4 * (2 - r2) * r2 * (4 * r2 - 5)},
    // A hole shrinks to side 2, a smaller one vanishes; an open polyline keeps its temporary spans.
    {"offset_raw_hole_shrinks", {"offset", "A", "4", "--raw"}, {square(0, 0, 10, true), square(20, 0, 3, true)}, {}, 1, -1, -4, 8},
    {"offset_raw_temporary_spans", {"offset", "A", "5", "--raw"}, {collapsing_arc(), {p(7, 7)}}, {}, 1, -1, 0, nan},
    // Regions are oriented by nesting first; a hole grows with rounded corners; two squares 1 apart merge.
    {"offset_region_grows", {"offset", "A", "1"}, {square(0, 0, 10, true)}, {}, 1, 0, 144 - 4 + pi, 40 + 2 * pi},
    {"offset_region_sharp", {"offset", "A", "1", "--sharp"}, {sq10}, {}, 1, 0, 144, 48},
    {"offset_region_chamfer", {"offset", "A", "1", "--chamfer", "1.2"}, {sq10}, {}, 1, 0, 144 - 4 * (r2 - 1.2) * (r2 - 1.2), nan},
    {"offset_region_hole_grows", {"offset", "A", "-1"}, {sq10, square(3, 3, 4)}, {}, 2, 1, 64 - (36 - 4 + pi), nan},
    {"offset_region_merges", {"offset", "A", "1"}, {square(0, 0, 4), square(5, 0, 4)}, {}, 1, 0, nan, nan},
    // Each polyline on its own: a clockwise loop keeps its orientation, overlapping ones do not merge, an
    // open line gives the run on the side the sign picks.
    {"offset_each_clockwise", {"offset", "A", "1", "--each"}, {square(0, 0, 10, true)}, {}, 1, -1, -64, 32},
    {"offset_each_no_merge", {"offset", "A", "1", "--each"}, {square(0, 0, 4), square(5, 0, 4)}, {}, 2, -1, 2 * (32 + pi), 32 + 4 * pi},
    {"offset_each_open_line", {"offset", "A", "1", "--each"}, {{p(0, 0), p(10, 0)}, {p(3, 3)}}, {}, 1, -1, 0, 10},
    // Pockets: every level's loops (squares of side 10 - 2 k 1.5; circles of radius 5 - 2 k drawn clockwise;
    // a hole that swallows the rest at level 2; separate regions go on while any keeps material; nothing).
    {"pocket_square", {"pocket", "A", "1.5"}, {sq10}, {}, 3, 0, 49 + 16 + 1, nan},
    {"pocket_disc", {"pocket", "A", "2"}, {circle(0, 0, 5, true)}, {}, 2, 0, 10 * pi, nan},
    {"pocket_hole", {"pocket", "A", "1.5"}, {sq10, square(4, 4, 2)}, {}, 2, 1, 49 - (25 - 2.25 * (4 - pi)), nan},
    {"pocket_two_squares", {"pocket", "A", "1.5"}, {sq10, square(20, 0, 4)}, {}, 4, 0, 50 + 16 + 1, nan},
    {"pocket_empty", {"pocket", "A", "1"}, {}, {}, 0, -1, nan, nan},
    // Booleans, B given clockwise (orientation does not matter); A with a hole that B's corner cuts opens it.
    {"union_squares", {"boolean", "union", "A", "B"}, {sq10}, {square(5, 5, 10, true)}, 1, 0, 175, nan},
    {"intersection_squares", {"boolean", "intersection", "A", "B"}, {sq10}, {square(5, 5, 10, true)}, 1, 0, 25, nan},
    {"difference_squares", {"boolean", "difference", "A", "B"}, {sq10}, {square(5, 5, 10, true)}, 1, 0, 75, nan},
    {"xor_squares", {"boolean", "xor", "A", "B"}, {sq10}, {square(5, 5, 10, true)}, 2, 0, 150, nan},
    {"union_hole", {"boolean", "union", "A", "B"}, {sq10, square(2, 2, 4)}, {square(5, 5, 10)}, 2, 1, 160, nan},
    {"difference_hole", {"boolean", "difference", "A", "B"}, {sq10, square(2, 2, 4)}, {square(5, 5, 10)}, 1, 0, 60, nan},
    {"intersection_circles", {"boolean", "intersection", "A", "B"}, {circle(0, 0, 1)}, {circle(1, 0, 1)}, 1, 0, lens, nan},
    {"xor_circles", {"boolean", "xor", "A", "B"}, {circle(0, 0, 1)}, {circle(1, 0, 1)}, 2, 0, 2 * pi - 2 * lens, nan},
    {"intersection_disjoint", {"boolean", "intersection", "A", "B"}, {square(0, 0, 1)}, {square(5, 0, 2)}, 0, 0, 0, nan},
    {"difference_inside", {"boolean", "difference", "A", "B"}, {sq10}, {circle(5, 5, 2)}, 2, 1, 100 - 4 * pi, nan},
    // Sorting: three anticlockwise squares wind 1, 2, 3 times; even-odd empties the middle ring; with the
    // middle one clockwise the winding is 1, 0, 1. Even-odd leaves an overlap out as a hole touching the
    // outline; a bow tie's halves wind +1 and -1; an island is a hole under both rules.
    {"sort_winding", {"sort", "A"}, nested, {}, 1, 0, 100, nan},
    {"sort_even_odd", {"sort", "A", "--even-odd"}, nested, {}, 3, 1, 68, nan},
    {"sort_alternating", {"sort", "A"}, {sq10, square(2, 2, 6, true), square(4, 4, 2)}, {}, 3, 1, 68, nan},
    {"sort_overlap_even_odd", {"sort", "A", "--even-odd"}, {sq10, square(5, 5, 10)}, {}, 2, 1, 150, nan},
    {"sort_bow_tie", {"sort", "A"}, {bow_tie}, {}, 1, 0, 9, nan},
    {"sort_bow_tie_even_odd", {"sort", "A", "--even-odd"}, {bow_tie}, {}, 2, 0, 18, nan},
    {"sort_circles", {"sort", "A"}, {circle(0, 0, 1), circle(1, 0, 1)}, {}, 1, 0, 2 * pi - lens, nan},
    {"sort_island", {"sort", "A"}, {circle(0, 0, 5), circle(1, 0, 1, true)}, {}, 2, 1, 24 * pi, nan},
    // Orienting by depth: squares of sides 20, 16, 12 drawn wrongly; crossing squares are cut into two Ls.
    {"orient_nested", {"orient", "A"}, {square(0, 0, 20, true), square(2, 2, 16), square(4, 4, 12, true)}, {}, 3, 1, 400 - 256 + 144, 4 * 48},
    {"orient_crossing", {"orient", "A"}, overlap, {}, 2, 0, 150, nan},
};
// clang-format on

// The arguments with "A" and "B" replaced by files of the polylines `a` and `b`.
std::vector<std::string> with_inputs(const ScratchDir& dir, const std::vector<std::string>& args,
                                     const std::vector<std::vector<std::string>>& a,
                                     const std::vector<std::vector<std::string>>& b) {
    spit(dir.file("a.txt"), records(a));
    spit(dir.file("b.txt"), records(b));
    std::vector<std::string> out;
    for (const std::string& arg : args)
        out.push_back(arg == "A" || arg == "B" ? dir.file(arg == "A" ? "a.txt" : "b.txt") : arg);
    return out;
}

class CommandRuns : public ::testing::TestWithParam<CommandRun> {};

TEST_P(CommandRuns, OutputReadsBackWithTheResultsProperties) {
    const CommandRun& c = GetParam();
    ScratchDir dir;
    const std::string out = dir.file("out.txt");
    std::vector<std::string> args = with_inputs(dir, c.args, c.a, c.b);
    args.insert(args.end(), {"-o", out});
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const json k = info_json({out})[0];
    EXPECT_EQ(k["polylines"], c.polylines);
    if (!std::isnan(c.area)) {
        EXPECT_NEAR(k["area"].get<double>(), c.area, 1e-9 * std::max(1.0, std::fabs(c.area)));
    }
    if (!std::isnan(c.length)) {
        EXPECT_NEAR(k["length"].get<double>(), c.length, 1e-9 * c.length);
    }
    if (c.holes >= 0)
        expect_loops_in(out, c.polylines, c.polylines - c.holes, c.holes, k["area"].get<double>());
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandRuns, ::testing::ValuesIn(runs),
                         [](const auto& info) { return std::string(info.param.name); });

// The text summary ("@A" and "@B" for the inputs' names), how often texts are in the picture ("M:CLASS":
// the subpaths of the first path of that class), and the JSON object's fields.
struct Summary {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::vector<std::string>> a, b;
    std::string text;
    std::vector<std::pair<std::string, int>> svg;
    std::set<std::string> keys;
};

// clang-format off
const Summary summaries[] = {
    {"sort", {"sort", "A", "--even-odd"}, nested, {},
     "@A: 3 polylines sorted (even-odd rule) into 3 loops: 2 outer boundaries, 1 hole; area 68\n",
     {{"class=\"layer input\"", 1}, {"class=\"layer sorted\"", 1}, {"M:input", 3}, {"M:region", 3}, {"M:outer", 2}, {"M:hole", 1}},
     {"file", "rule", "sorted", "polylines_in", "loops", "outer", "holes", "area"}},
    // Both inputs thin (one path per layer), the result's outline and hole.
    {"boolean", {"boolean", "union", "A", "B"}, {sq10, square(2, 2, 4)}, {square(5, 5, 10)},
     "union of @A (2 polylines) and @B (1 polyline): 2 loops: 1 outer boundary, 1 hole; area 160\n",
     {{"class=\"layer a\"", 1}, {"class=\"layer b\"", 1}, {"class=\"layer result\"", 1}, {"M:input", 2}, {"M:region", 2}, {"M:outer", 1}, {"M:hole", 1}},
     {"operation", "file_a", "file_b", "polylines_a", "polylines_b", "done", "polylines", "loops", "outer", "holes", "area"}},
    {"pocket", {"pocket", "A", "1.5"}, {sq10}, {},
     "# level offset loops spans area\n1 -1.5 1 4 49\n2 -3 1 4 16\n3 -4.5 1 4 1\n"
     "@A: pocket of 1 boundary with step 1.5: 3 levels, 3 loops, 12 spans\n",
     {{"class=\"layer level\"", 3}, {"class=\"layer input\"", 1}}, {}},
};
// clang-format on

class Summaries : public ::testing::TestWithParam<Summary> {};

TEST_P(Summaries, TextPictureAndJsonFields) {
    const Summary& c = GetParam();
    ScratchDir dir;
    const std::string svg = dir.file("x.svg");
    std::vector<std::string> args = with_inputs(dir, c.args, c.a, c.b);
    args.insert(args.end(), {"-o", dir.file("out.txt"), "--svg", svg});
    const Outcome r = cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string text = c.text;
    for (const char* name : {"A", "B"})
        if (const std::size_t at = text.find(std::string("@") + name); at != std::string::npos)
            text.replace(at, 2, dir.file(name == std::string("A") ? "a.txt" : "b.txt"));
    EXPECT_EQ(r.out, text);
    const std::string pic = slurp(svg);
    EXPECT_TRUE(valid_utf8(pic));
    for (const auto& [what, n] : c.svg)
        EXPECT_EQ(what.rfind("M:", 0) == 0 ? subpaths(pic, what.substr(2)) : count(pic, what), n) << what;
    if (c.keys.empty()) return;
    args.resize(args.size() - 2);
    args.push_back("--json");
    std::set<std::string> keys;
    const json j = json::parse(cli(args).out);
    for (const auto& item : j.items())
        keys.insert(item.key());
    EXPECT_EQ(keys, c.keys);
}

INSTANTIATE_TEST_SUITE_P(Commands, Summaries, ::testing::ValuesIn(summaries),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
