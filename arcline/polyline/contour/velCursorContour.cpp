#include "arcline/polyline/contour/velCursorContour.h"

#include <utility>
#include <vector>

velCursorContour::velCursorContour(velPolylineListCursor* inner, int read_only)
    : m_cursor(std::make_unique<velPolylineWithOffsetFlagsListCursor>(ut_ptr_claim, inner)),
      m_read_only(read_only) {
    stand_on_polyline();
}

velCursorContour::~velCursorContour() = default;

void velCursorContour::stand_on_polyline() const {
    if (m_cursor->index() == 0) return;
    m_cursor->reset();
    ++*m_cursor;
}

velPolylineListCursor* velCursorContour::get_cursor() {
    if (m_read_only) return nullptr;
    m_cursor->reset();
    ++*m_cursor;
    return m_cursor.get();
}

void velCursorContour::adopt_flags(velOffsetInfocoPageArrcoPrf records) {
    if (!records) return;
    stand_on_polyline();
    m_cursor->set_current_flags(records);
    // The records describe geometry that is written already: writes through the cursor write records again.
    m_cursor->unset_contour_lock();
}

velCursorContour::SpanRecord velCursorContour::span_record(int i) const {
    stand_on_polyline();
    const auto& view = static_cast<const velPolylineWithOffsetFlagsListIter&>(m_cursor->iterator());
    SpanRecord r{m_const_flags, i - 1, view.temporary_line(i - 1), view.temporary_arc(i - 1)};
    if (r.records) {
        r.records->expand(i);
    } else {
        // Make sure the current records hold span i, so that the label has a record to live in.
        if (!view.offset_info(i - 1)) {
            velOffsetInfo info;
            view.get_offset_info(i - 1, info);
            m_cursor->set_offset_flag(i - 1, info.temporary_span, info.span_position, info.span_side);
        }
        r.records = m_cursor->get_current_flags();
    }
    return r;
}

void velCursorContour::record_appended_span(const velAbsSpan& span) {
    stand_on_polyline();
    const int temporary = span.is_temp_line_span() || span.is_temp_arc_span();
    m_cursor->set_offset_flag(size() - 1, temporary, span.span_position(), span.offset_label());
    if (m_const_flags) {
        velOffsetInfo& label = m_const_flags->enter(size() - 1);
        label.span_position = span.span_position();
        label.span_side = span.offset_label();
    }
    velOffsetInfocoPageArrcoPrf records = m_cursor->get_current_flags();
    if (m_master && m_master->get_current_flags() != records) m_master->set_current_flags(records);
    invalidate_cache();
}

void velCursorContour::clear_records() {
    stand_on_polyline();
    if (velOffsetInfocoPageArrcoPrf records = m_cursor->get_current_flags()) records->clear();
    if (m_const_flags) m_const_flags->clear();
    invalidate_cache();
}

void velCursorContour::copy_records(const velCursorContour& other) {
    const velOffsetInfocoPageArrcoPrf records = other.current_flags();
    if (!records) return;
    stand_on_polyline();
    for (int i = 0; i < records->size(); ++i) {
        const velOffsetInfo& info = (*records)[i];
        m_cursor->set_offset_flag(i, info.temporary_span, info.span_position, info.span_side);
    }
}

giBox2 velCursorContour::compute_box() const {
    stand_on_polyline();
    return m_cursor->iterator().box(vel_2d_box);
}

void velCursorContour::reverse_records(int n) {
    stand_on_polyline();
    for (const velOffsetInfocoPageArrcoPrf& records : {m_cursor->get_current_flags(), m_const_flags}) {
        if (!records || n < 1) continue;
        records->expand(n);
        for (int i = 0, j = n - 1; i < j; ++i, --j)
            std::swap((*records)[i], (*records)[j]);
    }
    invalidate_cache();
}

void velCursorContour::reverse() {
    if (is_read_only()) return;
    const int n = size();
    reverse_geometry();
    reverse_records(n);
}

int velCursorContour::append_span(velAbsSpancoPrf span) {
    if (is_read_only() || !span || !accepts(*span)) return 0;
    append_geometry(*span);
    record_appended_span(*span);
    return 1;
}

int velCursorContour::replace_contour(velAbsContourcoPrf other) {
    if (is_read_only() || !other) return 0;
    if (other.get() == this) return 1;
    const int copy = views_same_polyline(*other);
    std::vector<velAbsSpancoPrf> spans;
    for (int i = 1, n = other->size(); i <= n; ++i) {
        spans.push_back(copy ? other->get_span(i)->create_new() : other->get_span(i));
        if (!accepts(*spans.back())) return 0;
    }
    clear_geometry();
    reserve(static_cast<int>(spans.size()));
    clear_records();
    for (velAbsSpancoPrf& span : spans)
        append_span(span);
    invalidate_cache();
    return 1;
}

void velCursorContour::remove_end_span() {
    const int n = size();
    if (is_read_only() || n == 0) return;
    if (n == 1) {
        clear_geometry();
        clear_records();
        return;
    }
    get_span(n - 1)->copy_to_end_point(last_point());
    drop_last_position();
    stand_on_polyline();
    for (const velOffsetInfocoPageArrcoPrf& records : {m_cursor->get_current_flags(), m_const_flags}) {
        if (records) records->shrink(n - 1);
    }
    invalidate_cache();
}
