#include "arcline/polyutils/velSpanOffset.h"

#include <cmath>

velAbsSpancoPrf velSpanOffset::straight_copy(const velAbsSpan& span) {
    velAbsSpancoPrf line = span.create_line_span(span.start_point(), span.end_point());
    line->add_properties(span);
    line->set_span_info(span.span_position(), span.offset_label());
    return line;
}

velAbsSpancoPrf velSpanOffset::offset_span(double offset, double ctol, int span_info,
                                           const velAbsSpan& span) {
    velAbsSpancoPrf moved = span.offset(offset);
    if (!moved) return moved;
    if (moved->is_temp_line_span() && span.is_of_class_arc() &&
        std::fabs(span.get_bulge() * span.chord_length() * 0.5) < ctol)
        moved = straight_copy(span)->offset(offset);
    // Arcs are remade by the span factory, which knows nothing of the source's label.
    if (span_info)
        moved->set_span_info(span.span_position(), span.offset_label());
    else
        moved->remove_span_info();
    return moved;
}
