#include "arcline/lists/velSingleTrimmedPolylineListIter.h"

UT_IMPLEMENT_TYPE_ID(velSingleTrimmedPolylineListIter, velTrimmedPolylineListIter, velPolylineListIter)

namespace {
// Caches the boxes of polyline k's pieces in `trimmed`, which then stands on the first of them.
velTrimmedPolylineListIter& with_boxes_of(velTrimmedPolylineListIter& trimmed, int k) {
    if (trimmed.set_underlying_curve(k)) {
        do {
            trimmed.box(vel_3d_box);
        } while (++trimmed && trimmed.underlying_index() == k);
    }
    trimmed.reset();
    return trimmed;
}
} // namespace

velSingleTrimmedPolylineListIter::velSingleTrimmedPolylineListIter(velTrimmedPolylineListIter& trimmed,
                                                                   int polyline)
    : velTrimmedPolylineListIter(with_boxes_of(trimmed, polyline)) {
    m_records.remove_if([polyline](const velPolylineTrimmings& r) { return r.index() != polyline; });
    mark_size_unknown();
    reset();
}
