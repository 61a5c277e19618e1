#pragma once
// The corner joins and the gap closing of a raw offset made on values (velRawOffsetSpan): the sharp and
// chamfered corners of velExtendJoin and velChamferJoin, the rounded corner of velRoundJoin and the gap
// closing of velOffsetGapCloser, step for step as they work on span objects (the trimmed corner is
// velRawOffsetMeet::trim). The result is a vector of values that only grows at its end; `prev` is its last
// span, and every join changes `prev` before it appends anything, so the reference is not used after an
// append.

#include "arcline/polyutils/velCornerGeometry.h"
#include "arcline/polyutils/velRawOffsetSpan.h"

#include <vector>

class velRawOffsetJoins {
public:
    using Spans = std::vector<velRawOffsetSpan>;

    struct Settings {
        double offset = 0.0;            // signed offset distance
        double tol = 0.0;               // join tolerance, 0.001 |offset|
        int chamfer = 0;                // chamfer sharp corners that reach too far
        double max_corner_offset = 0.0; // the chamfer limit (negative: none)
        int span_info = 0;              // give corner spans the label of the span after the corner
    };

    // velOffsetGapCloser::add_span: appends `span` to `out`, closing a gap of at most settings.tol by moving
    // both ends, bridging a larger one with a line. True when `span` itself became out's last span (false
    // when it had no length or was merged into the last span).
    static bool add_span(velRawOffsetSpan span, Spans& out, const Settings& settings);
    // velOffsetGapCloser::no_length.
    static bool no_length(const velRawOffsetSpan& span);
    // The label of a span made at a corner before `after` (velOffsetJoinSettings::dress_corner_span).
    static void dress(velRawOffsetSpan& span, const velRawOffsetSpan& after, const Settings& settings);

    // velPolyArcLineOffsetter::extend_spans: a sharp or chamfered join of a convex corner between `prev`
    // (out's last span) and `cur`; 0 when the corner is not convex on the offset side or could not be
    // joined so.
    static int extend(velRawOffsetSpan& prev, velRawOffsetSpan& cur, Spans& out, const Settings& settings);

    // velRoundJoin::join: the corner span between the offsets of `before_in` and `after_in`, whose end and
    // start tangents are `t1` and `t2`. `before_collapsed` and `after_collapsed`: the offsets next to the
    // corner (out's last span, and the span to come) are temporary lines where their input is an arc.
    static void round(const velRawOffsetSpan& before_in, const velRawOffsetSpan& after_in,
                      const giVector3& t1, const giVector3& t2, bool before_collapsed, bool after_collapsed,
                      Spans& out, const Settings& settings);

private:
    velRawOffsetJoins() = default;
    // A corner line S -> E labelled for the span after the corner.
    static void add_line(const giPoint3& S, const giPoint3& E, const velRawOffsetSpan& after, Spans& out,
                         const Settings& settings);
    // velExtendJoin::along_circles and create_arc_for_circle.
    static int along_circles(velRawOffsetSpan& prev, velRawOffsetSpan& cur);
    static velRawOffsetSpan arc_for_circle(const velRawOffsetSpan& span, double& r, int which);
    // velChamferJoin::lines and tangent_lines.
    static int chamfer_lines(velRawOffsetSpan& prev, velRawOffsetSpan& cur, const velCornerGeometry& corner,
                             double max, Spans& out, const Settings& settings);
    static int tangent_lines(velRawOffsetSpan& prev, velRawOffsetSpan& cur, const velCornerGeometry& corner,
                             double max, bool chamfer, Spans& out, const Settings& settings);
};
