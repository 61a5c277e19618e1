#include "bench/compare/Operations.h"

#include "bench/compare/Report.h"
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

// Adds a timed row and returns its index (rows move as the table grows: hold indices, not references).
std::size_t timed(Session& s, const Workload& w, const std::string& operation, const char* library,
                  const Measured& m, bool value_is_count = false) {
    Row r;
    r.workload = w.name;
    r.operation = operation;
    r.library = library;
    r.m = m;
    r.value_is_count = value_is_count;
    s.rows.push_back(r);
    return s.rows.size() - 1;
}

void untimed(Session& s, const Workload& w, const std::string& operation, const char* library, RowKind kind) {
    Row r;
    r.workload = w.name;
    r.operation = operation;
    r.library = library;
    r.kind = kind;
    s.rows.push_back(r);
}

// The workload's heading: what arcline reads and what the peers get.
void heading(Session& s, const Workload& w) {
    const auto closed =
        std::count_if(w.chains.begin(), w.chains.end(), [](const Chain& c) { return c.closed; });
    std::string text = w.name + ": " + std::to_string(w.chains.size()) +
                       (w.chains.size() == 1 ? " polyline (" : " polylines (") + std::to_string(closed) +
                       " closed), " + std::to_string(w.spans) + " spans (" + std::to_string(w.arc_spans) +
                       " arcs)";
    if (closed > 0) text += ", exact area " + format_number("%.4f", w.exact_area);
    text += "; as chords " + std::to_string(w.chord_vertices) + " vertices";
    if (closed > 0) text += ", area " + format_number("%.4f", w.chord_area);
    s.headings.push_back({s.rows.size(), text});
}

void check_input_area(Session& s, const Workload& w, const std::string& what, double got, double want) {
    s.checks.input_near(w.name, what, got, want, expected::input_area_relative * std::abs(want));
}

void segments(const Workload& w, Session& s) {
    heading(s, w);
    const std::string op = "crossings";
    announce(s, w.name, op, arcline_name);
    const std::size_t a = timed(s, w, op, arcline_name, arcline_side::crossings(w, s.repeat), true);
    s.checks.equal(s.rows[a], "pairs of segments that meet", std::llround(s.rows[a].m.answer.value),
                   expected::segments_meeting_pairs);
    announce(s, w.name, op, geos_name);
    const std::size_t g = timed(s, w, op, geos_name, geos_side::crossings(w, s.repeat), true);
    s.rows[g].ratio = s.rows[g].m.timing.median_ms / s.rows[a].m.timing.median_ms;
    s.checks.equal(s.rows[g], "pairs of segments that meet", std::llround(s.rows[g].m.answer.value),
                   expected::segments_meeting_pairs);
    untimed(s, w, op, clipper_name, RowKind::not_available);
}

// The second peer's answer against the first's: the same region within what chords allow both.
void compare_peers(Session& s, std::size_t clipper, std::size_t geos, double tolerance) {
    const Answer c = s.rows[clipper].m.answer, g = s.rows[geos].m.answer;
    s.checks.near(s.rows[clipper], "area against GEOS's", c.value, g.value, tolerance, &s.rows[geos]);
    s.checks.equal(s.rows[clipper], "loops against GEOS's", c.loops, g.loops, &s.rows[geos]);
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
    // Rows of each library's AND, OR and NOT, for the identities.
    std::size_t own[3] = {}, geos[3] = {}, clipper[3] = {};
    for (int i = 0; i < 3; ++i) {
        announce(s, w.name, ops[i].name, arcline_name);
        own[i] = timed(s, w, ops[i].name, arcline_name, arcline_side::boolean(w, ops[i].op, s.repeat));
        announce(s, w.name, ops[i].name, geos_name);
        geos[i] = timed(s, w, ops[i].name, geos_name, geos_side::boolean(w, ops[i].op, s.repeat));
        announce(s, w.name, ops[i].name, clipper_name);
        clipper[i] = timed(s, w, ops[i].name, clipper_name, clipper_side::boolean(w, ops[i].op, s.repeat));
        for (const std::size_t peer : {geos[i], clipper[i]})
            s.rows[peer].ratio = s.rows[peer].m.timing.median_ms / s.rows[own[i]].m.timing.median_ms;
        // The same chords in, the same region out: only rounding tells them apart.
        compare_peers(s, clipper[i], geos[i],
                      2.0 * expected::rounding_width *
                          std::max(s.rows[clipper[i]].m.answer.length, s.rows[geos[i]].m.answer.length));
        // Exact arcs against GEOS's chords: the same loops, the area within the chords' slack.
        const Answer g = s.rows[geos[i]].m.answer, a = s.rows[own[i]].m.answer;
        s.checks.near(s.rows[own[i]], "area against GEOS's", a.value, g.value, chord_slack(g.length),
                      &s.rows[geos[i]]);
        s.checks.equal(s.rows[own[i]], "loops against GEOS's", a.loops, g.loops, &s.rows[geos[i]]);
    }
    // Arcline's identities on the exact areas: only the summation's rounding separates the two sides.
    {
        Row &and_row = s.rows[own[0]], &or_row = s.rows[own[1]], &not_row = s.rows[own[2]];
        const double exact_a = w.exact_areas[0], exact_b = w.exact_areas[1];
        const double exact = expected::input_area_relative * (exact_a + exact_b);
        s.checks.near(or_row, "area(A OR B) + area(A AND B) against the exact area(A) + area(B)",
                      or_row.m.answer.value + and_row.m.answer.value, exact_a + exact_b, exact, &and_row);
        s.checks.near(not_row, "area(A NOT B) against the exact area(A) - area(A AND B)",
                      not_row.m.answer.value, exact_a - and_row.m.answer.value, exact, &and_row);
    }
    // area(A OR B) + area(A AND B) = area(A) + area(B) on the peer's own input, and within the chord slack of
    // the exact areas; area(A NOT B) = area(A) - area(A AND B).
    auto identities = [&](const std::size_t(&rows)[3]) {
        Row &and_row = s.rows[rows[0]], &or_row = s.rows[rows[1]], &not_row = s.rows[rows[2]];
        const double sum = or_row.m.answer.value + and_row.m.answer.value;
        s.checks.near(or_row, "area(A OR B) + area(A AND B) against area(A) + area(B) of its chords", sum,
                      chord_a + chord_b, rounding, &and_row);
        s.checks.near(or_row, "area(A OR B) + area(A AND B) against the exact area(A) + area(B)", sum,
                      expected::region_a_area + expected::region_b_area, chord_slack(both_lengths), &and_row);
        s.checks.near(not_row, "area(A NOT B) against area(A) - area(A AND B) of its chords",
                      not_row.m.answer.value, chord_a - and_row.m.answer.value, rounding, &and_row);
    };
    identities(geos);
    identities(clipper);
}

void circles(const Workload& w, Session& s) {
    heading(s, w);
    check_input_area(s, w, "sum of the circles' areas", w.exact_area, expected::circles_input_area);
    const std::string op = "union";
    announce(s, w.name, op, arcline_name);
    const std::size_t own = timed(s, w, op, arcline_name, arcline_side::union_all(w, s.repeat));
    // Exact arcs: the known area to its rounding, no chord error.
    s.checks.near(s.rows[own], "union area", s.rows[own].m.answer.value, expected::circles_union_area,
                  expected::circles_union_area_rounding);
    for (const auto& [library, run] :
         {std::pair{geos_name, &geos_side::union_all}, std::pair{clipper_name, &clipper_side::union_all}}) {
        announce(s, w.name, op, library);
        const std::size_t r = timed(s, w, op, library, run(w, s.repeat));
        const Answer a = s.rows[r].m.answer;
        s.checks.near(s.rows[r], "union area", a.value, expected::circles_union_area,
                      chord_slack(a.length) + expected::circles_union_area_rounding);
        s.rows[r].ratio = s.rows[r].m.timing.median_ms / s.rows[own].m.timing.median_ms;
    }
    const std::size_t clipper = s.rows.size() - 1, geos = clipper - 1;
    s.checks.equal(s.rows[own], "loops against GEOS's", s.rows[own].m.answer.loops,
                   s.rows[geos].m.answer.loops, &s.rows[geos]);
    s.checks.equal(s.rows[clipper], "loops against GEOS's", s.rows[clipper].m.answer.loops,
                   s.rows[geos].m.answer.loops, &s.rows[geos]);
}

void blob(const Workload& w, Session& s) {
    heading(s, w);
    check_input_area(s, w, "area", w.exact_area, expected::blob_area);
    for (const double d : {2.0, -2.0}) {
        const std::string op = format_number("offset %+.0f", d);
        announce(s, w.name, op, arcline_name);
        const std::size_t a = timed(s, w, op, arcline_name, arcline_side::offset(w, d, s.repeat));
        announce(s, w.name, op, geos_name);
        const std::size_t g = timed(s, w, op, geos_name, geos_side::offset(w, d, s.repeat));
        announce(s, w.name, op, clipper_name);
        const std::size_t c = timed(s, w, op, clipper_name, clipper_side::offset(w, d, s.repeat));
        for (const std::size_t peer : {g, c})
            s.rows[peer].ratio = s.rows[peer].m.timing.median_ms / s.rows[a].m.timing.median_ms;
        compare_peers(s, c, g, peer_slack(s.rows[c].m.answer, s.rows[g].m.answer));
        // Exact arcs against GEOS's chords: one loop each, the area within the chords' slack.
        const Answer own = s.rows[a].m.answer, geos = s.rows[g].m.answer;
        s.checks.near(s.rows[a], "area against GEOS's", own.value, geos.value, chord_slack(geos.length),
                      &s.rows[g]);
        s.checks.equal(s.rows[a], "loops against GEOS's", own.loops, geos.loops, &s.rows[g]);
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
    announce(s, w.name, op, arcline_name);
    const PocketSeries as = arcline_side::pocket(w, step, s.repeat);
    const std::size_t a = timed(s, w, op, arcline_name, as.series, true);
    announce(s, w.name, op, geos_name);
    const PocketSeries gs = geos_side::pocket(w, step, s.repeat);
    const std::size_t g = timed(s, w, op, geos_name, gs.series, true);
    announce(s, w.name, op, clipper_name);
    const PocketSeries cs = clipper_side::pocket(w, step, s.repeat);
    const std::size_t c = timed(s, w, op, clipper_name, cs.series, true);
    for (const std::size_t peer : {g, c})
        s.rows[peer].ratio = s.rows[peer].m.timing.median_ms / s.rows[a].m.timing.median_ms;
    s.checks.equal(s.rows[a], "non-empty levels against GEOS's", std::llround(as.series.answer.value),
                   std::llround(gs.series.answer.value), &s.rows[g]);
    s.checks.equal(s.rows[c], "non-empty levels against GEOS's", std::llround(cs.series.answer.value),
                   std::llround(gs.series.answer.value), &s.rows[g]);
    for (std::size_t i = 0; i < pocket_levels_shown.size(); ++i) {
        const std::string level = "level k=" + std::to_string(pocket_levels_shown[i]);
        for (const auto& [library, answer] :
             {std::pair{arcline_name, as.shown[i]}, std::pair{geos_name, gs.shown[i]},
              std::pair{clipper_name, cs.shown[i]}}) {
            Row r;
            r.workload = w.name;
            r.operation = level;
            r.library = library;
            r.kind = RowKind::part;
            r.m.answer = answer;
            s.rows.push_back(r);
        }
        const std::size_t clipper = s.rows.size() - 1, geos = clipper - 1, own = clipper - 2;
        compare_peers(s, clipper, geos, peer_slack(cs.shown[i], gs.shown[i]));
        s.checks.near(s.rows[own], "area against GEOS's", as.shown[i].value, gs.shown[i].value,
                      chord_slack(gs.shown[i].length), &s.rows[geos]);
        s.checks.equal(s.rows[own], "loops against GEOS's", as.shown[i].loops, gs.shown[i].loops,
                       &s.rows[geos]);
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
