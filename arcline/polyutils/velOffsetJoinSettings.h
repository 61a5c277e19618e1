#pragma once
// What the corner joins and the gap closing of a raw offset share: the offset itself, the join tolerance,
// and how new spans are dressed (side labels and offsetting properties). A plain value made by the
// offsetter for one run of offset(); the chamfer limit goes to velChamferJoin itself.

#include "arcline/polyline/spans/velAbsSpan.h"

struct velOffsetJoinSettings {
    // Signed offset distance: positive moves a span to its right (v.y, -v.x), negative to its left.
    double offset = 0.0;
    // Join tolerance: ends of consecutive spans closer than this are joined by moving both; farther apart a
    // bridging line is added. The offsetter sets it to 0.001 |offset|.
    double tol = 0.0;
    // 1: spans made at corners carry the position of the span after the corner and the side derived from
    // its side (corner_side); 0: they carry no label.
    int span_info = 0;
    // 1: spans made at corners receive order properties only (add_order_properties), 0: all properties.
    int keep_order = 0;

    // The side label of a span made at a corner, from the side of the span after the corner: left and right
    // sides give their corner labels, an end cap stays an end cap, anything else gives none.
    static velSpanSide corner_side(velSpanSide after) {
        switch (after) {
        case velSpanSideLeft:
            return velSpanSideLeftCorner;
        case velSpanSideRight:
            return velSpanSideRightCorner;
        case velSpanSideEndCap:
            return velSpanSideEndCap;
        default:
            return velSpanSideNone;
        }
    }

    // Gives a span made at a corner between `before` and `after` their properties and, with span_info,
    // the corner label derived from `after` (nothing when that is none).
    void dress_corner_span(velAbsSpan& span, const velAbsSpan& before, const velAbsSpan& after) const {
        if (keep_order)
            span.add_order_properties(before, after);
        else
            span.add_properties(before, after);
        if (!span_info) return;
        const velSpanSide side = corner_side(after.offset_label());
        if (side != velSpanSideNone) span.set_span_info(after.span_position(), side);
    }
};
