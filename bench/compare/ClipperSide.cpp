// The Clipper 6 side: integer coordinates, model units times clipper_side::scale, rounded to the nearest.

#include "bench/compare/Sides.h"

#include <clipper.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace compare::clipper_side {

namespace {

ClipperLib::Path path(const Chain& c) {
    ClipperLib::Path p;
    p.reserve(c.points.size());
    for (const Point& q : c.points)
        p.emplace_back(std::llround(q.x * scale), std::llround(q.y * scale));
    return p;
}

// The rings; their orientation tells outer boundaries (anticlockwise) from holes under the nonzero
// rule, and ClipperOffset reads it the same way.
ClipperLib::Paths closed_paths(const Workload& w) {
    ClipperLib::Paths out;
    for (const Chain& c : w.chains)
        if (c.region()) out.push_back(path(c));
    return out;
}

Answer summary(const ClipperLib::Paths& paths) {
    Answer a{0, 0, 0.0, 0.0};
    for (const ClipperLib::Path& p : paths) {
        a.loops += 1;
        a.size += static_cast<long long>(p.size());
        a.value += ClipperLib::Area(p) / (scale * scale);
        for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
            a.length +=
                std::hypot(static_cast<double>(p[i].X - p[j].X), static_cast<double>(p[i].Y - p[j].Y)) /
                scale;
    }
    return a;
}

} // namespace

std::string version() {
    return std::string("Clipper ") + CLIPPER_VERSION;
}

Measured boolean(const Workload& w, BooleanOp op, int repeat) {
    const ClipperLib::Paths a{path(w.chains.at(0))}, b{path(w.chains.at(1))};
    const ClipperLib::ClipType type = op == BooleanOp::a_and_b  ? ClipperLib::ctIntersection
                                      : op == BooleanOp::a_or_b ? ClipperLib::ctUnion
                                                                : ClipperLib::ctDifference;
    auto [timing, answer] = measure(
        repeat,
        [&] {
            ClipperLib::Clipper c;
            c.AddPaths(a, ClipperLib::ptSubject, true);
            c.AddPaths(b, ClipperLib::ptClip, true);
            ClipperLib::Paths out;
            c.Execute(type, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
            return out;
        },
        summary);
    return {timing, answer};
}

Measured union_all(const Workload& w, int repeat) {
    const ClipperLib::Paths all = closed_paths(w);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            ClipperLib::Clipper c;
            c.AddPaths(all, ClipperLib::ptSubject, true);
            ClipperLib::Paths out;
            c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
            return out;
        },
        summary);
    return {timing, answer};
}

Measured offset(const Workload& w, double d, int repeat) {
    const ClipperLib::Paths all = closed_paths(w);
    auto [timing, answer] = measure(
        repeat,
        [&] {
            ClipperLib::ClipperOffset o(2.0, chord_deviation * scale);
            o.AddPaths(all, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
            ClipperLib::Paths out;
            o.Execute(out, d * scale);
            return out;
        },
        summary);
    return {timing, answer};
}

PocketSeries pocket(const Workload& w, double step, int repeat) {
    const ClipperLib::Paths all = closed_paths(w);
    auto [timing, levels] = measure(
        repeat,
        [&] {
            // One offsetter for the whole series: each Execute offsets the paths added once, from the input.
            ClipperLib::ClipperOffset o(2.0, chord_deviation * scale);
            o.AddPaths(all, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
            std::vector<ClipperLib::Paths> levels;
            for (int k = 1; k <= pocket_level_limit; ++k) {
                ClipperLib::Paths out;
                o.Execute(out, -k * step * scale);
                if (out.empty()) break;
                levels.push_back(std::move(out));
            }
            return levels;
        },
        [](const std::vector<ClipperLib::Paths>& levels) {
            std::vector<Answer> out;
            for (const ClipperLib::Paths& p : levels)
                out.push_back(summary(p));
            return out;
        });
    return pocket_series(timing, levels);
}

} // namespace compare::clipper_side
