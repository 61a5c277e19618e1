#include "arcline/polyutils/velOffsetWorkingCopy.h"

#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/contour/velFreeSpan.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

#include <vector>

namespace {

// Record k of `records`; the default record past its end or without records.
velOffsetInfo record(const velOffsetInfocoPageArrcoPrf& records, int k) {
    return records && k < records->size() ? (*records)[k] : velOffsetInfo();
}

} // namespace

int velOffsetWorkingCopy::read(const velAbsContour& contour, velSpanVectorContour& spans) {
    const auto* adapter = dynamic_cast<const velPolyArcLineAdapter*>(&contour);
    if (!adapter) return 0;
    const velAbsPolyArcLine& line = adapter->polyarcline();
    // Temporary flags live in the current records; labels in the constant records when there are some.
    const velOffsetInfocoPageArrcoPrf current = adapter->current_flags();
    const velOffsetInfocoPageArrcoPrf& constant = adapter->constant_flags();
    const int n = line.num_spans();
    // The copies sit side by side in one block that the span pointers share: no allocation per span.
    auto block = std::make_shared<std::vector<velFreeSpan>>();
    block->reserve(static_cast<std::size_t>(n));
    spans.reserve_spans(n);
    giPoint3 start, end, mid;
    if (n > 0) line.get_pos(1, start);
    for (int i = 1; i <= n; ++i, start = end) {
        line.get_pos(i + 1, end);
        const int arc = !line.span_linear(i);
        if (arc) line.get_mid_pos(i, mid);
        const velOffsetInfo flags = record(current, i - 1);
        const velOffsetInfo label = constant ? record(constant, i - 1) : flags;
        if (flags.temporary_span && !arc)
            block->emplace_back(*velFreeSpan(start, end).create_temp_line_span(start, end));
        else
            block->emplace_back(start, end, arc ? mid : giPoint3());
        velFreeSpan& span = block->back();
        if (flags.temporary_span && arc) span.set_arc_span_temp_state(1);
        span.set_span_info(label.span_position, label.span_side);
        spans.append(velAbsSpancoPrf(block, &span));
    }
    return 1;
}

velAbsContourcoPrf velOffsetWorkingCopy::write(const velAbsContour& kind,
                                               std::shared_ptr<velSpanVectorContour> spans) {
    if (dynamic_cast<const velSpanVectorContour*>(&kind)) return spans;
    const auto* adapter = dynamic_cast<const velPolyArcLineAdapter*>(&kind);
    if (!adapter) {
        velAbsContourcoPrf out = kind.clone();
        for (const velAbsSpancoPrf& span : spans->spans())
            out->append(span);
        return out;
    }
    std::unique_ptr<velAbsPolyArcLine> line(adapter->polyarcline().create_empty());
    const int arcs = line->can_hold_arcs();
    line->reserve(spans->size() + 1);
    auto records =
        std::make_shared<velOffsetInfocoPageArr>(velPolylineWithOffsetFlagsListCursor::flag_page_factor);
    for (const velAbsSpancoPrf& span : spans->spans()) {
        const int arc = span->is_of_class_arc();
        if (arc && !arcs) continue;
        if (line->num_pos() == 0) line->add_pos(span->start_point());
        if (arc)
            line->add_arc(span->mid_point(), span->end_point());
        else
            line->add_pos(span->end_point());
        velOffsetInfo info;
        info.temporary_span = span->is_temp_line_span() || span->is_temp_arc_span();
        info.span_position = span->span_position();
        info.span_side = span->offset_label();
        records->append(info);
    }
    auto out = ut_make_shared_claiming<velPolyArcLineAdapter>(std::move(line));
    out->adopt_flags(records);
    return out;
}
