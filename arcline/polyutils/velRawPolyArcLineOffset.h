#pragma once
// The raw offset of a poly-arc-line contour (velPolyArcLineAdapter) made on values: the poly-arc-line and its
// span records are read span by span as values (velRawOffsetSpan), offset and joined in one pass into an
// array of values, and written once into a new poly-arc-line of the same storage class with its records.
// No span object, no allocation per span, and no virtual call per span beyond reading and writing the
// poly-arc-line.
//
// It is velPolyArcLineOffsetter::offset for the spans of a poly-arc-line, which carry no offsetting
// properties (every span is offset, the property hooks do nothing): the same walk, joins, closing and
// cleaning, so that the result equals the one made on span objects up to rounding; the joints of smooth
// outlines are told by velRawOffsetMeet::classify instead of the general span intersection.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyutils/velRawOffsetJoins.h"

class velPolyArcLineAdapter;

class velRawPolyArcLineOffset {
public:
    struct Settings {
        velRawOffsetJoins::Settings joins;
        int extend = 0; // join convex corners sharp (1) or round them (0)
    };

    // The raw offset of `contour`, which has spans and is offset by more than velTol::offset_zero: a new
    // owning view of a poly-arc-line of the contour's storage class holding the result with its span
    // records (velPolyArcLineAdapter::adopt_flags), or null when nothing is left (the contour vanishes, see
    // velOffsetValidity::vanishes, or every span was cleaned away). `changed` is 1 when the spans were
    // offset, 0 when the contour vanished.
    static velAbsContourcoPrf offset(const velPolyArcLineAdapter& contour, const Settings& settings,
                                     int& changed);

private:
    velRawPolyArcLineOffset(const Settings& settings, int input_spans);

    using Spans = velRawOffsetJoins::Spans;

    // The offset of one input span whose end tangents are t0 and t1 (velSpanOffset::offset_span).
    velRawOffsetSpan offset_span(const velRawOffsetSpan& span, const giVector3& t0,
                                 const giVector3& t1) const;
    // velPolyArcLineOffsetter::trim_extend_or_offset between out's last span and `cur`, the offset of
    // `cur_in` (out's first span when closing, then `same` when that is out's last span too). t1 and t2 are
    // the end tangent of `prev_in` and the start tangent of `cur_in`.
    void join(const velRawOffsetSpan& prev_in, const velRawOffsetSpan& cur_in, const giVector3& t1,
              const giVector3& t2, velRawOffsetSpan& cur, bool same);
    // A new poly-arc-line contour of the storage class of `kind` holding `out` cleaned of spans within
    // `tol` of a point (velSpanVectorContour::clean), with the records of the spans; null when none is left.
    static velAbsContourcoPrf write(const velPolyArcLineAdapter& kind, const Spans& out, double tol);

    Settings m_settings;
    int m_input_spans;
    Spans m_out;
};
