#include "arcline/polyline/contour/velSpanLabel.h"

void velSpanLabel::set(int position, velSpanSide side) {
    if (m_record) {
        velOffsetInfo& info = m_record->enter(m_index);
        info.span_position = position;
        info.span_side = side;
        return;
    }
    m_position = position;
    m_side = side;
}

void velSpanLabel::bind(velOffsetInfocoPageArrcoPrf records, int index) {
    m_record = std::move(records);
    m_index = index;
}

velOffsetInfo velSpanLabel::read() const {
    return m_index < m_record->size() ? (*m_record)[m_index] : velOffsetInfo();
}
