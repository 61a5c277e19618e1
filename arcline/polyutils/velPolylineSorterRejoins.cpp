// The sorter's segments and paths: every crossed polyline is cut at its crossings into segments, and the
// segments are joined into paths by switching to the other curve at every crossing. On closed curves every
// path closes; an open curve starts a path at its first position and ends one at its last.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyutils/velBooleanVisibility.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velVisibilityCalculator.h"

#include <algorithm>
#include <memory>

namespace {

double last_parameter(const velPolylineListIter& list) {
    return list.num_pos() - 1.0;
}

// Curve `curve` from t0 forwards to t1, through its closure when `wraps`.
void write_piece(velPolylineListIter& list, int curve, double t0, double t1, bool wraps,
                 velPolylineListCursor& out) {
    list.set_index(curve);
    if (!wraps) {
        velPolylineUtils::append(list, t0, t1, out);
        return;
    }
    velPolylineUtils::append(list, t0, last_parameter(list), out);
    velPolylineUtils::append(list, 0.0, t1, out);
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

// Every path as its pieces, in the order calculate_curve_rejoins writes them: first those that start at the
// first position of an open curve, then the closed ones. `crossed` gets a flag per curve.
std::vector<velPolylineSorter::Path> velPolylineSorter::trace_paths(const velPolylineListIter& in,
                                                                    std::vector<char>& crossed) const {
    const int curves = m_tables.num_curves();
    crossed.assign(static_cast<std::size_t>(curves), 0);
    for (int c = 0; c < curves; ++c)
        crossed[static_cast<std::size_t>(c)] = static_cast<char>(m_tables.num_on_curve(c) > 0);
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    std::vector<char> used(static_cast<std::size_t>(m_tables.num_records()), 0);
    std::vector<Path> paths;
    Path path;
    // From record r onwards until the path comes back to `stop` or runs off the end of an open curve.
    auto trace = [&](int r, int stop) {
        for (;;) {
            used[static_cast<std::size_t>(r)] = 1;
            const int s = m_tables.next_crossing_on_same_curve(r);
            const int c = m_tables.curve(r);
            if (s < 0) { // the tail of an open curve
                list->set_index(c);
                path.pieces.push_back({c, m_tables.param(r), last_parameter(*list), false});
                return false;
            }
            const bool wraps = m_tables.rank(s) <= m_tables.rank(r);
            path.pieces.push_back({c, m_tables.param(r), m_tables.param(s), wraps});
            r = velCrossingOrderTables::next_intersection(s);
            if (r == stop) return true;
        }
    };
    for (int c = 0; c < curves; ++c) { // paths that start at the first position of an open curve
        if (m_tables.closed(c) || m_tables.num_on_curve(c) == 0) continue;
        const int first = m_tables.first_on_curve(c);
        path.pieces.push_back({c, 0.0, m_tables.param(first), false});
        trace(velCrossingOrderTables::next_intersection(first), -1);
        path.closed = false;
        paths.push_back(std::move(path));
        path = Path{};
    }
    for (const int r : m_tables.order()) { // the closed paths
        if (used[static_cast<std::size_t>(r)]) continue;
        path.closed = trace(r, r);
        paths.push_back(std::move(path));
        path = Path{};
    }
    return paths;
}

void velPolylineSorter::write_path(const velPolylineListIter& in, const Path& path,
                                   velAbsPolyArcLineListCursor& out, velSegmentMap* joints) const {
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    out.create_last_polyline();
    const int index = out.index();
    for (std::size_t k = 0; k < path.pieces.size(); ++k) {
        // The joint's parameter on the path: the spans written so far.
        if (joints && k > 0) joints->add_trimming(index, out.num_pos() - 1.0);
        const Piece& p = path.pieces[k];
        write_piece(*list, p.curve, p.t0, p.t1, p.wraps, out);
    }
    if (path.closed) close_exactly(out);
}

int velPolylineSorter::calculate_curve_rejoins(const velPolylineListIter& in,
                                               velAbsPolyArcLineListCursor& out, std::vector<char>& crossed,
                                               velSegmentMap* joints) {
    const std::vector<Path> paths = trace_paths(in, crossed);
    for (const Path& path : paths)
        write_path(in, path, out, joints);
    return static_cast<int>(paths.size());
}

int velPolylineSorter::write_visible_paths(const velPolylineListIter& in, velAbsPolyArcLineListCursor& out) {
    std::vector<char> crossed;
    std::vector<Path> paths = trace_paths(in, crossed);
    const bool weighted = !m_sort_weights.empty();
    for (std::size_t c = 0; weighted && c < crossed.size() && c < m_sort_weights.size(); ++c)
        if (crossed[c] && m_sort_weights[c] > 1) return weighted_copies_crossed;
    // The uncrossed closed polylines are paths of one piece each.
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    list->reset();
    while (++*list) {
        const std::size_t i = static_cast<std::size_t>(list->index());
        if ((i < crossed.size() && crossed[i]) || list->num_pos() < 2) continue;
        paths.push_back(Path{{{list->index(), 0.0, last_parameter(*list), false}}, true});
    }
    const velBooleanVisibility counts(in, in.size(), m_sort_weights);
    const velVisibilityCalculator calculator(m_visible_mode);
    std::vector<char> keep(paths.size(), 0);
    for (std::size_t p = 0; p < paths.size(); ++p) {
        // Judged on its longest pieces (by parameter), each as it runs on its curve.
        std::vector<Piece> stretches;
        for (const Piece& piece : paths[p].pieces) {
            list->set_index(piece.curve);
            if (!piece.wraps) {
                stretches.push_back(piece);
                continue;
            }
            stretches.push_back({piece.curve, piece.t0, last_parameter(*list), false});
            stretches.push_back({piece.curve, 0.0, piece.t1, false});
        }
        const std::size_t tried = std::min(stretches.size(), max_judged_pieces);
        std::partial_sort(stretches.begin(), stretches.begin() + static_cast<std::ptrdiff_t>(tried),
                          stretches.end(),
                          [](const Piece& a, const Piece& b) { return a.t1 - a.t0 > b.t1 - b.t0; });
        bool judged = false;
        for (std::size_t k = 0; k < tried && !judged; ++k) {
            const Piece& piece = stretches[k];
            if (!(piece.t1 > piece.t0)) break;
            list->set_index(piece.curve);
            velBooleanVisibility::Counts left, right;
            if (!counts.clear_counts_along(*list, piece.t0, piece.t1, left, right)) continue;
            // A path carries one count more on its left than on its right, or a weight's worth along
            // merged copies: it bounds the region where the count passes from 0 (or less) to 1 (or more).
            if (weighted ? left.a <= right.a : left.a != right.a + 1) return 0;
            keep[p] = static_cast<char>(calculator.visibility_to_use(left.a) >= 1 &&
                                        calculator.visibility_to_use(right.a) <= 0);
            judged = true;
        }
        if (!judged) return 0;
    }
    for (std::size_t p = 0; p < paths.size(); ++p)
        if (keep[p]) write_path(in, paths[p], out, nullptr);
    return 1;
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
