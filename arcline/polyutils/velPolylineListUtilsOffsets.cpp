// velPolylineListUtils: offsets of polylines with heights. The offset is made in XY on a flat copy and z is
// carried back along the input spans that each offset span came from.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"

#include <memory>

namespace {

velDebugGeometry& channel() {
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineListUtils");
    return dbg;
}

// The current polyline of `in` into `heights` (as it is) and `flat` (z = 0), dropping positions that repeat
// the previous one in XY.
void heights_and_flat(const velPolylineListIter& in, velAbsPolyArcLine& heights, velAbsPolyArcLine& flat) {
    giPoint3 previous;
    for (int k = 0, n = in.num_pos(); k < n; ++k) {
        const giPoint3 p = in.get_pos(k);
        if (k > 0 && p.x == previous.x && p.y == previous.y) continue;
        const giPoint3 q(p.x, p.y, 0.0);
        if (k == 0 || in.span_linear(k - 1)) {
            heights.add_pos(p);
            flat.add_pos(q);
        } else {
            const giPoint3 m = in.get_mid_pos(k - 1);
            heights.add_arc(m, p);
            flat.add_arc(giPoint3(m.x, m.y, 0.0), q);
        }
        previous = p;
    }
}

// z of `heights` at list parameter t.
double z_at(const velPolylineListIter& heights, double t) {
    return heights.get_interpolated_pos(t).z;
}

// The offsets of the current polyline of `in` by each of `offsets`, z carried over; returns the polylines
// written.
int offset_one(velOffsetter& offsetter, const velPolylineListIter& in, std::initializer_list<double> offsets,
               std::vector<double>& distances, velPolylineListCursor& out) {
    if (in.num_pos() < 2) return 0;
    velAbsPolyArcLineListCursor copies;
    copies.create_last_polyline();
    velAbsPolyArcLine* heights = copies.current_polyarcline();
    copies.create_last_polyline();
    velAbsPolyArcLine* flat = copies.current_polyarcline();
    heights_and_flat(in, *heights, *flat);
    if (flat->num_pos() < 2) return 0;
    copies.set_index(0);
    std::unique_ptr<velPolylineListIter> height_iter(copies.iterator().create_new());
    copies.set_index(1);
    std::unique_ptr<velPolylineListIter> flat_iter(copies.iterator().create_new());

    int written = 0;
    for (const double d : offsets) {
        velPolyArcLineAdapter contour(flat);
        std::unique_ptr<velPolylineListCursor> offset(offsetter.offset(contour, d));
        if (!offset) continue;
        const auto* records = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&offset->iterator());
        if (!records) continue;
        for (offset->reset(); ++*offset;) {
            std::vector<velPolylineUtils::OffsetSpanMap> map;
            velPolylineUtils::offset_span_mapping(*records, *flat_iter, map);
            const int n = offset->num_pos() - 1;
            if (n < 1) continue;
            out.create_last_polyline();
            velAbsPolyArcLineListCursor line;
            line.create_last_polyline();
            velAbsPolyArcLine* p = line.current_polyarcline();
            auto z_of = [&](int span, bool end) {
                const velPolylineUtils::OffsetSpanMap& m = map[static_cast<std::size_t>(span)];
                return m.source_span < 0 ? 0.0 : z_at(*height_iter, end ? m.t1 : m.t0);
            };
            giPoint3 first = offset->get_pos(0);
            first.z = z_of(0, false);
            p->add_pos(first);
            for (int k = 0; k < n; ++k) {
                giPoint3 e = offset->get_pos(k + 1);
                const double z0 = z_of(k, false), z1 = z_of(k, true);
                e.z = z1;
                if (offset->span_linear(k)) {
                    p->add_pos(e);
                } else {
                    giPoint3 m = offset->get_mid_pos(k);
                    m.z = 0.5 * (z0 + z1);
                    p->add_arc(m, e);
                }
            }
            velPolylineUtils::append(line.iterator(), out);
            distances.push_back(d);
            ++written;
        }
    }
    return written;
}

int offset_all(velOffsetter& offsetter, const velPolylineListIter& in, std::initializer_list<double> offsets,
               std::vector<double>& distances, velPolylineListCursor& out) {
    if (channel().active(2)) channel().copy_iter(in, "offset_with_z_input", 2);
    const int span_info = offsetter.get_span_info();
    offsetter.set_span_info(1);
    const int first = out.size();
    int written = 0;
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    for (it->reset(); ++*it;)
        written += offset_one(offsetter, *it, offsets, distances, out);
    offsetter.set_span_info(span_info);
    if (channel().active(2) && out.size() > first)
        channel().copy_iter(out.iterator(), "offset_with_z_output", 2);
    return written;
}

} // namespace

int velPolylineListUtils::offset_with_z(velOffsetter& offsetter, const velPolylineListIter& in, double offset,
                                        std::vector<double>& distances, velPolylineListCursor& out) {
    return offset_all(offsetter, in, {offset}, distances, out);
}

int velPolylineListUtils::offset_with_z(const velPolylineListIter& in, double offset,
                                        std::vector<double>& distances, velPolylineListCursor& out) {
    velOffsetter offsetter;
    return offset_all(offsetter, in, {offset}, distances, out);
}

int velPolylineListUtils::double_offset_with_z(velOffsetter& offsetter, const velPolylineListIter& in,
                                               double offset1, double offset2, std::vector<double>& distances,
                                               velPolylineListCursor& out) {
    return offset_all(offsetter, in, {offset1, offset2}, distances, out);
}

int velPolylineListUtils::double_offset_with_z(const velPolylineListIter& in, double offset1, double offset2,
                                               std::vector<double>& distances, velPolylineListCursor& out) {
    velOffsetter offsetter;
    return offset_all(offsetter, in, {offset1, offset2}, distances, out);
}
