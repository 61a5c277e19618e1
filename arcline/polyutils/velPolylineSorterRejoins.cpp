// The sorter's segments and paths: every crossed polyline is cut at its crossings into segments, and the
// segments are joined into paths by switching to the other curve at every crossing. On closed curves every
// path closes; an open curve starts a path at its first position and ends one at its last.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyutils/velPolylineSorter.h"

#include <memory>

namespace {

// One segment of a path: curve `curve` from t0 forwards to t1, through its closure when `wraps`.
struct Piece {
    int curve;
    double t0, t1;
    bool wraps;
};

double last_parameter(const velPolylineListIter& list) {
    return list.num_pos() - 1.0;
}

void write_piece(velPolylineListIter& list, const Piece& p, velPolylineListCursor& out) {
    list.set_index(p.curve);
    if (!p.wraps) {
        velPolylineUtils::append(list, p.t0, p.t1, out);
        return;
    }
    velPolylineUtils::append(list, p.t0, last_parameter(list), out);
    velPolylineUtils::append(list, 0.0, p.t1, out);
}

// The path's end point is the crossing it started from, evaluated on the other curve: the same point to
// rounding. The last position is made the first, so that the loop is closed exactly.
void close_exactly(velAbsPolyArcLineListCursor& out) {
    velAbsPolyArcLine* line = out.current_polyarcline();
    if (!line) return;
    const int n = line->num_pos();
    if (n < 2) return;
    giPoint3 first, last;
    line->get_pos(1, first);
    line->get_pos(n, last);
    if (!(first == last)) line->edit_pos(n, first);
}

} // namespace

int velPolylineSorter::calculate_curve_rejoins(const velPolylineListIter& in,
                                               velAbsPolyArcLineListCursor& out, std::vector<char>& crossed,
                                               velSegmentMap* joints) {
    const int curves = m_tables.num_curves();
    crossed.assign(static_cast<std::size_t>(curves), 0);
    for (int c = 0; c < curves; ++c)
        crossed[static_cast<std::size_t>(c)] = static_cast<char>(m_tables.num_on_curve(c) > 0);
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    std::vector<char> used(static_cast<std::size_t>(m_tables.num_records()), 0);
    int paths = 0;
    std::vector<Piece> pieces;

    auto emit = [&](bool closed_path) {
        out.create_last_polyline();
        const int index = out.index();
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            // The joint's parameter on the path: the spans written so far.
            if (joints && k > 0) joints->add_trimming(index, out.num_pos() - 1.0);
            write_piece(*list, pieces[k], out);
        }
        if (closed_path) close_exactly(out);
        ++paths;
        pieces.clear();
    };
    // From record r onwards until the path comes back to `stop` or runs off the end of an open curve.
    auto trace = [&](int r, int stop) {
        for (;;) {
            used[static_cast<std::size_t>(r)] = 1;
            const int s = m_tables.next_crossing_on_same_curve(r);
            const int c = m_tables.curve(r);
            if (s < 0) { // the tail of an open curve
                list->set_index(c);
                pieces.push_back({c, m_tables.param(r), last_parameter(*list), false});
                return false;
            }
            const bool wraps = m_tables.rank(s) <= m_tables.rank(r);
            pieces.push_back({c, m_tables.param(r), m_tables.param(s), wraps});
            r = velCrossingOrderTables::next_intersection(s);
            if (r == stop) return true;
        }
    };

    for (int c = 0; c < curves; ++c) { // paths that start at the first position of an open curve
        if (m_tables.closed(c) || m_tables.num_on_curve(c) == 0) continue;
        const int first = m_tables.first_on_curve(c);
        pieces.push_back({c, 0.0, m_tables.param(first), false});
        trace(velCrossingOrderTables::next_intersection(first), -1);
        emit(false);
    }
    for (const int r : m_tables.order()) { // the closed paths
        if (used[static_cast<std::size_t>(r)]) continue;
        const bool closed_path = trace(r, r);
        emit(closed_path);
    }
    return paths;
}

void velPolylineSorter::copy_uncrossed(const velPolylineListIter& in, const std::vector<char>& crossed,
                                       velPolylineListCursor& out) const {
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    list->reset();
    while (++*list) {
        const std::size_t i = static_cast<std::size_t>(list->index());
        if (i < crossed.size() && crossed[i]) continue;
        if (list->num_pos() == 0) continue;
        out.create_last_polyline();
        velPolylineUtils::append(*list, out);
    }
}
