// velPolyArcLineOffsetter::offset_list: the raw offset of a whole list, for callers that want every loop and
// temporary span (a picture of what the sorter will cut, say).

#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/contour/velFreeSpan.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/contour/velSpanVectorContour.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include <memory>

velAbsContourcoPrf velPolyArcLineOffsetter::current_contour(velPolylineListIter& in) {
    if (velAbsContourcoPrf view = in.get_current()) return view;
    auto spans = std::make_shared<velSpanVectorContour>();
    const auto* flags = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&in);
    const int n = in.num_pos() - 1;
    spans->reserve_spans(n);
    for (int k = 0; k < n; ++k) {
        const giPoint3 s = in.get_pos(k), e = in.get_pos(k + 1);
        velAbsSpancoPrf span =
            std::make_shared<velFreeSpan>(s, e, in.span_linear(k) ? giPoint3() : in.get_mid_pos(k));
        if (flags) {
            velOffsetInfo info;
            flags->get_offset_info(k, info);
            if (flags->temporary_line(k)) span = span->create_temp_line_span(s, e);
            if (flags->temporary_arc(k)) span->set_arc_span_temp_state(1);
            span->set_span_info(info.span_position, info.span_side);
        }
        spans->append(span);
    }
    return spans;
}

namespace {

// Writes the poly-arc-line of a raw offset into `out`'s current (empty) polyline position by position,
// arcs as arcs, and gives every span its record: no span object on the way.
void write_positions(const velPolyArcLineAdapter& raw, velPolylineWithOffsetFlagsListCursor& out) {
    velSingleAbsArcLineListIter src(raw.polyarcline());
    ++src;
    const velOffsetInfocoPageArrcoPrf records = raw.current_flags();
    const int n_records = records ? records->size() : 0;
    out.add_pos(src, 0);
    for (int k = 0; k + 1 < src.num_pos(); ++k) {
        if (src.span_linear(k))
            out.add_pos(src, k + 1);
        else
            out.add_span(src, k, k + 1);
        const velOffsetInfo info = k < n_records ? (*records)[k] : velOffsetInfo();
        out.set_offset_flag(k, info.temporary_span, info.span_position, info.span_side);
    }
}

} // namespace

int velPolyArcLineOffsetter::append_raw(const velAbsContour& raw, velPolylineWithOffsetFlagsListCursor& out) {
    if (out.size() > 0) out.set_index(out.size() - 1);
    out.create_polyline();
    ++out;
    if (const auto* polyarcline = dynamic_cast<const velPolyArcLineAdapter*>(&raw)) {
        write_positions(*polyarcline, out);
        return 1;
    }
    const velAbsContourcoPrf target = out.get_current();
    if (!target) {
        out.remove();
        return 0;
    }
    for (int i = 1, n = raw.size(); i <= n; ++i)
        target->append(raw.get_span(i));
    return 1;
}

int velPolyArcLineOffsetter::offset_list(velPolylineListIter& in, velPolylineWithOffsetFlagsListCursor& out,
                                         double offset, int extend, int chamfer_corners,
                                         double max_corner_offset, std::vector<int>* sources) {
    int written = 0;
    for (in.reset(); ++in;) {
        const velAbsContourcoPrf contour = current_contour(in);
        velPolyArcLineOffsetter offsetter(*contour, offset);
        offsetter.set_chamfer_corners(chamfer_corners, max_corner_offset);
        int changed = 0;
        const velAbsContourcoPrf raw = offsetter.offset(extend, 1, changed, 0);
        if (!raw || raw->size() == 0) continue;
        if (!append_raw(*raw, out)) continue;
        if (sources) sources->push_back(in.index());
        ++written;
    }
    return written;
}
