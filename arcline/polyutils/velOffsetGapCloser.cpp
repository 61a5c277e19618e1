#include "arcline/polyutils/velOffsetGapCloser.h"

#include "arcline/polyline/velTolerances.h"

#include <cmath>

bool velOffsetGapCloser::no_length(const velAbsSpan& span) {
    if (span.chord_length() > velTol::span_fraction) return false;
    // A tiny chord may close a large arc.
    return !span.is_of_class_arc() || std::fabs(span.get_bulge()) <= 1.0;
}

void velOffsetGapCloser::add_span(velAbsSpancoPrf span, velAbsContour& result,
                                  const velOffsetJoinSettings& settings) {
    if (!span || no_length(*span)) return;
    if (result.size() > 0) {
        const velAbsSpancoPrf last = result.last_span();
        const giPoint3 E = last->end_point(), S0 = span->start_point();
        const double dx = S0.x - E.x, dy = S0.y - E.y, gap2 = dx * dx + dy * dy;
        if (gap2 > 0.0 && gap2 <= settings.tol * settings.tol) {
            const double before = last->get_length(), after = span->get_length();
            const double t = before + after > 0.0 ? before / (before + after) : 0.5;
            const giPoint3 Q = E.interpolate(S0, t);
            last->copy_to_end_point(Q);
            span->copy_to_start_point(Q);
            if (no_length(*span)) {
                last->copy_to_end_point(span->end_point());
                return;
            }
            if (no_length(*last)) result.remove_end_span();
        } else if (gap2 > 0.0) {
            velAbsSpancoPrf bridge = span->create_line_span(E, S0);
            settings.dress_corner_span(*bridge, *last, *span);
            result.append(bridge);
        }
    }
    result.append(span);
}
