#include "arcline/lists/velReversedPolylineListIter.h"

UT_IMPLEMENT_TYPE_ID(velReversedPolylineListIter, velPolylineListIter, velPolylineListIter)

velReversedPolylineListIter::velReversedPolylineListIter(const velPolylineListIter& underlying)
    : velForwardingListIter(underlying) {}

int velReversedPolylineListIter::underlying_pos_index(int i) const {
    return m_underlying->num_pos() - 1 - i;
}

int velReversedPolylineListIter::underlying_span_index(int i) const {
    return m_underlying->num_pos() - 2 - i;
}

giPoint3 velReversedPolylineListIter::get_pos(int i) const {
    return m_underlying->get_pos(underlying_pos_index(i));
}

int velReversedPolylineListIter::span_linear(int i) const {
    return m_underlying->span_linear(underlying_span_index(i));
}

giPoint3 velReversedPolylineListIter::get_mid_pos(int i) const {
    return m_underlying->get_mid_pos(underlying_span_index(i));
}

double velReversedPolylineListIter::get_bulge(int i) const {
    return -m_underlying->get_bulge(underlying_span_index(i));
}

// The index map sends -1 and n - 1 to each other's place outside the spans, so a span index that is not a
// span stays one and the underlying answers its empty box.
giBox2 velReversedPolylineListIter::span_box(int i, vel2dBox kind) const {
    return m_underlying->span_box(underlying_span_index(i), kind);
}

giBox3 velReversedPolylineListIter::span_box(int i, vel3dBox kind) const {
    return m_underlying->span_box(underlying_span_index(i), kind);
}

giBox2 velReversedPolylineListIter::box(vel2dBox kind) const {
    return m_underlying->box(kind);
}

giBox3 velReversedPolylineListIter::box(vel3dBox kind) const {
    return m_underlying->box(kind);
}

velReversedPolylineListIter* velReversedPolylineListIter::create_new() const {
    return new velReversedPolylineListIter(*this);
}

int velReversedPolylineListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
