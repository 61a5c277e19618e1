#include "cliTestKit.h"

using namespace clitest;

namespace {

constexpr const char* op_names[] = {"union", "intersection", "difference", "xor"};

// What one operation makes: loops, outer boundaries, holes and the region's area.
struct Expect {
    int loops, outer, holes;
    double area;
};

struct BooleanCase {
    const char* name;
    std::vector<std::vector<std::string>> a, b;
    double area_a, area_b; // the regions' areas
    Expect by_op[4];       // union, intersection, difference (A minus B), xor
};

// Two unit circles whose centres lie 1 apart share a lens of area 2 pi / 3 - sqrt(3) / 2.
const double lens = 2.0 * std::numbers::pi / 3.0 - std::sqrt(3.0) / 2.0;
const double pi = std::numbers::pi;

std::vector<BooleanCase> boolean_cases() {
    return {
        // A's corner overlaps B's: the union an octagon-like outline, the common square, two L shapes.
        {"overlapping_squares",
         {square(0, 0, 10)},
         {square(5, 5, 10)},
         100.0,
         100.0,
         {{1, 1, 0, 175.0}, {1, 1, 0, 25.0}, {1, 1, 0, 75.0}, {2, 2, 0, 150.0}}},
        // Orientation does not matter: B given clockwise is the same region.
        {"clockwise_b",
         {square(0, 0, 10)},
         {square(5, 5, 10, true)},
         100.0,
         100.0,
         {{1, 1, 0, 175.0}, {1, 1, 0, 25.0}, {1, 1, 0, 75.0}, {2, 2, 0, 150.0}}},
        // A with a hole (both given anticlockwise: nesting makes the inner one a hole) that B's corner cuts.
        // A and B = [5,10]^2 less [5,6]^2; the union keeps the hole's part outside B; A minus B opens the
        // hole into the notch (one loop); B minus A is an L and the square [5,6]^2 (touching at corners).
        {"square_with_hole",
         {square(0, 0, 10), square(2, 2, 4)},
         {square(5, 5, 10)},
         84.0,
         100.0,
         {{2, 1, 1, 160.0}, {1, 1, 0, 24.0}, {1, 1, 0, 60.0}, {3, 3, 0, 136.0}}},
        // Exact arcs: two unit circles crossing.
        {"circles",
         {circle(0, 0, 1)},
         {circle(1, 0, 1)},
         pi,
         pi,
         {{1, 1, 0, 2.0 * pi - lens},
          {1, 1, 0, lens},
          {1, 1, 0, pi - lens},
          {2, 2, 0, 2.0 * pi - 2.0 * lens}}},
        // Apart: nothing in common.
        {"disjoint",
         {square(0, 0, 1)},
         {square(5, 0, 2)},
         1.0,
         4.0,
         {{2, 2, 0, 5.0}, {0, 0, 0, 0.0}, {1, 1, 0, 1.0}, {2, 2, 0, 5.0}}},
        // B wholly inside A: a hole for the difference and the exclusive or.
        {"b_inside_a",
         {square(0, 0, 10)},
         {circle(5, 5, 2)},
         100.0,
         4.0 * pi,
         {{1, 1, 0, 100.0}, {1, 1, 0, 4.0 * pi}, {2, 1, 1, 100.0 - 4.0 * pi}, {2, 1, 1, 100.0 - 4.0 * pi}}},
    };
}

double tolerance(double area) {
    return 1e-9 * std::max(1.0, std::abs(area));
}

double sum(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0);
}

// Runs one operation with --json into OUT; the JSON object and the signed areas of what OUT holds.
struct OpRun {
    json j;
    std::vector<double> areas;
};

OpRun run_op(const ScratchDir& dir, const std::string& op, const std::string& a_text,
             const std::string& b_text) {
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), out = dir.file(op + ".txt");
    spit(a, a_text);
    spit(b, b_text);
    const Outcome r = cli({"boolean", op, a, b, "-o", out, "--json"});
    EXPECT_EQ(r.code, 0) << op << ": " << r.err;
    OpRun run;
    try {
        run.j = json::parse(r.out);
    } catch (const std::exception& e) {
        ADD_FAILURE() << op << ": not JSON: " << e.what() << "\n" << r.out << r.err;
    }
    run.areas = signed_areas(out);
    return run;
}

class BooleanCommandCases : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(BooleanCommandCases, CountsAndAreaReadBackFromOut) {
    const BooleanCase& c = GetParam();
    ScratchDir dir;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(op_names[k]);
        const Expect& e = c.by_op[k];
        const OpRun r = run_op(dir, op_names[k], records(c.a), records(c.b));
        EXPECT_EQ(r.j["operation"], op_names[k]);
        EXPECT_EQ(r.j["done"], true);
        EXPECT_EQ(r.j["polylines_a"], static_cast<int>(c.a.size()));
        EXPECT_EQ(r.j["polylines_b"], static_cast<int>(c.b.size()));
        EXPECT_EQ(r.j["loops"], e.loops);
        EXPECT_EQ(r.j["outer"], e.outer);
        EXPECT_EQ(r.j["holes"], e.holes);
        EXPECT_NEAR(r.j["area"].get<double>(), e.area, tolerance(e.area));

        // OUT agrees: anticlockwise outer boundaries, clockwise holes, adding up to the area.
        ASSERT_EQ(static_cast<int>(r.areas.size()), e.loops);
        EXPECT_EQ(std::count_if(r.areas.begin(), r.areas.end(), [](double x) { return x > 0.0; }), e.outer);
        EXPECT_EQ(std::count_if(r.areas.begin(), r.areas.end(), [](double x) { return x < 0.0; }), e.holes);
        EXPECT_NEAR(sum(r.areas), e.area, tolerance(e.area));
        const std::string out = dir.file(std::string(op_names[k]) + ".txt");
        EXPECT_EQ(info_json({out})[0]["closed"], e.loops);
        // Loops may touch where A and B crossed, but none crosses itself.
        const json crossings = json::parse(cli({"crossings", "--json", out}).out);
        for (const json& x : crossings["crossings"])
            EXPECT_NE(x["polyline1"], x["polyline2"]) << "a loop crosses itself";
    }
}

// The identities between the four results, each read back from the OUT the command wrote:
// union + intersection = A + B, xor = union - intersection, difference = A - intersection.
TEST_P(BooleanCommandCases, IdentitiesBetweenOutputs) {
    const BooleanCase& c = GetParam();
    ScratchDir dir;
    double area[4];
    for (int k = 0; k < 4; ++k)
        area[k] = sum(run_op(dir, op_names[k], records(c.a), records(c.b)).areas);
    const double scale = std::max(c.area_a, c.area_b);
    EXPECT_NEAR(area[0] + area[1], c.area_a + c.area_b, tolerance(scale));
    EXPECT_NEAR(area[3], area[0] - area[1], tolerance(scale));
    EXPECT_NEAR(area[2], c.area_a - area[1], tolerance(scale));
}

// Swapping A and B, each reversed: union, intersection and xor give the same region; the difference gives
// B minus A, which is xor less A minus B.
TEST_P(BooleanCommandCases, SwappedAndReversed) {
    const BooleanCase& c = GetParam();
    const auto reversed = [](std::vector<std::vector<std::string>> region) {
        // Reversing a polyline with arcs keeps each arc's mid point: reverse the position records and
        // move every arc's mid point to the record after it.
        for (auto& poly : region) {
            std::vector<std::string> out;
            std::vector<std::pair<std::string, std::string>> steps; // (end position, mid point or "")
            for (const std::string& rec : poly) {
                std::istringstream w(rec);
                std::string head;
                double v[6] = {};
                w >> head;
                for (double& x : v)
                    w >> x;
                if (head == "p")
                    steps.push_back({num(v[0]) + " " + num(v[1]) + " " + num(v[2]), ""});
                else
                    steps.push_back({num(v[3]) + " " + num(v[4]) + " " + num(v[5]),
                                     num(v[0]) + " " + num(v[1]) + " " + num(v[2])});
            }
            out.push_back("p " + steps.back().first);
            for (std::size_t i = steps.size() - 1; i > 0; --i)
                out.push_back(steps[i].second.empty() ? "p " + steps[i - 1].first
                                                      : "a " + steps[i].second + " " + steps[i - 1].first);
            poly = out;
        }
        return region;
    };
    ScratchDir dir;
    const std::string a = records(reversed(c.b)), b = records(reversed(c.a));
    for (int k : {0, 1, 3}) {
        SCOPED_TRACE(op_names[k]);
        const OpRun r = run_op(dir, op_names[k], a, b);
        EXPECT_EQ(r.j["loops"], c.by_op[k].loops);
        EXPECT_NEAR(sum(r.areas), c.by_op[k].area, tolerance(c.by_op[k].area));
    }
    const OpRun d = run_op(dir, "difference", a, b);
    const double b_minus_a = c.by_op[3].area - c.by_op[2].area;
    EXPECT_NEAR(sum(d.areas), b_minus_a, tolerance(c.by_op[3].area));
    EXPECT_EQ(d.j["loops"], c.by_op[3].loops - c.by_op[2].loops);
}

INSTANTIATE_TEST_SUITE_P(Regions, BooleanCommandCases, ::testing::ValuesIn(boolean_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BooleanCommand, TextLineAndJsonShape) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), out = dir.file("out.txt");
    spit(a, records({square(0, 0, 10), square(2, 2, 4)}));
    spit(b, records({square(5, 5, 10)}));
    const Outcome text = cli({"boolean", "union", a, b, "-o", out});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, "union of " + a + " (2 polylines) and " + b +
                            " (1 polyline): 2 loops: 1 outer boundary, 1 hole; area 160\n");
    EXPECT_EQ(text.err, "");

    const Outcome js = cli({"boolean", "difference", a, b, "-o", out, "--json"});
    ASSERT_EQ(js.code, 0) << js.err;
    const json j = json::parse(js.out);
    ASSERT_TRUE(j.is_object());
    for (const char* key : {"operation", "file_a", "file_b", "polylines_a", "polylines_b", "done",
                            "polylines", "loops", "outer", "holes", "area"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j.size(), 11u);
    EXPECT_EQ(j["operation"], "difference");
    EXPECT_EQ(j["file_a"], a);
    EXPECT_EQ(j["file_b"], b);
    EXPECT_EQ(j["polylines"], 1);
    EXPECT_TRUE(j["area"].is_number_float());
    EXPECT_TRUE(j["done"].is_boolean());

    // OUT on standard output: the records there, the counts on the error stream.
    const Outcome piped = cli({"boolean", "intersection", a, b, "-o", "-"});
    ASSERT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out.rfind("velGeometryIO 1\n", 0), 0u) << piped.out;
    EXPECT_EQ(piped.err.rfind("arcline boolean: intersection of " + a + " (2 polylines)", 0), 0u)
        << piped.err;
    const Outcome clash = cli({"boolean", "xor", a, b, "-o", "-", "--json"});
    EXPECT_EQ(clash.code, 2);
    EXPECT_EQ(clash.err, "arcline boolean: OUT and --json cannot both be standard output\n");

    // Both regions from standard input: the same bytes twice, so A xor A is empty.
    const Outcome same = cli({"boolean", "xor", "-", "-", "-o", out, "--json"}, slurp(a));
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(json::parse(same.out)["loops"], 0);
}

TEST(BooleanCommand, BadArgumentsAndFiles) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), out = dir.file("out.txt");
    spit(a, records({square(0, 0, 10)}));
    // An operation that is not one of the four.
    const Outcome op = cli({"boolean", "sum", a, a, "-o", out});
    EXPECT_EQ(op.code, 2);
    EXPECT_FALSE(fs::exists(out));

    // A bad file, as A or as B: "file:line: reason", then what the command did about it; OUT untouched.
    for (const bool bad_is_b : {false, true}) {
        const std::string bad = data("nan_coordinate.txt");
        const Outcome r = bad_is_b ? cli({"boolean", "union", a, bad, "-o", out})
                                   : cli({"boolean", "union", bad, a, "-o", out});
        EXPECT_EQ(r.code, 2);
        const std::vector<std::string> m = r.messages();
        ASSERT_FALSE(m.empty());
        EXPECT_EQ(m[0].rfind(bad + ":", 0), 0u) << r.err;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(m[0][bad.size() + 1]))) << r.err;
        EXPECT_EQ(m.back(), "arcline boolean: " + out + " not written");
        EXPECT_EQ(std::count(m.begin(), m.end(), "arcline boolean: " + out + " not written"), 1);
        EXPECT_FALSE(fs::exists(out));
    }
    const Outcome missing = cli({"boolean", "union", a, dir.file("missing.txt"), "-o", out});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.messages().at(0).rfind(dir.file("missing.txt") + ": ", 0), 0u) << missing.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST(BooleanCommand, PictureDrawsBothInputsAndTheResult) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), svg = dir.file("x.svg");
    spit(a, records({square(0, 0, 10), square(2, 2, 4)}));
    spit(b, records({square(5, 5, 10)}));
    const Outcome r = cli({"boolean", "union", a, b, "-o", dir.file("out.txt"), "--svg", svg});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string pic = slurp(svg);
    for (const char* layer : {"class=\"layer a\"", "class=\"layer b\"", "class=\"layer result\""})
        EXPECT_EQ(count(pic, layer), 1) << layer;
    // Two polylines of A and one of B drawn thin (one input path in each layer); the union's outline and
    // its hole, each closed subpath one M.
    const std::vector<std::string> inputs = path_data(pic, "input");
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(count(inputs[0], "M"), 2);
    EXPECT_EQ(count(inputs[1], "M"), 1);
    ASSERT_EQ(path_data(pic, "region").size(), 1u);
    EXPECT_EQ(count(path_data(pic, "region")[0], "M"), 2);
    EXPECT_EQ(count(path_data(pic, "outer")[0], "M"), 1);
    EXPECT_EQ(count(path_data(pic, "hole")[0], "M"), 1);
    EXPECT_NE(pic.find("fill-rule=\"nonzero\""), std::string::npos);
    EXPECT_TRUE(valid_utf8(pic));
}

TEST(BooleanCommand, DebugChannelWritesDocument) {
    ScratchDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt"), cdg = dir.file("x.cdg");
    spit(a, records({square(0, 0, 10)}));
    spit(b, records({square(5, 5, 10)}));
    const Outcome r = cli({"boolean", "difference", a, b, "-o", dir.file("out.txt"), "--debug",
                           "arclinesorter=3", "--debug-out", cdg});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(slurp(cdg).rfind("CDG1", 0), 0u);
    EXPECT_NE(r.err.find("arcline boolean: debug geometry: "), std::string::npos) << r.err;
    EXPECT_EQ(cli({"cdg2svg", cdg, "-o", dir.file("x.svg")}).code, 0);
}

} // namespace
