#pragma once
// Appending the spans of a raw offset one by one, so that the result stays connected: a span that starts
// a little away from where the result ends is joined to it by moving both ends to a common point, one that
// starts farther away is joined by a bridging line.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyutils/velOffsetJoinSettings.h"

class velOffsetGapCloser {
public:
    // Appends `span` to `result`:
    // - nothing for a null span or one of no length (chord within velTol::span_fraction; an arc longer than
    //   a half circle with such a chord is kept);
    // - with the gap g between the end E of result's last span L and the span's start S0, measured in XY:
    //   0 < g <= settings.tol: E and S0 both move to E + t (S0 - E), t = length(L) / (length(L) +
    //   length(span)), so the longer span moves less. When the span then has no length, L ends at the
    //   span's end instead and the span is dropped; when L has no length it is removed from the result;
    //   g > settings.tol: a bridging line E -> S0, with the properties of L and the span (and its corner
    //   label with settings.span_info), is appended first;
    // - then the span, unless dropped. The result keeps the span object itself where the contour keeps
    //   span objects (velSpanVectorContour).
    static void add_span(velAbsSpancoPrf span, velAbsContour& result, const velOffsetJoinSettings& settings);
    // The span has no length for joining: its chord is at most velTol::span_fraction, unless it is an arc
    // longer than a half circle.
    static bool no_length(const velAbsSpan& span);

private:
    velOffsetGapCloser() = default;
};
