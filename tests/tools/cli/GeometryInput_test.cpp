// Reading geometry inputs: lenient cases warn, --strict stops, faults name file and line.

#include "cliTestKit.h"

#include "arcline/platform/utAssert.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/GeometryInput.h"

#include <fstream>

using namespace clitest;
using arcline::cli::GeometryInput;
using arcline::cli::Session;
using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

namespace {

// One data file and what reading it gives, leniently and under --strict (tests/data/cli/reading.txt).
// Messages are the lines of the error stream with "@" for the file name.
struct Case {
    std::string file;
    int polylines, positions; // as read leniently
    int code;                 // exit code, lenient
    int strict_polylines;     // as read under --strict
    std::string message;      // the one message read leniently, "" for none
};

std::vector<Case> cases() {
    std::vector<Case> out;
    std::ifstream in(data("reading.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        Case& c = out.emplace_back();
        std::getline(row, c.file, '\t');
        row >> c.polylines >> c.positions >> c.code >> c.strict_polylines;
        std::getline(row.ignore(1), c.message);
    }
    EXPECT_EQ(out.size(), 22u);
    return out;
}

std::vector<std::string> expected(const Case& c, const std::string& path) {
    if (c.message.empty()) return {};
    return {path + c.message.substr(1)};
}

} // namespace

TEST(GeometryInput, LenientCasesWarnAndStrictStops) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.file);
        const std::string path = data(c.file);
        const Outcome r = cli({"info", "--json", path});
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.messages(), expected(c, path));
        const json j = json::parse(r.out);
        ASSERT_EQ(j.size(), 1u);
        EXPECT_EQ(j[0]["polylines"], c.polylines);
        EXPECT_EQ(j[0]["positions"], c.positions);
        const bool warned = c.code == 0 && !c.message.empty();
        EXPECT_EQ(j[0]["warnings"], warned ? 1 : 0);

        // Under --strict every warning is a fault: exit code 2, the same message without "warning: " and
        // marked, and reading stops there.
        const Outcome s = cli({"info", "--json", "--strict", path});
        EXPECT_EQ(s.code, c.message.empty() ? 0 : 2);
        if (warned) {
            std::string m = expected(c, path)[0];
            m.replace(m.find("warning: "), 9, "");
            EXPECT_EQ(s.messages(), std::vector<std::string>{m + " [--strict]"});
        }
        EXPECT_EQ(json::parse(s.out)[0]["polylines"], c.strict_polylines);
    }
}

// Standard input reads like a file (once, however often "-" is named); a file that cannot be opened is
// named with the reason.
TEST(GeometryInput, StandardInputAndUnreadableFiles) {
    const std::string text = slurp(data("crlf_line_ends.txt"));
    const json j = info_json({"-", "-"}, text);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["file"], "-");
    EXPECT_EQ(j[0], j[1]);
    EXPECT_EQ(j[0]["polylines"], 2);

    ScratchDir dir;
    const Outcome r = cli({"info", dir.file("none.txt"), dir.path().string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.messages(),
              (std::vector<std::string>{dir.file("none.txt") + ": cannot open: No such file or directory",
                                        dir.path().string() + ": is a directory"}));
    const Outcome stdin_fault = cli({"info", "-"}, "velGeometryIO 1\nx\n");
    EXPECT_EQ(stdin_fault.messages(), std::vector<std::string>{"<stdin>:2: unknown record 'x'"});
}

// Two million empty polylines make two million warnings: twenty are shown, the rest counted.
TEST(GeometryInput, ManyWarningsAreCounted) {
    std::string text = "velGeometryIO 1\n";
    for (int k = 0; k < 1000; ++k)
        text += "s\n";
    const Outcome r = cli({"info", "-"}, text + "e");
    EXPECT_EQ(r.code, 0);
    const auto m = r.messages();
    ASSERT_EQ(m.size(), 21u);
    EXPECT_EQ(m.back(), "<stdin>: warning: 980 more warning(s) not shown");
    EXPECT_THAT(r.out, HasSubstr("polylines  1000 (0 closed, 0 open, 1000 empty)"));
}

namespace {

std::vector<std::vector<giPoint3>> geometry(const List& list) {
    std::vector<std::vector<giPoint3>> out;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;) {
        out.emplace_back();
        for (int i = 0; i < it.num_pos(); ++i) {
            if (i > 0 && !it.span_linear(i - 1)) out.back().push_back(it.get_mid_pos(i - 1));
            out.back().push_back(it.get_pos(i));
        }
    }
    return out;
}

// A mutation of a text: a byte changed, dropped, doubled, or a line dropped or repeated.
std::string mutate(std::string s, std::mt19937& rng) {
    static const std::string alphabet = "0123456789 .-+eEpasqxnif\n,\t";
    if (s.empty()) return s;
    const std::size_t at = rng() % s.size(), b = s.rfind('\n', at), e = s.find('\n', at);
    const unsigned op = rng() % 5;
    const bool line = b != std::string::npos && e != std::string::npos;
    if (op == 0) s[at] = alphabet[rng() % alphabet.size()];
    if (op == 1) s.erase(at, 1);
    if (op == 2) s.insert(at, 1, s[at]);
    if (op == 3 && line) s.erase(b, e - b);
    if (op == 4 && line) s.insert(e, s.substr(b, e - b));
    return s;
}

} // namespace

// The program's readers against the library's: on mutated record and picture files the program delivers
// what velGeometryIO::read delivers, or, after a fault the library reads past (a coordinate that is not
// finite, a bad picture marker), a prefix of it.
TEST(GeometryInput, ReadsWhatTheLibraryReads) {
    ScratchDir dir;
    const std::string path = dir.file("m.txt");
    const std::vector<std::string> seeds = {
        slurp(example("toolpath.txt")), slurp(data("empty_polyline.txt")),
        records({square(0, 0), circle(5, 5, 2), {p(1, 2, 3)}}),
        "picture 1\n3\n2 0 0\nl 0 4 0\na 0 4 3 1\n1 10 10 a 0 12 10 -2.5\n0 1 1\n"};
    std::mt19937 rng(1234);
    int compared = 0;
    for (int k = 0; k < 600; ++k) {
        std::string text = seeds[static_cast<std::size_t>(k) % seeds.size()];
        for (int m = 1 + static_cast<int>(rng() % 3); m > 0; --m)
            text = mutate(text, rng);
        spit(path, text);
        List library;
        {
            // The library's picture reader reports its faults; the program's reader tells them itself.
            const ut::AssertHandler previous =
                ut::set_assert_handler([](const char*, int, const char*, const char*, const char*) {});
            velGeometryIO::read(path.c_str(), library);
            ut::set_assert_handler(previous);
        }
        std::istringstream in;
        std::ostringstream out, err;
        Session session(in, out, err);
        const GeometryInput program = GeometryInput::read(path, session);
        const auto lib = geometry(library), ours = geometry(program.polylines());
        SCOPED_TRACE(text);
        if (program.ok()) {
            EXPECT_EQ(ours, lib);
            ++compared;
        } else {
            ASSERT_LE(ours.size(), lib.size());
            for (std::size_t i = 0; i + 1 < ours.size(); ++i)
                EXPECT_EQ(ours[i], lib[i]);
            if (!ours.empty()) {
                const auto& last = ours.back();
                const auto& theirs = lib[ours.size() - 1];
                ASSERT_LE(last.size(), theirs.size());
                EXPECT_TRUE(std::equal(last.begin(), last.end(), theirs.begin()));
            }
        }
    }
    EXPECT_GT(compared, 100); // enough mutants read whole for the comparison to mean something
}
