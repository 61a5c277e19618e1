#include "arcline/intersect/velIntersectorBSPNode.h"

#include "arcline/intersect/velBSPVisibility.h"
#include "arcline/polyutils/velBoundaryNesting.h"
#include "arcline/polyutils/velVisibilityResult.h"

#include "arcline/intersect/velBSPCanonicalRules.h"
#include "arcline/intersect/velBSPDirectIntersection.h"
#include "arcline/intersect/velBSPLeafCrossings.h"
#include "arcline/intersect/velBSPNodeData.h"
#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velBSPRun.h"
#include "arcline/intersect/velBSPSplitPoint.h"
#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velPolylineBSPTrimmerHelper.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<int> live_count{0};

// velBSPPieceSplitter::split, with the common case first: a piece of a polyline whose whole box lies on one
// side of the line, with both ends there too, goes to that side unchanged, as the span by span walk would
// send it (it finds no span to cut and hands on the piece itself), without walking its spans. The pieces
// keep their order in low and high.
void split_pieces(const velBSPRun& run, const std::vector<velBSPPiece>& pieces, int axis, double value,
                  int low_flag, int high_flag, std::vector<velBSPPiece>& low,
                  std::vector<velBSPPiece>& high) {
    for (const velBSPPiece& p : pieces) {
        if (p.whole || (!p.wraps && p.t0 < p.t1)) {
            const giBox2& box = run.polyline_box(p.poly);
            const bool high_side = !box.empty() && box.min()[axis] >= value;
            if (!box.empty() && (high_side || box.max()[axis] < value) &&
                (p.p0[axis] >= value) == high_side && (p.p1[axis] >= value) == high_side) {
                (high_side ? high : low).push_back(p);
                continue;
            }
        }
        velBSPPieceWalk<velBSPRun>(run, p, axis, value, low_flag, high_flag, low, high).run();
    }
}

std::atomic<int> peak_count{0};

void node_made() {
    const int now = ++live_count;
    int peak = peak_count.load(std::memory_order_relaxed);
    while (now > peak && !peak_count.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}
} // namespace

int velIntersectorBSPNode::live_nodes() {
    return live_count.load();
}
int velIntersectorBSPNode::peak_live_nodes() {
    return peak_count.load();
}
void velIntersectorBSPNode::reset_peak_live_nodes() {
    peak_count.store(live_count.load());
}

velIntersectorBSPNode::velIntersectorBSPNode(std::shared_ptr<velTrimmedPolylineListIter> pieces,
                                             const giBox2& box, velCrossData* data)
    : velNode2(box, nullptr, root_quadrant), m_data(data) {
    node_made();
    auto run = std::make_shared<velBSPRun>(pieces->underlying_iter(), *data);
    run->keep_view(pieces);
    velPolylineBSPTrimmerHelper::read_pieces(*pieces, data->closure_function(), data->closure_data(),
                                             m_pieces);
    if (box.empty()) set_limits(root_box(run->total_box()));
    m_run = run.get();
    m_owned_run = std::move(run);
}

velIntersectorBSPNode::velIntersectorBSPNode(velPolylineListIter& list, velCrossData* data)
    : velNode2(giBox2(), nullptr, root_quadrant), m_data(data) {
    node_made();
    auto run = std::make_shared<velBSPRun>(list, *data);
    run->root_pieces(m_pieces);
    set_limits(root_box(run->total_box()));
    m_run = run.get();
    m_owned_run = std::move(run);
}

velIntersectorBSPNode::velIntersectorBSPNode(std::vector<velBSPPiece> pieces, const giBox2& box,
                                             velIntersectorBSPNode* parent, int quadrant, velCrossData* data)
    : velNode2(box, parent, quadrant), m_run(parent->m_run), m_pieces(std::move(pieces)), m_data(data) {
    node_made();
}

velIntersectorBSPNode::~velIntersectorBSPNode() {
    --live_count;
}

giBox2 velIntersectorBSPNode::root_box(const giBox2& input) {
    return velBSPSplitPoint::root_box(input);
}

velBSPNodeData velIntersectorBSPNode::node_data() const {
    return {*m_run, m_pieces, limits()};
}

giPoint2 velIntersectorBSPNode::subdivision_centre() const {
    return velBSPSplitPoint::choose(node_data());
}

void velIntersectorBSPNode::subdivide(const giPoint2& c) {
    // Scratch reused from node to node; each child gets its pieces in a vector of its own size.
    velBSPRun::Scratch& scratch = m_run->scratch();
    std::vector<velBSPPiece>&left = scratch.left, &right = scratch.right, &cut = scratch.cut,
    *q = scratch.quadrants;
    left.clear();
    right.clear();
    cut.clear();
    for (int i = 0; i < 4; ++i)
        q[i].clear();
    // Most pieces lie within one straight span with both ends in one quadrant: they go there whole. The
    // others are cut at x = c.x and then at y = c.y.
    for (const velBSPPiece& p : m_pieces) {
        if (!p.wraps && !p.whole) {
            int first, final;
            velBSPPieceSplitter::span_range(p.t0, p.t1, m_run->num_spans(p.poly), first, final);
            if (first == final && m_run->bulge(p.poly, first) == 0.0) {
                const int q0 = (p.p0.y >= c.y ? 1 : 0) ^ (p.p0.x >= c.x ? 3 : 0);
                const int q1 = (p.p1.y >= c.y ? 1 : 0) ^ (p.p1.x >= c.x ? 3 : 0);
                if (q0 == q1) {
                    q[q0].push_back(p);
                    continue;
                }
            }
        }
        cut.push_back(p);
    }
    split_pieces(*m_run, cut, 0, c.x, velDirectionRight, velDirectionLeft, left, right);
    split_pieces(*m_run, left, 1, c.y, velDirectionTop, velDirectionBottom, q[0], q[1]);
    split_pieces(*m_run, right, 1, c.y, velDirectionTop, velDirectionBottom, q[3], q[2]);
    giBox2 boxes[4];
    subdivisions(c, boxes);
    for (int i = 0; i < 4; ++i)
        set_child(i, std::unique_ptr<velNode2>(new velIntersectorBSPNode(std::vector<velBSPPiece>(q[i]),
                                                                         boxes[i], this, i, m_data)));
}

int velIntersectorBSPNode::check_empty(int level) {
    return m_pieces.empty() && velNode2::check_empty(level);
}

int velIntersectorBSPNode::canonical_form(int level) const {
    if (m_canonical >= 0) return m_canonical;
    int skip = 1, forced = 0;
    int canonical = canonical_form_except_intersections(level, skip, forced);
    if (canonical && !skip && m_data->intersections()) {
        const int value = calculate_crossings(forced);
        if (value >= velBSPLeafCrossings::divide && !forced) canonical = 0;
    }
    m_canonical = canonical;
    return canonical;
}

int velIntersectorBSPNode::canonical_form_except_intersections(int level, int& skip_crossings,
                                                               int& forced) const {
    skip_crossings = 1;
    forced = 0;
    const velBSPNodeData node = node_data();
    const velBSPRun& run = *m_run;
    // 1. Nothing here.
    if (m_pieces.empty()) return 1;
    // 2. Two boundaries, and only one of them here.
    if (run.two_boundaries()) {
        const int b = run.boundary(m_pieces.front().poly);
        if (std::all_of(m_pieces.begin(), m_pieces.end(),
                        [&](const velBSPPiece& p) { return run.boundary(p.poly) == b; }))
            return 1;
    }
    // 3. Small enough to intersect span by span.
    if (!m_data->visibility_test() && m_data->box_cache() && num_pieces() < max_direct_pieces) {
        long spans = 0, squares = 0;
        for (const velBSPPiece& p : m_pieces) {
            const long s = velBSPPieceSplitter::num_spans(run, p);
            spans += s;
            squares += s * s;
        }
        if ((spans * spans + squares) / 2 < max_direct_pairs) {
            // Straight into the data's crossings: a failed attempt takes back what it appended.
            int count = 0;
            if (velBSPDirectIntersection::intersect(node, m_data->crossings(), count)) {
                m_crossing_count = count;
                return 1;
            }
        }
    }
    // 4. At the limits of division.
    const giBox2& box = limits();
    const bool narrow = box.xlength() < velTol::span_fraction || box.ylength() < velTol::span_fraction;
    if (level >= max_level || degenerate() || (narrow && ok_to_be_degenerate())) {
        skip_crossings = 0;
        forced = 1;
        return 1;
    }
    const bool any_whole =
        std::any_of(m_pieces.begin(), m_pieces.end(), [](const velBSPPiece& p) { return p.whole; });
    const bool open_end = std::any_of(m_pieces.begin(), m_pieces.end(), [](const velBSPPiece& p) {
        return velBSPCanonicalRules::has_true_end(p);
    });
    auto all_free = [&] {
        for (int i = 0; i < num_pieces(); ++i)
            if (!certainly_free(i)) return false;
        return true;
    };
    // 5. Several pieces.
    if (num_pieces() > 1) {
        // No open end, every piece of at most two spans (three different points), at most one of them of two.
        if (!open_end && num_with_num_different_points(4) == 0 && num_with_num_different_points(3) <= 1) {
            if (any_whole) return 0;
            skip_crossings = 0;
            return all_free();
        }
        if (!run.all_closed() && open_end) {
            if (!narrow) return 0;
            return 1; // nothing computed so close to an open end
        }
        if (!any_whole && velBSPCanonicalRules::interior_vertex_test(node)) {
            skip_crossings = 0;
            return all_free() && !velBSPCanonicalRules::vertex_near_other_piece(node, velTol::span_fraction);
        }
        return 0;
    }
    // 6. One piece.
    return certainly_free(0);
}

int velIntersectorBSPNode::calculate_crossings(int forced) const {
    int count = 0;
    const int value = velBSPLeafCrossings::calculate_crossings(node_data(), forced, count);
    m_crossing_count = count;
    return value;
}

int velIntersectorBSPNode::find_crossing(int a, int b, velCrossing& out) const {
    return velBSPLeafCrossings::find_crossing(node_data(), a, b, out);
}

int velIntersectorBSPNode::multiple_crossings(int a, int b) const {
    return velBSPLeafCrossings::multiple_crossings(node_data(), a, b);
}

int velIntersectorBSPNode::ok_to_be_degenerate() const {
    return velBSPCanonicalRules::ok_to_be_degenerate(node_data());
}

int velIntersectorBSPNode::certainly_free(int piece) const {
    return velBSPCanonicalRules::certainly_free(node_data(), m_pieces[static_cast<std::size_t>(piece)]);
}

int velIntersectorBSPNode::num_with_num_different_points(int n) const {
    int count = 0;
    const int last_count = n;
    for (const velBSPPiece& p : m_pieces) {
        // A piece of s spans has at most s + 1 different positions.
        if (velBSPPieceSplitter::num_spans(*m_run, p) + 1 < last_count) continue;
        // Positions of the piece: its start, the vertices inside it, its end; coincident neighbours once.
        int different = 1;
        giPoint2 prev = p.p0;
        velBSPPieceSplitter::for_each_span(*m_run, p, [&](int k, double, double u1) {
            const giPoint2 next = u1 < 1.0 ? p.p1 : m_run->point(p.poly, k + 1);
            if (!(next == prev)) ++different;
            prev = next;
            return different <= n;
        });
        count += different >= n;
    }
    return count;
}

std::shared_ptr<velTrimmedPolylineListIter> velIntersectorBSPNode::pieces() const {
    auto view = std::make_shared<velTrimmedPolylineListIter>();
    velPolylineBSPTrimmerHelper::write_pieces(m_pieces, m_run->list(), *view);
    return view;
}

namespace {
void write_flag(std::ostream& os, int flag) {
    static const char* const sides[] = {"top", "left", "bottom", "right"};
    if (flag >= velDirectionTop && flag <= velDirectionRight)
        os << sides[flag];
    else
        os << "end";
}
} // namespace

std::ostream& operator<<(std::ostream& os, const velIntersectorBSPNode& node) {
    os << "velIntersectorBSPNode {\n";
    os << "limits " << node.limits() << '\n';
    if (node.flat_pieces().empty()) os << "no polyline\n";
    for (const velBSPPiece& p : node.flat_pieces()) {
        os << "polyline " << p.poly << " from " << p.t0 << " to " << p.t1;
        if (p.whole) os << " whole";
        if (p.wraps) os << " across the closing point";
        if (!p.whole) {
            os << " flags ";
            write_flag(os, p.start_flag);
            os << ' ';
            write_flag(os, p.end_flag);
        }
        os << '\n';
    }
    return os << "}\n";
}

utOstream& operator<<(utOstream& os, const velIntersectorBSPNode& node) {
    os.stream() << node;
    return os;
}

void velIntersectorBSPNode::determine_visibility(const giPoint3& P, int count, const velSegmentMap* segments,
                                                 const velVisibilityCalculator& calculator, int flags,
                                                 int destructive, int level, velVisibilityResult& result,
                                                 velBoundaryNesting* nesting) {
    if (result.results_complete() || m_pieces.empty()) return;
    if (m_canonical > 0) reset_canonical();
    // The canonical form is computed when first asked for: a node whose fragments decide everything it
    // holds needs it neither for its closed pieces nor for dividing. In a visibility query (no crossings
    // computed, no direct intersection) it has no effect but its cached value, so when it is computed
    // changes nothing; otherwise it is computed first, as it records crossings on the way.
    if (m_data->intersections() || !m_data->visibility_test()) canonical_form(level);
    auto canonical = [&] { return canonical_form(level); };
    bool divide = false, stop_here = false;
    const velBoundarySorterFragments frags = velBSPVisibility::decide(
        node_data(), canonical, P, count, segments, calculator, flags, result, nesting, divide, stop_here);
    if (nesting && frags.num_fragments() > 0) {
        // Every boundary met here goes into the tree, walking round the node from P.
        const std::vector<int> at_p = nesting->get_position();
        frags.find_nesting(*nesting);
        nesting->set_position(at_p);
    }
    if (stop_here || !divide || canonical()) return;
    if (!contains_children()) {
        if (level >= max_level || degenerate()) return;
        subdivide(subdivision_centre());
    }
    const std::vector<int> saved = nesting ? nesting->get_position() : std::vector<int>();
    for (int i = 0; i < 4; ++i) {
        const giPoint3 Q = velBSPVisibility::start_point(limits(), child(i)->limits(), i, frags);
        const int child_count = frags.visible(Q);
        if (nesting) {
            nesting->set_position(saved);
            frags.find_nesting(Q, *nesting);
        }
        child(i)->determine_visibility(Q, child_count, segments, calculator, flags, destructive, level + 1,
                                       result, nesting);
        if (destructive) delete_child(i);
        if (result.results_complete()) break;
    }
    if (nesting) nesting->set_position(saved);
}
