#pragma once
// The zones of a whole list: the span boxes of the list cached once (velPolyarcline2dBoxCache in the plane,
// velPolyarcline3dBoxCache in space) and one zone tree per polyline (velPolylineZoneNode<D>), all over the
// same root box, so that the spans near a point or a box are found polyline by polyline without scanning
// the list.
//
// Making: the constructor caches the boxes and makes every polyline's root (init_zones); the limits are the
// box given, or the cache's total box. complete_subdivision() then divides every tree down to zones of the
// minimum width (with the division rule of velPolylineZoneNode). Queries on trees not yet divided answer
// the same spans a leaf would hold, only more of them.
//
// Queries answer supersets of the spans truly near (see velPolylineZoneNode) and never miss a span that
// reaches into the limits; spans outside the limits are not seen. Indices are the list protocol's:
// polyline i from 0, span j from position j to j + 1.
//
// The list is read while making the zones (through clones: the iterator given does not move); each tree
// keeps a clone positioned on its polyline. The list must not change while the zones are used.

#include "arcline/intersect/velGiDimensionalTypes.h"
#include "arcline/intersect/velPolylineZoneNode.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/coDynArr.h"

#include <memory>
#include <vector>

template <int D>
class velPolylineListZoneNode {
public:
    using Types = velGiDimensionalTypes<D>;
    using Point = typename Types::Point;
    using Box = typename Types::Box;
    using BoxCache = typename Types::BoxCache;

    // The zones of `iter`'s list over its total box, with zones down to `width`.
    velPolylineListZoneNode(const velPolylineListIter& iter, double width);
    // The same over `box`.
    velPolylineListZoneNode(const Box& box, const velPolylineListIter& iter, double width);
    velPolylineListZoneNode(const velPolylineListZoneNode&) = delete;
    velPolylineListZoneNode& operator=(const velPolylineListZoneNode&) = delete;

    // Divides every polyline's tree; returns the number of nodes made.
    int complete_subdivision();

    // result[i] becomes the spans of polyline i listed in a leaf that crosses `box`, ascending and each once
    // (one entry per polyline); a polyline whose box misses `box` gets none. Returns the total count.
    int spans_near_box(const Box& box, std::vector<std::vector<int>>& result) const;
    // result[i] becomes the span array of polyline i's leaf containing `p`, or null when that leaf has none
    // or p lies outside limits() (one entry per polyline; the arrays belong to the trees). Returns the total
    // count.
    int spans_near_point(const Point& p, std::vector<const intcoDynArr*>& result) const;

    // Polyline i's tree.
    const velPolylineZoneNode<D>& individual_polyline_zones(int i) const;
    velPolylineZoneNode<D>& individual_polyline_zones(int i);
    int size() const { return static_cast<int>(m_zones.size()); }
    const Box& limits() const { return m_limits; }
    double get_min_width() const { return m_width; }
    // The span boxes of the list.
    const BoxCache& box_cache() const { return m_cache; }
    // Nodes in all the trees.
    int num_nodes() const;

private:
    void init_zones(const velPolylineListIter& iter, const Box* box);

    BoxCache m_cache;
    std::vector<std::unique_ptr<velPolylineZoneNode<D>>> m_zones;
    Box m_limits;
    double m_width;
};

extern template class velPolylineListZoneNode<2>;
extern template class velPolylineListZoneNode<3>;
