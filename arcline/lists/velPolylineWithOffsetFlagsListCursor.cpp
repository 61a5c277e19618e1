#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"

#include "arcline/polyline/contour/velCursorContour.h"

#include <algorithm>
#include <cmath>

namespace {
velOffsetInfocoPageArrcoPrf new_flags() {
    return std::make_shared<velOffsetInfocoPageArr>(velPolylineWithOffsetFlagsListCursor::flag_page_factor);
}
} // namespace

velPolylineWithOffsetFlagsListCursor::velPolylineWithOffsetFlagsListCursor(utPtrClaim,
                                                                           velPolylineListCursor* inner)
    : m_inner(inner) {
    velOffsetInfocoPageArrcoPrfcoDListcoCursor w(m_flags);
    for (int k = 0; k < m_inner->size(); ++k)
        w.insert_last(new_flags());
    m_view = new velPolylineWithOffsetFlagsListIter(m_inner->iterator(), m_flags);
    set_iterator(m_view, 1);
}

// The base deletes the view after the inner cursor is gone; the view does not touch what it wraps when
// it is deleted.
velPolylineWithOffsetFlagsListCursor::~velPolylineWithOffsetFlagsListCursor() = default;

velOffsetInfocoPageArrcoPrfcoDListcoCursor velPolylineWithOffsetFlagsListCursor::flag_writer() {
    if (m_view->m_flag_pos.index() != index()) m_view->sync_offset_flags_with_iter();
    velOffsetInfocoPageArrcoPrfcoDListcoCursor w(m_flags);
    w.become(m_view->m_flag_pos);
    return w;
}

velOffsetInfocoPageArr& velPolylineWithOffsetFlagsListCursor::writable_flags() {
    velOffsetInfocoPageArrcoPrfcoDListcoCursor w = flag_writer();
    if (!*w) *w = new_flags();
    return **w;
}

void velPolylineWithOffsetFlagsListCursor::write_record(int span, const velOffsetInfo& info) {
    if (index() < 0 || span < 0) return;
    velOffsetInfocoPageArr& flags = writable_flags();
    if (m_contour_lock && span < flags.size()) return;
    flags.enter(span) = info;
}

void velPolylineWithOffsetFlagsListCursor::write_new_spans(int before, const velOffsetInfo& last) {
    const int after = num_pos();
    for (int span = std::max(before - 1, 0); span + 1 < after; ++span)
        write_record(span, span + 2 == after ? last : velOffsetInfo());
}

velAbsContourcoPrf velPolylineWithOffsetFlagsListCursor::get_current() {
    velAbsContourcoPrf contour = m_inner->get_current();
    if (auto* view = dynamic_cast<velCursorContour*>(contour.get())) {
        writable_flags();
        view->adopt_flags(get_current_flags());
    }
    return contour;
}

void velPolylineWithOffsetFlagsListCursor::create_polyline() {
    velOffsetInfocoPageArrcoPrfcoDListcoCursor w = flag_writer();
    m_inner->create_polyline();
    w.insert_after(new_flags());
}

void velPolylineWithOffsetFlagsListCursor::add_pos(const velPolylineListIter& src, int i) {
    const int before = num_pos();
    m_inner->add_pos(src, i);
    write_new_spans(before, velOffsetInfo());
}

void velPolylineWithOffsetFlagsListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    const int before = num_pos();
    m_inner->add_interpolated_pos(src, t);
    write_new_spans(before, velOffsetInfo());
}

void velPolylineWithOffsetFlagsListCursor::add_span(const velPolylineListIter& src, double t0, double t1) {
    velOffsetInfo record;
    if (const auto* flagged = velPolylineListIterWithOffsetFlags::ut_dynamic_cast(&src)) {
        const int span = static_cast<int>(std::floor(std::min(t0, t1)));
        if (span >= 0 && span + 1 < src.num_pos()) flagged->get_offset_info(span, record);
    }
    const int before = num_pos();
    m_inner->add_span(src, t0, t1);
    write_new_spans(before, record);
}

void velPolylineWithOffsetFlagsListCursor::remove() {
    if (index() < 0) return;
    velOffsetInfocoPageArrcoPrfcoDListcoCursor w = flag_writer();
    m_inner->remove();
    w.remove(); // onto the array before
    ++w;        // onto the one that followed, or the head: where the inner cursor now stands
    m_view->m_flag_pos.become(w);
    if (m_view->m_flag_pos.index() != index()) m_view->sync_offset_flags_with_iter();
}

void velPolylineWithOffsetFlagsListCursor::move_polyline_after(velPolylineListCursor& other) {
    if (&other == this || other.index() < 0) return;
    velOffsetInfocoPageArrcoPrf moved;
    if (auto* flagged = dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(&other)) {
        moved = flagged->get_current_flags();
        velOffsetInfocoPageArrcoPrfcoDListcoCursor from = flagged->flag_writer();
        m_inner->move_polyline_after(*flagged->m_inner);
        from.remove();
        ++from;
        flagged->m_view->m_flag_pos.become(from);
        if (flagged->m_view->m_flag_pos.index() != flagged->index())
            flagged->m_view->sync_offset_flags_with_iter();
    } else {
        m_inner->move_polyline_after(other);
    }
    flag_writer().insert_after(moved ? moved : new_flags());
}

velPolylineListCursor* velPolylineWithOffsetFlagsListCursor::create_empty() const {
    return new velPolylineWithOffsetFlagsListCursor(ut_ptr_claim, m_inner->create_empty());
}

void velPolylineWithOffsetFlagsListCursor::set_offset_flag(int span, int temporary, int position,
                                                           velSpanSide side) {
    if (index() < 0 || span < 0) return;
    writable_flags().enter(span) = velOffsetInfo{temporary, position, side};
}

velOffsetInfocoPageArrcoPrf velPolylineWithOffsetFlagsListCursor::get_current_flags() const {
    const auto& pos = m_view->m_flag_pos;
    if (pos.index() < 0 || pos.index() != index()) return {};
    return pos.current();
}

void velPolylineWithOffsetFlagsListCursor::set_current_flags(velOffsetInfocoPageArrcoPrf& flags) {
    if (index() < 0) return;
    *flag_writer() = flags;
    m_contour_lock = 1;
}

void velPolylineWithOffsetFlagsListCursor::append_offset_flags(
    const velPolylineListIterWithOffsetFlags& other) {
    if (index() < 0) return;
    velOffsetInfocoPageArr& flags = writable_flags();
    for (int span = 0; span + 1 < other.num_pos(); ++span) {
        velOffsetInfo record;
        other.get_offset_info(span, record);
        flags.append(record);
    }
    m_contour_lock = 1;
}
