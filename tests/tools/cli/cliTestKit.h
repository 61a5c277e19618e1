#pragma once
// Shared pieces of the arcline program's tests: running a command with captured streams, writing small
// geometry files, and reading values back out of JSON lines and SVG path data.

#include "../../debug/debugTestKit.h"
#include "tools/cli/Commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

using debugtest::ScratchDir;
using debugtest::slurp;
using debugtest::spit;

struct Outcome {
    int code = -1;
    std::string out, err;
};

// The whole program, as main runs it.
inline Outcome cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Outcome r;
    r.code = arcline::cli::run_arcline(args, out, err);
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

inline std::string num(double v) {
    char s[40];
    std::snprintf(s, sizeof s, "%.17g", v);
    return s;
}
inline std::string p(double x, double y, double z = 0.0) {
    return "p " + num(x) + " " + num(y) + " " + num(z);
}
inline std::string a(double mx, double my, double x, double y) {
    return "a " + num(mx) + " " + num(my) + " 0 " + num(x) + " " + num(y) + " 0";
}

// The unit square from (x, y), anticlockwise unless `clockwise`.
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

// The number after "key": in a JSON line; empty when missing or null.
inline std::optional<double> json_value(const std::string& json, const std::string& key) {
    const std::string head = "\"" + key + "\": ";
    const std::size_t at = json.find(head);
    if (at == std::string::npos || json.compare(at + head.size(), 4, "null") == 0) return std::nullopt;
    return std::stod(json.substr(at + head.size()));
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
    std::size_t i = 0;
    while (i < d.size()) {
        if (std::isalpha(static_cast<unsigned char>(d[i]))) {
            out.push_back({d[i], {}});
            ++i;
            continue;
        }
        if (d[i] == ' ' || d[i] == ',') {
            ++i;
            continue;
        }
        std::size_t used = 0;
        out.back().args.push_back(std::stod(d.substr(i), &used));
        i += used;
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

} // namespace clitest
