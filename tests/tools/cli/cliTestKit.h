#pragma once
// Shared pieces of the arcline program's tests: running the program with captured streams, scratch folders,
// small geometry files, the data files under tests/data/cli, and reading values back out of SVG path data.

#include "../../debug/debugTestKit.h"
#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "tools/cli/Program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

namespace fs = std::filesystem;
using nlohmann::json;

using debugtest::ScratchDir;
using debugtest::slurp;
using debugtest::spit;
// Text checks that show the text when they fail.
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// A file of tests/data/cli.
inline std::string data(const std::string& name) {
    return std::string(ARCLINE_TEST_DATA_DIR) + "/cli/" + name;
}
inline std::string example(const std::string& name) {
    return std::string(ARCLINE_TEST_DATA_DIR) + "/../../examples/" + name;
}

struct Outcome {
    int code = -1;
    std::string out, err;
    // The error stream's lines.
    std::vector<std::string> messages() const {
        std::vector<std::string> lines;
        std::istringstream s(err);
        for (std::string line; std::getline(s, line);)
            lines.push_back(line);
        return lines;
    }
};

// The whole program, as main runs it, with `in` as standard input.
inline Outcome cli(const std::vector<std::string>& args, const std::string& in = "") {
    std::istringstream input(in);
    std::ostringstream out, err;
    Outcome r;
    r.code = arcline::cli::run_arcline(args, input, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// Record-format text of polylines given as records ("p x y z" / "a mx my mz x y z"), each list one polyline.
inline std::string records(const std::vector<std::vector<std::string>>& polylines) {
    std::string text = "velGeometryIO 1";
    for (const auto& p : polylines) {
        for (const auto& r : p)
            text += "\n" + r;
        text += "\ns";
    }
    return text + "\ne";
}
// The file `name` of `dir` holding the polylines.
inline std::string put(const ScratchDir& dir, const std::string& name,
                       const std::vector<std::vector<std::string>>& polylines) {
    spit(dir.file(name), records(polylines));
    return dir.file(name);
}

inline std::string num(double v) {
    char s[40];
    std::snprintf(s, sizeof s, "%.17g", v);
    return s;
}
inline std::string p(double x, double y, double z = 0.0) {
    return "p " + num(x) + " " + num(y) + " " + num(z);
}
inline std::string a(double mx, double my, double x, double y, double z = 0.0) {
    return "a " + num(mx) + " " + num(my) + " " + num(z) + " " + num(x) + " " + num(y) + " " + num(z);
}

// The square of side `side` from (x, y), anticlockwise unless `clockwise`.
inline std::vector<std::string> square(double x, double y, double side = 1.0, bool clockwise = false) {
    std::vector<std::string> r = {p(x, y), p(x + side, y), p(x + side, y + side), p(x, y + side), p(x, y)};
    if (clockwise) std::reverse(r.begin(), r.end());
    return r;
}

// A circle of two half arcs starting at (cx + r, cy), anticlockwise unless `clockwise`.
inline std::vector<std::string> circle(double cx, double cy, double r, bool clockwise = false) {
    const double s = clockwise ? -1.0 : 1.0;
    return {p(cx + r, cy), a(cx, cy + s * r, cx - r, cy), a(cx, cy - s * r, cx + r, cy)};
}

// A clockwise quarter arc of radius 3 between two lines that turn right into it and out of it: offset by +5
// the arc collapses through its centre, and it and the corner spans beside it become temporary lines.
inline std::vector<std::string> collapsing_arc() {
    const double m = 3.0 / std::sqrt(2.0);
    return {p(-5, -2), p(0, 3), a(m, m, 3, 0), p(-2, -5)};
}

// The JSON document of `info --json`.
inline json info_json(const std::vector<std::string>& files, const std::string& in = "") {
    std::vector<std::string> args = {"info", "--json"};
    args.insert(args.end(), files.begin(), files.end());
    const Outcome r = cli(args, in);
    try {
        return json::parse(r.out);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not JSON: " << e.what() << "\n" << r.out << r.err;
        return json();
    }
}

// OUT of a region command holds `loops` closed loops, anticlockwise outer boundaries and clockwise holes
// adding up to `area` (signed areas read back by the library), none crossing itself.
inline void expect_loops_in(const std::string& out, int loops, int outer, int holes, double area) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(out.c_str(), list)) << out;
    int positive = 0, negative = 0, n = 0;
    double sum = 0.0;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it; ++n) {
        const double x = velPolylineUtils::area(it);
        positive += x > 0.0;
        negative += x < 0.0;
        sum += x;
    }
    ASSERT_EQ(n, loops) << out;
    EXPECT_EQ(positive, outer);
    EXPECT_EQ(negative, holes);
    EXPECT_NEAR(sum, area, 1e-9 * std::max(1.0, std::abs(area)));
    EXPECT_EQ(info_json({out})[0]["closed"], loops);
    const json crossings = json::parse(cli({"crossings", "--json", out}).out); // held while the loop reads it
    for (const json& x : crossings["crossings"])
        EXPECT_NE(x["polyline1"], x["polyline2"]) << "a loop crosses itself";
}

// A span of polyline `polyline`: start, mid point (arcs only) and end.
struct Span {
    int polyline;
    giPoint3 s, m, e;
    bool arc = false;
};

// Every span of every polyline of a record file in order, single positions as spans from the point to itself.
inline std::vector<Span> spans_of(const std::string& path) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    EXPECT_TRUE(velGeometryIO::read(path.c_str(), list)) << path;
    std::vector<Span> out;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;) {
        if (it.num_pos() == 1) out.push_back({it.index(), it.get_pos(0), {}, it.get_pos(0), false});
        for (int i = 0; i + 1 < it.num_pos(); ++i)
            out.push_back({it.index(), it.get_pos(i), it.span_linear(i) ? giPoint3() : it.get_mid_pos(i),
                           it.get_pos(i + 1), !it.span_linear(i)});
    }
    return out;
}

// Same spans within `tol`, on the same polylines unless `polylines` is false.
inline void expect_same_spans(const std::vector<Span>& a, const std::vector<Span>& b, double tol,
                              bool polylines = true) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(!polylines || a[i].polyline == b[i].polyline);
        EXPECT_EQ(a[i].arc, b[i].arc);
        EXPECT_LE(a[i].s.distance(b[i].s), tol);
        EXPECT_LE(a[i].e.distance(b[i].e), tol);
        EXPECT_TRUE(!a[i].arc || !b[i].arc || a[i].m.distance(b[i].m) <= tol) << a[i].m.distance(b[i].m);
    }
}

// The "d" attributes of the elements that start with `head` and then have d="...", in order.
inline std::vector<std::string> d_after(const std::string& svg, const std::string& head) {
    std::vector<std::string> out;
    for (std::size_t at = svg.find(head); at != std::string::npos; at = svg.find(head, at + 1)) {
        const std::size_t d = svg.find("d=\"", at) + 3;
        out.push_back(svg.substr(d, svg.find('"', d) - d));
    }
    return out;
}

// One command of SVG path data with its numbers.
struct PathCommand {
    char op;
    std::vector<double> args;
};
inline std::vector<PathCommand> parse_path(const std::string& d) {
    std::vector<PathCommand> out;
    for (std::size_t i = 0, used = 1; i < d.size(); i += used, used = 1) {
        if (std::isalpha(static_cast<unsigned char>(d[i])))
            out.push_back({d[i], {}});
        else if (d[i] != ' ' && d[i] != ',')
            out.back().args.push_back(std::stod(d.substr(i), &used));
    }
    return out;
}

// The "d" attributes of the paths of class `cls` in an SVG text.
inline std::vector<std::string> path_data(const std::string& svg, const std::string& cls) {
    return d_after(svg, "<path class=\"" + cls + "\" d=\"");
}

inline int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The number of subpaths (M commands) of the first path of class `cls`; 0 when there is none.
inline int subpaths(const std::string& svg, const std::string& cls) {
    const std::vector<std::string> d = path_data(svg, cls);
    return d.empty() ? 0 : count(d[0], "M");
}

// Whether the text is well-formed UTF-8 (what XML and JSON readers demand).
inline bool valid_utf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int len = b < 0x80 ? 1 : b < 0xC2 ? 0 : b <= 0xDF ? 2 : b <= 0xEF ? 3 : b <= 0xF4 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

} // namespace clitest
