#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"

velZXViewedAsXYPolylineListIter::velZXViewedAsXYPolylineListIter(const velPolylineListIter& underlying)
    : velForwardingListIter(underlying) {}

giPoint3 velZXViewedAsXYPolylineListIter::zx_to_xy(const giPoint3& p) {
    if (p.is_unset()) return p;
    return {p.z, p.x, p.y};
}

giPoint3 velZXViewedAsXYPolylineListIter::get_pos(int i) const {
    return zx_to_xy(m_underlying->get_pos(i));
}

int velZXViewedAsXYPolylineListIter::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velZXViewedAsXYPolylineListIter::get_mid_pos(int i) const {
    return zx_to_xy(m_underlying->get_mid_pos(i));
}

velZXViewedAsXYPolylineListIter* velZXViewedAsXYPolylineListIter::create_new() const {
    return new velZXViewedAsXYPolylineListIter(*this);
}

int velZXViewedAsXYPolylineListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
