#include "arcline/lists/velPolylineWithOffsetFlagsListIter.h"

#include "arcline/polyline/contour/velCursorContour.h"

UT_IMPLEMENT_TYPE_ID(velPolylineWithOffsetFlagsListIter, velPolylineListIterWithOffsetFlags,
                     velPolylineListIter)

velPolylineWithOffsetFlagsListIter::velPolylineWithOffsetFlagsListIter(
    velPolylineListIter& underlying, velOffsetInfocoPageArrcoPrfcoDList& flags)
    : m_underlying(underlying, ut_ptr_wrap), m_flags(&flags), m_flag_pos(flags) {
    sync_offset_flags_with_iter();
}

velPolylineWithOffsetFlagsListIter::~velPolylineWithOffsetFlagsListIter() = default;

void velPolylineWithOffsetFlagsListIter::sync_offset_flags_with_iter() {
    m_flag_pos.reset();
    // An index past the flag list's end leaves the place at the head: no array.
    m_flag_pos.set_index(m_underlying->index());
}

int velPolylineWithOffsetFlagsListIter::size() const {
    return m_underlying->size();
}

void velPolylineWithOffsetFlagsListIter::reset() {
    m_underlying->reset();
    m_flag_pos.reset();
}

int velPolylineWithOffsetFlagsListIter::operator++() {
    const int more = ++*m_underlying;
    const int k = m_underlying->index();
    // In step: one step each. Otherwise (the flag list ran out, or the underlying iterator was moved
    // behind the view's back) find the array afresh.
    if (k >= 0 && m_flag_pos.index() == k - 1) {
        ++m_flag_pos;
    } else {
        sync_offset_flags_with_iter();
    }
    return more;
}

int velPolylineWithOffsetFlagsListIter::num_pos() const {
    return m_underlying->num_pos();
}

giPoint3 velPolylineWithOffsetFlagsListIter::get_pos(int i) const {
    return m_underlying->get_pos(i);
}

int velPolylineWithOffsetFlagsListIter::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velPolylineWithOffsetFlagsListIter::get_mid_pos(int i) const {
    return m_underlying->get_mid_pos(i);
}

double velPolylineWithOffsetFlagsListIter::get_bulge(int i) const {
    return m_underlying->get_bulge(i);
}

giBox2 velPolylineWithOffsetFlagsListIter::span_box(int i, vel2dBox kind) const {
    return m_underlying->span_box(i, kind);
}

giBox3 velPolylineWithOffsetFlagsListIter::span_box(int i, vel3dBox kind) const {
    return m_underlying->span_box(i, kind);
}

giBox2 velPolylineWithOffsetFlagsListIter::box(vel2dBox kind) const {
    return m_underlying->box(kind);
}

giBox3 velPolylineWithOffsetFlagsListIter::box(vel3dBox kind) const {
    return m_underlying->box(kind);
}

int velPolylineWithOffsetFlagsListIter::index() const {
    return m_underlying->index();
}

void velPolylineWithOffsetFlagsListIter::set_index(int k) {
    m_underlying->set_index(k);
    sync_offset_flags_with_iter();
}

velPolylineWithOffsetFlagsListIter* velPolylineWithOffsetFlagsListIter::create_new() const {
    return new velPolylineWithOffsetFlagsListIter(*this);
}

int velPolylineWithOffsetFlagsListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}

const velOffsetInfocoPageArr* velPolylineWithOffsetFlagsListIter::current_flags() const {
    if (m_flag_pos.index() < 0 || m_flag_pos.index() != m_underlying->index()) return nullptr;
    return m_flag_pos.current().get();
}

const velOffsetInfo* velPolylineWithOffsetFlagsListIter::offset_info(int span) const {
    const velOffsetInfocoPageArr* flags = current_flags();
    if (flags == nullptr || span < 0 || span >= flags->size()) return nullptr;
    return &(*flags)[span];
}

int velPolylineWithOffsetFlagsListIter::temporary_span(int span) const {
    const velOffsetInfo* info = offset_info(span);
    return info != nullptr ? info->temporary_span : velOffsetInfo().temporary_span;
}

int velPolylineWithOffsetFlagsListIter::span_position(int span) const {
    const velOffsetInfo* info = offset_info(span);
    return info != nullptr ? info->span_position : velOffsetInfo().span_position;
}

velSpanSide velPolylineWithOffsetFlagsListIter::span_side(int span) const {
    const velOffsetInfo* info = offset_info(span);
    return info != nullptr ? info->span_side : velOffsetInfo().span_side;
}

int velPolylineWithOffsetFlagsListIter::temporary_line(int span) const {
    return m_underlying->span_linear(span) && temporary_span(span);
}

int velPolylineWithOffsetFlagsListIter::temporary_arc(int span) const {
    return !m_underlying->span_linear(span) && temporary_span(span);
}

void velPolylineWithOffsetFlagsListIter::get_offset_info(int span, velOffsetInfo& info) const {
    const velOffsetInfo* found = offset_info(span);
    info = found != nullptr ? *found : velOffsetInfo();
}

velAbsContourcoPrf velPolylineWithOffsetFlagsListIter::get_current() {
    velAbsContourcoPrf contour = m_underlying->get_current();
    auto* view = dynamic_cast<velCursorContour*>(contour.get());
    if (const velOffsetInfocoPageArr* records = current_flags(); view && records)
        view->adopt_flags(std::make_shared<velOffsetInfocoPageArr>(*records));
    return contour;
}
