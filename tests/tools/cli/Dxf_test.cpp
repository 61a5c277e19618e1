// DXF both ways against ezdxf (python3-ezdxf), the tests skipped without it.

#include "cliTestKit.h"

#include <cstdlib>

using namespace clitest;

namespace {

constexpr const char* python = "/usr/bin/python3";

std::string oracle() {
    return std::string(ARCLINE_TEST_DATA_DIR) + "/../tools/cli/ezdxf_oracle.py";
}

bool have_ezdxf() {
    // Built in two steps: GCC 12 warns falsely (array-bounds) about a temporary string plus a literal here.
    std::string cmd = python;
    cmd += " -c 'import ezdxf' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// Runs the oracle; its standard output.
std::string run_oracle(const std::string& args, const ScratchDir& dir) {
    const std::string out = dir.file("oracle.out");
    const std::string cmd = std::string(python) + " '" + oracle() + "' " + args + " > '" + out + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return slurp(out);
}

// The oracle's polylines ({"positions": [...], "mids": [null | point per span]}) as spans.
std::vector<Span> from_oracle(const json& j) {
    auto point = [](const json& v) {
        return giPoint3(v[0].get<double>(), v[1].get<double>(), v[2].get<double>());
    };
    std::vector<Span> out;
    int k = 0;
    for (const json& e : j["polylines"]) {
        const json& at = e["positions"];
        if (at.size() == 1) out.push_back({k, point(at[0]), {}, point(at[0]), false});
        for (std::size_t i = 0; i + 1 < at.size(); ++i) {
            const json& m = e["mids"][i];
            out.push_back(
                {k, point(at[i]), m.is_null() ? giPoint3() : point(m), point(at[i + 1]), !m.is_null()});
        }
        ++k;
    }
    return out;
}

// What the program reads from a DXF file, through convert to the record format.
std::vector<Span> from_program(const std::string& dxf, const ScratchDir& dir) {
    const Outcome r = cli({"convert", dxf, dir.file("read.txt")});
    EXPECT_EQ(r.code, 0) << r.err;
    return spans_of(dir.file("read.txt"));
}

} // namespace

// The examples and the program's DXF data, written by the program: ezdxf reads the polylines as the
// program holds them, and what ezdxf writes again the program reads back the same (to 1e-12 of the size).
TEST(Dxf, RoundTripsThroughEzdxf) {
    if (!have_ezdxf()) GTEST_SKIP() << "ezdxf not found (Debian package python3-ezdxf)";
    ScratchDir dir;
    for (const std::string& source :
         {example("pocket.txt"), data("entities.dxf"), data("crlf_line_ends.txt")}) {
        SCOPED_TRACE(source);
        const std::string ours = dir.file("ours.dxf"), theirs = dir.file("theirs.dxf");
        const Outcome w = cli({"convert", source, ours});
        ASSERT_EQ(w.code, 0) << w.err;
        const std::vector<Span> held = from_program(source, dir);
        expect_same_spans(from_oracle(json::parse(run_oracle("dump '" + ours + "'", dir))), held,
                          1e-12 * 100);
        run_oracle("resave '" + ours + "' '" + theirs + "'", dir);
        expect_same_spans(from_program(theirs, dir), held, 1e-12 * 100);
    }
}

// A drawing made by ezdxf with every entity kind the program reads (arcs in tilted and mirrored object
// coordinate systems, closed polylines with bulges at an elevation, 2D and 3D POLYLINE): the program reads
// what ezdxf reads, and names the spline it does not read.
TEST(Dxf, ReadsWhatEzdxfWrites) {
    if (!have_ezdxf()) GTEST_SKIP() << "ezdxf not found (Debian package python3-ezdxf)";
    ScratchDir dir;
    const std::string made = dir.file("made.dxf");
    run_oracle("make '" + made + "'", dir);
    const json seen = json::parse(run_oracle("dump '" + made + "'", dir));
    EXPECT_EQ(seen["unread"], (json{{"SPLINE", 1}}));
    expect_same_spans(from_program(made, dir), from_oracle(seen), 1e-12 * 100);
    const Outcome r = cli({"info", made});
    ASSERT_EQ(r.messages().size(), 1u);
    EXPECT_NE(r.messages()[0].find(": warning: 1 SPLINE entity not read (the first here)"),
              std::string::npos);
}
