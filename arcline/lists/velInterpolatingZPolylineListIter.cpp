#include "arcline/lists/velInterpolatingZPolylineListIter.h"

#include <memory>

UT_IMPLEMENT_TYPE_ID(velInterpolatingZPolylineListIter, velPolylineListIter, velPolylineListIter)

velInterpolatingZPolylineListIter::velInterpolatingZPolylineListIter(const velPolylineListIter& underlying,
                                                                     double z_start, double z_end)
    : velForwardingListIter(underlying), m_z_start(z_start), m_z_end(z_end) {
    const std::unique_ptr<velPolylineListIter> first(underlying.create_new());
    first->reset();
    if (++*first && first->num_pos() > 0) {
        m_a = first->get_pos(0);
        m_ab = first->get_pos(first->num_pos() - 1) - m_a;
    }
}

double velInterpolatingZPolylineListIter::get_z_height(const giPoint3& p) const {
    const double ab2 = m_ab.length_squared();
    const double t = ab2 == 0.0 ? 0.0 : (p - m_a).dot(m_ab) / ab2;
    return m_z_start + t * (m_z_end - m_z_start);
}

giPoint3 velInterpolatingZPolylineListIter::get_pos(int i) const {
    giPoint3 p = m_underlying->get_pos(i);
    p.z = get_z_height(p);
    return p;
}

velInterpolatingZPolylineListIter* velInterpolatingZPolylineListIter::create_new() const {
    return new velInterpolatingZPolylineListIter(*this);
}
