#include "bench/compare/Operations.h"

#include "bench/compare/Sides.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace compare {

namespace {

constexpr const char* arcline_name = "arcline";
constexpr const char* geos_name = "GEOS";
constexpr const char* clipper_name = "Clipper";

// How far a peer's area may lie from the exact one: its chords (of the input, and of the round corners it
// adds) stay within the chord deviation of the exact boundary, so the slivers between them cover at most
// the deviation times the boundary's length; the rounding of coordinates adds its own width.
double chord_slack(double boundary_length) {
    return (chord_deviation + expected::rounding_width) * boundary_length;
}

// Two peers that each lie within the chord slack of the exact area lie within twice of each other.
double peer_slack(const Answer& a, const Answer& b) {
    return 2.0 * chord_slack(std::max(a.length, b.length));
}

void announce(const Session& s, const std::string& workload, const std::string& operation,
              const std::string& library) {
    if (s.progress)
        std::cerr << "arcline_compare: " << workload << ' ' << operation << ' ' << library << '\n';
}

// Adds a timed row; the reference holds until the next row is added.
Row& timed(Session& s, const Workload& w, const std::string& operation, const char* library,
           const Measured& m, bool value_is_count = false) {
    Row r;
    r.workload = w.name;
    r.operation = operation;
    r.library = library;
    r.m = m;
    r.value_is_count = value_is_count;
    s.rows.push_back(r);
    return s.rows.back();
}

void untimed(Session& s, const Workload& w, const std::string& operation, const char* library, RowKind kind) {
    Row r;
    r.workload = w.name;
    r.operation = operation;
    r.library = library;
    r.kind = kind;
    s.rows.push_back(r);
}

std::string format(const char* spec, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, spec, v);
    return buf;
}

// The workload's heading: what arcline reads and what the peers get.
void heading(Session& s, const Workload& w) {
    const auto closed =
        std::count_if(w.chains.begin(), w.chains.end(), [](const Chain& c) { return c.closed; });
    std::string text = w.name + ": " + std::to_string(w.chains.size()) + " polylines (" +
                       std::to_string(closed) + " closed), " + std::to_string(w.spans) + " spans (" +
                       std::to_string(w.arc_spans) + " arcs)";
    if (closed > 0) text += ", exact area " + format("%.4f", w.exact_area);
    text += "; as chords " + std::to_string(w.chord_vertices) + " vertices";
    if (closed > 0) text += ", area " + format("%.4f", w.chord_area);
    s.headings.push_back({s.rows.size(), text});
}

void check_input_area(Session& s, const Workload& w, const std::string& what, double got, double want) {
    s.checks.input_near(w.name, what, got, want, expected::input_area_relative * std::abs(want));
}

void segments(const Workload& w, Session& s) {
    heading(s, w);
    const std::string op = "crossings";
    announce(s, w.name, op, arcline_name);
    Row& a = timed(s, w, op, arcline_name, arcline_side::crossings(w, s.repeat), true);
    s.checks.equal(a, "pairs of segments that meet", std::llround(a.m.answer.value),
                   expected::segments_meeting_pairs);
    const double arcline_median = a.m.timing.median_ms;
    announce(s, w.name, op, geos_name);
    Row& g = timed(s, w, op, geos_name, geos_side::crossings(w, s.repeat), true);
    g.ratio = g.m.timing.median_ms / arcline_median;
    s.checks.equal(g, "pairs of segments that meet", std::llround(g.m.answer.value),
                   expected::segments_meeting_pairs);
    untimed(s, w, op, clipper_name, RowKind::not_available);
}

void two_regions(const Workload& w, Session& s) {
    heading(s, w);
    if (w.chains.size() < 2) {
        s.checks.input_near(w.name, "polylines", static_cast<double>(w.chains.size()), 2.0, 0.0);
        return;
    }
    check_input_area(s, w, "area of A", w.exact_areas[0], expected::region_a_area);
    check_input_area(s, w, "area of B", w.exact_areas[1], expected::region_b_area);
    const double chord_a = signed_area(w.chains[0]), chord_b = signed_area(w.chains[1]);
    const double both_lengths = length(w.chains[0]) + length(w.chains[1]);
    const double rounding = expected::rounding_width * both_lengths;

    struct Op {
        BooleanOp op;
        const char* name;
    };
    const Op ops[] = {
        {BooleanOp::a_and_b, "A AND B"}, {BooleanOp::a_or_b, "A OR B"}, {BooleanOp::a_not_b, "A NOT B"}};
    // Areas of each peer's AND, OR and NOT, for the identities.
    Answer geos[3], clipper[3];
    std::size_t geos_rows[3] = {}, clipper_rows[3] = {};
    for (int i = 0; i < 3; ++i) {
        untimed(s, w, ops[i].name, arcline_name, RowKind::not_yet);
        announce(s, w.name, ops[i].name, geos_name);
        geos[i] = timed(s, w, ops[i].name, geos_name, geos_side::boolean(w, ops[i].op, s.repeat)).m.answer;
        geos_rows[i] = s.rows.size() - 1;
        announce(s, w.name, ops[i].name, clipper_name);
        Row& c = timed(s, w, ops[i].name, clipper_name, clipper_side::boolean(w, ops[i].op, s.repeat));
        clipper[i] = c.m.answer;
        clipper_rows[i] = s.rows.size() - 1;
        s.checks.near(c, "area against GEOS's", clipper[i].value, geos[i].value,
                      2.0 * expected::rounding_width * std::max(clipper[i].length, geos[i].length));
        s.checks.equal(c, "loops against GEOS's", clipper[i].loops, geos[i].loops);
    }
    // area(A OR B) + area(A AND B) = area(A) + area(B) on the peer's own input, and within the chord slack of
    // the exact areas; area(A NOT B) = area(A) - area(A AND B).
    auto identities = [&](const Answer(&r)[3], const std::size_t(&rows)[3]) {
        Row& or_row = s.rows[rows[1]];
        s.checks.near(or_row, "area(A OR B) + area(A AND B) against area(A) + area(B) of its chords",
                      r[1].value + r[0].value, chord_a + chord_b, rounding);
        s.checks.near(or_row, "area(A OR B) + area(A AND B) against the exact area(A) + area(B)",
                      r[1].value + r[0].value, expected::region_a_area + expected::region_b_area,
                      chord_slack(both_lengths));
        // The AND row takes part in the sum: it shares the verdict.
        Row& and_row = s.rows[rows[0]];
        if (and_row.check != "MISMATCH") and_row.check = or_row.check;
        s.checks.near(s.rows[rows[2]], "area(A NOT B) against area(A) - area(A AND B) of its chords",
                      r[2].value, chord_a - r[0].value, rounding);
    };
    identities(geos, geos_rows);
    identities(clipper, clipper_rows);
}

void circles(const Workload& w, Session& s) {
    heading(s, w);
    check_input_area(s, w, "sum of the circles' areas", w.exact_area, expected::circles_input_area);
    const std::string op = "union";
    untimed(s, w, op, arcline_name, RowKind::not_yet);
    announce(s, w.name, op, geos_name);
    const Answer g = timed(s, w, op, geos_name, geos_side::union_all(w, s.repeat)).m.answer;
    s.checks.near(s.rows.back(), "union area", g.value, expected::circles_union_area,
                  chord_slack(g.length) + expected::circles_union_area_rounding);
    announce(s, w.name, op, clipper_name);
    Row& c = timed(s, w, op, clipper_name, clipper_side::union_all(w, s.repeat));
    s.checks.near(c, "union area", c.m.answer.value, expected::circles_union_area,
                  chord_slack(c.m.answer.length) + expected::circles_union_area_rounding);
    s.checks.equal(c, "loops against GEOS's", c.m.answer.loops, g.loops);
}

void blob(const Workload& w, Session& s) {
    heading(s, w);
    check_input_area(s, w, "area", w.exact_area, expected::blob_area);
    for (const double d : {2.0, -2.0}) {
        const std::string op = format("offset %+.0f", d);
        untimed(s, w, op, arcline_name, RowKind::not_yet);
        announce(s, w.name, op, geos_name);
        const Answer g = timed(s, w, op, geos_name, geos_side::offset(w, d, s.repeat)).m.answer;
        announce(s, w.name, op, clipper_name);
        Row& c = timed(s, w, op, clipper_name, clipper_side::offset(w, d, s.repeat));
        s.checks.near(c, "area against GEOS's", c.m.answer.value, g.value, peer_slack(c.m.answer, g));
        s.checks.equal(c, "loops against GEOS's", c.m.answer.loops, g.loops);
    }
}

void pocket(const Workload& w, Session& s) {
    heading(s, w);
    const double outer =
        w.exact_areas.empty() ? 0.0 : *std::max_element(w.exact_areas.begin(), w.exact_areas.end());
    check_input_area(s, w, "area of the outer boundary", outer, expected::pocket_outer_area);
    check_input_area(s, w, "area of the region", w.exact_area, expected::pocket_net_area);
    const std::string op = "offsets to empty";
    constexpr double step = 1.0;
    untimed(s, w, op, arcline_name, RowKind::not_yet);
    announce(s, w.name, op, geos_name);
    const PocketSeries g = geos_side::pocket(w, step, s.repeat);
    timed(s, w, op, geos_name, g.series, true);
    announce(s, w.name, op, clipper_name);
    const PocketSeries c = clipper_side::pocket(w, step, s.repeat);
    s.checks.equal(timed(s, w, op, clipper_name, c.series, true), "non-empty levels against GEOS's",
                   std::llround(c.series.answer.value), std::llround(g.series.answer.value));
    for (std::size_t i = 0; i < pocket_levels_shown.size(); ++i) {
        const std::string level = "level k=" + std::to_string(pocket_levels_shown[i]);
        Row gr;
        gr.workload = w.name;
        gr.operation = level;
        gr.library = geos_name;
        gr.kind = RowKind::part;
        gr.m.answer = g.shown[i];
        s.rows.push_back(gr);
        Row cr = gr;
        cr.library = clipper_name;
        cr.m.answer = c.shown[i];
        s.checks.near(cr, "area against GEOS's", c.shown[i].value, g.shown[i].value,
                      peer_slack(c.shown[i], g.shown[i]));
        s.checks.equal(cr, "loops against GEOS's", c.shown[i].loops, g.shown[i].loops);
        s.rows.push_back(cr);
    }
}

} // namespace

const std::vector<WorkloadKind>& workload_kinds() {
    static const std::vector<WorkloadKind> kinds = {{"segments_20k", segments},
                                                    {"two_regions", two_regions},
                                                    {"circles_2k", circles},
                                                    {"blob_10k", blob},
                                                    {"pocket", pocket}};
    return kinds;
}

} // namespace compare
