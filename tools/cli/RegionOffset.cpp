#include "tools/cli/RegionOffset.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "tools/cli/Format.h"

#include <algorithm>
#include <cmath>

namespace arcline::cli {

std::string OffsetCorners::describe() const {
    if (chamfer >= 0.0) return "sharp corners, chamfered beyond " + format::shortest(chamfer);
    return sharp ? "sharp corners" : "rounded corners";
}

void OffsetCorners::apply(velOffsetter& offsetter) const {
    offsetter.set_sharp_corners(is_sharp() ? 1 : 0);
    offsetter.set_chamfer_corners(chamfer >= 0.0 ? 1 : 0, chamfer >= 0.0 ? chamfer : 0.0);
}

bool RegionOffset::within_range(const GeometryInput& in, double distance, const std::string& argument,
                                Session& session) {
    if (std::fabs(distance) > largest_coordinate) {
        session.fault(session.command(), argument + ": '" + format::shortest(distance) +
                                             "' is too large to offset by (at most " +
                                             format::shortest(largest_coordinate) + ")");
        return false;
    }
    double largest = 0.0;
    const auto reach = [&largest](const giPoint3& p) {
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    };
    velAbsPolyArcLineListIter it(in.polylines());
    for (it.reset(); ++it;)
        for (int i = 0; i < it.num_pos(); ++i) {
            reach(it.get_pos(i));
            if (i + 1 < it.num_pos() && !it.span_linear(i)) reach(it.get_mid_pos(i));
        }
    if (largest > largest_coordinate) {
        session.fault(in.name(), "coordinates reach " + format::shortest(largest) +
                                     ": too large to offset (at most " +
                                     format::shortest(largest_coordinate) + ")");
        return false;
    }
    return true;
}

namespace {

// A warning about the region of `in`; under --strict a fault, and false.
bool warn(const GeometryInput& in, const std::string& text, Session& session) {
    if (!session.options().strict) {
        session.warning(in.name(), text);
        return true;
    }
    session.fault(in.name(), text);
    return false;
}

} // namespace

RegionOffset::RegionOffset() : m_boundaries(std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>()) {}

std::optional<RegionOffset> RegionOffset::prepare(const GeometryInput& in, const std::string& refusal,
                                                  Session& session) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList closed;
    velAbsPolyArcLineListCursor writer(closed);
    velAbsPolyArcLineListIter it(in.polylines());
    int first_open = -1, open = 0;
    double first_gap = 0.0;
    for (it.reset(); ++it;) {
        const int n = it.num_pos();
        if (n < 2) {
            if (n == 1 && !warn(in,
                                "polyline " + std::to_string(it.index()) +
                                    " has no span: it bounds nothing and is left out",
                                session))
                return std::nullopt;
            continue;
        }
        const giPoint3 start = it.get_pos(0);
        const double gap = start.distance(it.get_pos(n - 1));
        if (gap > closing_gap) {
            if (open++ == 0) {
                first_open = it.index();
                first_gap = gap;
            }
            continue;
        }
        it.copy_single(writer);
        // Ends a hair apart: the boundary closed exactly, as the offsetter's contours want it.
        if (gap > 0.0) {
            velAbsPolyArcLine* p = writer.current_polyarcline();
            p->edit_pos(p->num_pos(), start);
        }
    }
    if (open > 0) {
        std::string text = "polyline " + std::to_string(first_open) + " is open (its ends lie " +
                           format::shortest(first_gap) + " apart)";
        if (open > 1) text += ", and " + std::to_string(open - 1) + " more";
        session.fault(in.name(), text + ": a region is bounded by closed polylines; " + refusal);
        return std::nullopt;
    }

    RegionOffset r;
    velAbsPolyArcLineListCursor oriented(*r.m_boundaries);
    velPolylineSorter sorter;
    const velAbsPolyArcLineListIter list(closed);
    if (sorter.any_intersections(list) != 0 &&
        !warn(in,
              "the boundaries cross: they are cut at their crossings and rejoined into loops that nest (an "
              "overlap of two outlines becomes a hole); sort the file first for the region that they cover",
              session))
        return std::nullopt;
    // Every coordinate read is finite, so orientation cannot refuse the list.
    sorter.orient(list, &oriented);
    velAbsPolyArcLineListIter result(*r.m_boundaries);
    for (result.reset(); ++result;) {
        ++r.m_size;
        r.m_box.merge(result.box(vel_2d_box));
    }
    return r;
}

void RegionOffset::offset(double distance, const OffsetCorners& corners,
                          velAbsPolyArcLinecoDListPrgcoPrgcoDList& out) const {
    velOffsetter offsetter;
    corners.apply(offsetter);
    velAbsPolyArcLineListCursor cursor(out);
    velAbsPolyArcLineListIter in(*m_boundaries);
    // The offsetter works on a copy: the boundaries stay for the next offset.
    offsetter.offset(in, cursor, distance);
}

} // namespace arcline::cli
