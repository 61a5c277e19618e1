#include "arcline/lists/velXYViewedAsZXPolylineListIter.h"

velXYViewedAsZXPolylineListIter::velXYViewedAsZXPolylineListIter(const velPolylineListIter& underlying)
    : velForwardingListIter(underlying) {}

giPoint3 velXYViewedAsZXPolylineListIter::xy_to_zx(const giPoint3& p) {
    if (p.is_unset()) return p;
    return {p.y, p.z, p.x};
}

giPoint3 velXYViewedAsZXPolylineListIter::get_pos(int i) const {
    return xy_to_zx(m_underlying->get_pos(i));
}

int velXYViewedAsZXPolylineListIter::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velXYViewedAsZXPolylineListIter::get_mid_pos(int i) const {
    return xy_to_zx(m_underlying->get_mid_pos(i));
}

velXYViewedAsZXPolylineListIter* velXYViewedAsZXPolylineListIter::create_new() const {
    return new velXYViewedAsZXPolylineListIter(*this);
}

int velXYViewedAsZXPolylineListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
