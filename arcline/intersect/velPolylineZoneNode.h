#pragma once
// The zones of one polyline of a list: a quadtree (D = 2, in XY) or octree (D = 3) over a box whose leaves
// hold the indices of the spans of that polyline that reach into them, so that the spans near a point or a
// box are found without scanning the polyline. Spans are numbered as the list protocol numbers them: span j
// runs from position j to j + 1.
//
// A span is listed in a zone unless it certainly misses it (outside). It may reach in: a straight span when
// its segment, clipped to the zone's closed box, is not empty; any other span when its box (from the box
// cache when there is one, else from the iterator) crosses the zone's box. The zone's box is grown by a
// rounding margin for both tests, so a span that touches a zone is never lost to rounding. The queries
// therefore answer supersets of the spans truly near, never missing one.
//
// Division (canonical_form): a node is final without spans, or when its zone area (width times height in
// the plane; the two largest extents in space) is at most the zone length squared; the root is divided
// otherwise. Any other node that kept at least 90 % of its parent's spans is final, unless it holds more
// than a few spans (few_spans) and at least a tenth of them are short (their boxes' largest extent below
// half the node's): long spans that cross many zones do not drive the depth, while a stretch of short
// spans that happens to cut one corner of a node, so that the child at that corner keeps all of them, is
// still divided. (Without that exception, zones near a dense curve held up to thirteen times the spans of
// their neighbours.) The root is made undivided; complete_subdivision(0) divides the whole tree.
//
// The root box: the box given, except that an extent thinner than thin_extent_ratio times the largest one
// (a flat list in space, a list of one horizontal line in the plane) is widened by the largest extent, a
// third below and two thirds above, so that the tree can divide at all and the geometry does not lie on
// the first split. limits() of the root is that widened box. Spans that do not reach into the root box are
// not listed anywhere.
//
// The root reads the polyline once (its positions, which spans are straight, and its span boxes when there
// is no box cache) into arrays that the whole tree shares; the iterator is not read while dividing. It
// keeps a shared pointer to an iterator positioned on the polyline (a clone of the one given, or the one
// given) for callers that evaluate the spans found. The box cache, when given, is not owned and must
// outlive the tree; it must hold the boxes of the same list (polyline polyline_index()).

#include "arcline/intersect/velGiDimensionalTypes.h"
#include "arcline/intersect/velZoneNode2.h"
#include "arcline/intersect/velZoneNode3.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/coDynArr.h"

#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

template <int D>
class velPolylineZoneNode : public std::conditional_t<D == 2, velZoneNode2, velZoneNode3> {
public:
    using Types = velGiDimensionalTypes<D>;
    using Point = typename Types::Point;
    using Box = typename Types::Box;
    using BoxCache = typename Types::BoxCache;
    using ZoneNode = std::conditional_t<D == 2, velZoneNode2, velZoneNode3>;

    // Zone boxes are grown by this share of their largest coordinate (in size) before a span is tested
    // against them: a span that touches a zone stays listed in it after rounding.
    static constexpr double rounding_margin = 64.0 * std::numeric_limits<double>::epsilon();
    // A root extent thinner than this share of the largest extent is widened (see above).
    static constexpr double thin_extent_ratio = 1e-6;
    // A node that kept 90 % of its parent's spans is still divided when it holds more than few_spans and
    // at least short_ratio of them are short.
    static constexpr double short_ratio = 0.1;
    static constexpr int few_spans = 4;

    // The root over the current polyline of `iter` (a clone is kept) in `box`, dividing down to zones of
    // `zone_length`. `cache`, when given, holds the span boxes of iter's list.
    velPolylineZoneNode(const velPolylineListIter& iter, const Box& box, double zone_length,
                        const BoxCache* cache = nullptr);
    // The same over an iterator already positioned on the polyline, which the tree shares.
    velPolylineZoneNode(std::shared_ptr<const velPolylineListIter> iter, const Box& box, double zone_length,
                        const BoxCache* cache = nullptr);

    int canonical_form(int level) const override;
    double min_zone_length() const override;
    double max_zone_length() const override;
    int outside(const Box& box, int span) const override;
    std::unique_ptr<ZoneNode> new_node(const Box& box, std::unique_ptr<intcoDynArr> items, ZoneNode* parent,
                                       int quadrant) const override;

    // The spans of the leaf containing `p`; null when that leaf has none or p lies outside limits().
    const intcoDynArr* spans(const Point& p) const;
    // Every span listed in this node or below it, ascending, each once (for the root: every span reaching
    // into the root box).
    void all_spans(std::vector<int>& out) const;
    // Appends to `out`, ascending and each once, the spans of every leaf whose box crosses `box`; nothing
    // when `box` does not cross limits().
    void spans_near_box(const Box& box, std::vector<int>& out) const;
    // spans_near_box of the point's box grown by `distance` on every side: a superset of the spans that
    // come within `distance` of `p`.
    void spans_in_zones_within_distance_of_point(const Point& p, double distance,
                                                 std::vector<int>& out) const;

    // The root box for a box given (see above).
    static Box root_box(const Box& box);

    // An iterator positioned on the polyline.
    const velPolylineListIter& iterator() const;
    int polyline_index() const;
    const BoxCache* box_cache() const;
    double zone_length() const;
    // The polyline's positions and spans as read by the root.
    int num_pos() const;
    int num_spans() const;
    // Span j's box: the box cache's, or the one read from the iterator.
    const Box& span_box(int j) const;

    velPolylineZoneNode* child(int i) const { return static_cast<velPolylineZoneNode*>(ZoneNode::child(i)); }
    velPolylineZoneNode* parent() const { return static_cast<velPolylineZoneNode*>(ZoneNode::parent()); }

private:
    struct Shared;

    velPolylineZoneNode(const Box& box, std::unique_ptr<intcoDynArr> items, velPolylineZoneNode* parent,
                        int quadrant, std::shared_ptr<const Shared> shared,
                        std::shared_ptr<std::vector<int>> scratch);
    void init_root(std::shared_ptr<const velPolylineListIter> iter, double zone_length,
                   const BoxCache* cache);
    // The root's items: the spans that reach into its box.
    std::unique_ptr<intcoDynArr> new_grandparent_array() const;
    static double largest_extent(const Box& box);

    std::shared_ptr<const Shared> m_shared;
};

extern template class velPolylineZoneNode<2>;
extern template class velPolylineZoneNode<3>;
