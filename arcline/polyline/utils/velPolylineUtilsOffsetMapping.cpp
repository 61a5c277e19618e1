// velPolylineUtils::offset_span_mapping: offset spans mapped back onto the spans they were made from.

#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <cfloat>

int velPolylineUtils::offset_span_mapping(const velPolylineListIterWithOffsetFlags& offset,
                                          const velPolylineListIter& source,
                                          std::vector<OffsetSpanMap>& map) {
    map.clear();
    const int spans = offset.num_pos() - 1, source_spans = source.num_pos() - 1;
    if (spans < 1) return 0;
    map.resize(static_cast<std::size_t>(spans));
    int mapped = 0;
    for (int k = 0; k < spans; ++k) {
        velOffsetInfo info;
        offset.get_offset_info(k, info);
        const int j = info.span_position;
        if (j < 0 || j >= source_spans) continue;
        OffsetSpanMap& m = map[static_cast<std::size_t>(k)];
        m.source_span = j;
        double d = DBL_MAX;
        get_closest_point(offset.get_pos(k), source, j, j + 1.0, m.t0, d);
        get_closest_point(offset.get_pos(k + 1), source, j, j + 1.0, m.t1, d);
        // A corner span lies about the corner at the start of its source span.
        if (info.span_side == velSpanSideLeftCorner || info.span_side == velSpanSideRightCorner)
            m.t0 = m.t1 = j;
        ++mapped;
    }
    return mapped;
}
