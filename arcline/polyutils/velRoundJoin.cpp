#include "arcline/polyutils/velRoundJoin.h"

#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velOffsetGapCloser.h"

#include <cmath>

namespace {

giVector3 right_normal(const giVector3& v) {
    return {v.y(), -v.x(), 0.0};
}

double xy_length(const giVector3& v) {
    return std::sqrt(v.x() * v.x() + v.y() * v.y());
}

// The point of the circle of radius |offset| about P in the direction of W.
giPoint3 far_point(const giPoint3& P, const giVector3& W, double offset) {
    return P + W * (std::fabs(offset) / xy_length(W));
}

} // namespace

bool velRoundJoin::arc_offset_collapsed(const velAbsSpan& in, const velAbsSpancoPrf& off) {
    return in.is_of_class_arc() && off && off->is_temp_line_span();
}

velAbsSpancoPrf velRoundJoin::chord_and_average_tangent_aligned(const velAbsSpan& factory, const giPoint3& P,
                                                                const giPoint3& A, const giPoint3& B,
                                                                const giVector3& W, double offset,
                                                                double tol) {
    if (xy_length(B - A) <= tol || xy_length(W) <= velTol::span_fraction)
        return factory.create_line_span(A, B);
    return factory.create_arc_span(A, B, far_point(P, W, offset));
}

velAbsSpancoPrf velRoundJoin::chord_and_average_tangent_opposed(
    const velAbsSpan& before_in, const velAbsSpan& after_in, const velAbsSpancoPrf& before_off,
    const velAbsSpancoPrf& after_off, const giPoint3& P, const giPoint3& A, const giPoint3& B,
    const giVector3& W, double offset) {
    const bool raster = before_in.is_raster_span() || after_in.is_raster_span();
    const bool arc = before_in.is_of_class_arc() || after_in.is_of_class_arc();
    if (raster || !arc) return after_in.create_temp_line_span(A, B);
    const bool collapsed =
        arc_offset_collapsed(before_in, before_off) || arc_offset_collapsed(after_in, after_off);
    if (collapsed && !A.coincident(B, velTol::span_fraction)) return after_in.create_temp_line_span(A, B);
    return after_in.create_arc_span(A, B, far_point(P, W, offset));
}

void velRoundJoin::split_long_arc(velAbsSpancoPrf& arc, const giVector3& W, double offset,
                                  const velAbsSpan& before_in, const velAbsSpan& after_in,
                                  velAbsContour& result, const velOffsetJoinSettings& settings) {
    const giPoint3 M = arc->mid_point() - W * (velTol::corner_split_pull * std::fabs(offset) / xy_length(W));
    arc->set_arcspan_mid_point(M);
    arc->set_arc_span_temp_state(1);
    velAbsSpancoPrf first = arc->create_new();
    first->trim(0.0, 0.5);
    first->copy_to_end_point(M);
    settings.dress_corner_span(*first, before_in, after_in);
    velOffsetGapCloser::add_span(first, result, settings);
    arc->trim(0.5, 1.0);
    arc->copy_to_start_point(M);
}

void velRoundJoin::join(const velAbsSpancoPrf& before_in, const velAbsSpancoPrf& after_in,
                        const velAbsSpancoPrf& before_off, const velAbsSpancoPrf& after_off,
                        velAbsContour& result, const velOffsetJoinSettings& settings) {
    if (!before_in || !after_in) return;
    const giPoint3 P = before_in->end_point();
    const giVector3 T1 = before_in->end_vector(), T2 = after_in->start_vector();
    // A span of no length has no tangent: no corner to round.
    if (xy_length(T1) == 0.0 || xy_length(T2) == 0.0) return;
    const giPoint3 A = P + right_normal(T1) * settings.offset, B = P + right_normal(T2) * settings.offset;
    const giVector3 D = B - A;
    if (xy_length(D) < velTol::span_fraction) return;
    const giVector3 S = T1 + T2, W = T1 - T2;
    const bool aligned = D.x() * S.x() + D.y() * S.y() > 0.0 || xy_length(S) < velTol::corner_reversal;
    // An overlap whose ends lie within the join tolerance is a kink of a few microradians that the span
    // intersection missed (the offsets cross so nearly tangentially that they count as touching): the gap
    // closing joins the ends, where an arc round the back of the corner would make a loop of the offset's
    // size out of nothing.
    if (!aligned && xy_length(D) <= settings.tol) return;
    velAbsSpancoPrf corner;
    if (aligned) {
        corner = chord_and_average_tangent_aligned(*after_in, P, A, B, W, settings.offset, settings.tol);
    } else {
        corner = chord_and_average_tangent_opposed(*before_in, *after_in, before_off, after_off, P, A, B, W,
                                                   settings.offset);
        if (corner->is_of_class_arc() && std::fabs(corner->get_bulge()) > 1.0)
            split_long_arc(corner, W, settings.offset, *before_in, *after_in, result, settings);
    }
    settings.dress_corner_span(*corner, *before_in, *after_in);
    velOffsetGapCloser::add_span(corner, result, settings);
}
